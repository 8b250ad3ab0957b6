// Plays Option for the tests that only need to know that it was started.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string log = path;
    log = log.substr(0, log.find_last_of('\\') + 1) + "option_started.log";
    if (FILE* file = std::fopen(log.c_str(), "a")) {
        std::fprintf(file, "started [%s]\n", commandLine != nullptr ? commandLine : "");
        std::fclose(file);
    }
    return 0;
}
