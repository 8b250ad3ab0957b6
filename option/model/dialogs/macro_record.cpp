#include "option/model/dialogs/macro_record.h"

#include <cctype>
#include <cstring>

#include "common/utf8_text.h"

namespace option {
namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
}  // namespace

std::string TrimBlanks(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

void CopyName(char* field, std::size_t size, const std::string& name) {
    if (size == 0)
        return;
    const std::size_t n = text::Utf8FitLength(name, size - 1);
    std::memset(field, 0, size);
    std::memcpy(field, name.data(), n);
}

std::string NameOf(const char* field, std::size_t size) {
    std::size_t n = 0;
    while (n < size && field[n] != '\0') ++n;
    return std::string(field, n);
}

}  // namespace option
