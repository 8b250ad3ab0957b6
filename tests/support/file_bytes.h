// The whole of a file, byte for byte; empty when it cannot be read.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace testsupport {

inline std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace testsupport
