// Locating and reading the test fixtures; paths are UTF-8 on both legs.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

#include "FilePaths.h"

namespace sysreport::testing {

// SYSREPORT_TEST_DATA is the fixture folder as this platform spells it (under
// Wine, the Unix root is drive Z:).
inline std::string testDataPath(const std::string& relative) {
    return std::string(SYSREPORT_TEST_DATA) + "/" + relative;
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
