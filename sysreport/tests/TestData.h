// Locating and reading the test fixtures; paths are UTF-8 on both legs.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

#include "FilePaths.h"

namespace sysreport::testing {

inline std::string testDataPath(const std::string& relative) {
#ifdef _WIN32
    // Under Wine the Unix root is drive Z:.
    return std::string("Z:") + SYSREPORT_TEST_DATA + "/" + relative;
#else
    return std::string(SYSREPORT_TEST_DATA) + "/" + relative;
#endif
}

inline std::string readBytes(const std::string& path) {
    std::ifstream file(pathFromUtf8(path), std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream file(pathFromUtf8(path), std::ios::binary | std::ios::trunc);
    file << bytes;
}

}  // namespace sysreport::testing
