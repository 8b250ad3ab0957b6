// Replays saved fuzz inputs through a target's entry point: every file of
// every folder named on the command line, in name order. The test command
// uses it for the seed corpus and the kept crash inputs, so a fault that the
// fuzzer once found fails the ordinary build's tests if it ever comes back.
// The first folder (the corpus) must hold at least one input; the others
// may be missing or empty.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::filesystem::path> FilesIn(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        return files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s corpus-folder [more folders...]\n", argv[0]);
        return 2;
    }
    int total = 0;
    for (int i = 1; i < argc; ++i) {
        const auto files = FilesIn(argv[i]);
        if (i == 1 && files.empty()) {
            std::fprintf(stderr, "no inputs in %s\n", argv[i]);
            return 1;
        }
        for (const auto& path : files) {
            std::ifstream in(path, std::ios::binary);
            const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
            std::printf("%s (%zu bytes)\n", path.filename().c_str(), bytes.size());
            std::fflush(stdout);
            // A copy of exactly the file's size, so reading past the input is caught.
            std::vector<std::uint8_t> input(bytes.begin(), bytes.end());
            auto* data = input.empty() ? nullptr : input.data();
            LLVMFuzzerTestOneInput(data, input.size());
            ++total;
        }
    }
    std::printf("%d inputs replayed\n", total);
    return 0;
}
