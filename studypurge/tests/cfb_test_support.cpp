#include "cfb_test_support.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace cfbtest {

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "cfbtest-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (const auto& e : fs::recursive_directory_iterator(path_, ignored)) {
        fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(path_, ignored);
}

std::vector<std::uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

void patch16(const std::string& path, std::uint64_t offset, std::uint16_t value) {
    auto bytes = readBytes(path);
    bytes.at(offset) = static_cast<std::uint8_t>(value);
    bytes.at(offset + 1) = static_cast<std::uint8_t>(value >> 8);
    writeBytes(path, bytes);
}

std::vector<std::uint8_t> bytesOf(const Node& node) {
    if (!node.generatedSize) {
        return node.data;
    }
    std::vector<std::uint8_t> data(node.generatedSize);
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = generatedByte(node.seed, i);
    }
    return data;
}

void patch32(const std::string& path, std::uint64_t offset, std::uint32_t value) {
    auto bytes = readBytes(path);
    for (int i = 0; i < 4; ++i) {
        bytes.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
    }
    writeBytes(path, bytes);
}

void patch64(const std::string& path, std::uint64_t offset, std::uint64_t value) {
    patch32(path, offset, static_cast<std::uint32_t>(value));
    patch32(path, offset + 4, static_cast<std::uint32_t>(value >> 32));
}

bool contains(const std::vector<std::uint8_t>& haystack, const std::vector<std::uint8_t>& needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) !=
           haystack.end();
}

int run(const std::string& command, std::string& output) {
    output.clear();
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        return -1;
    }
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        output.append(buffer.data(), n);
    }
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::uint32_t crc32(const std::vector<std::uint8_t>& data) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::uint8_t byte : data) {
        crc ^= byte;
        for (int k = 0; k < 8; ++k) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
        }
    }
    return ~crc;
}

std::vector<std::uint8_t> payload(const std::string& path, std::size_t size) {
    const std::string unit = "<" + path + ">";
    std::vector<std::uint8_t> out(size);
    for (std::size_t i = 0; i < size; ++i) {
        out[i] = static_cast<std::uint8_t>(unit[i % unit.size()]);
    }
    return out;
}

std::u16string widen(const std::string& text) {
    return {text.begin(), text.end()};
}

std::string narrow(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) {
        out += static_cast<char>(c);
    }
    return out;
}

namespace {

std::string hex8(std::uint32_t value) {
    char buffer[9];
    std::snprintf(buffer, sizeof buffer, "%08X", value);
    return buffer;
}

std::string sortedLines(std::vector<std::string> lines) {
    std::sort(lines.begin(), lines.end());
    std::string out;
    for (const auto& line : lines) {
        out += line + "\n";
    }
    return out;
}

void collectExpected(const Node& node, const std::string& prefix, std::vector<std::string>& lines) {
    for (const Node& child : node.children) {
        const std::string path = prefix + narrow(child.name);
        if (child.storage) {
            lines.push_back("S " + path);
            collectExpected(child, path + "/", lines);
        } else {
            const std::vector<std::uint8_t> data = bytesOf(child);
            lines.push_back("F " + path + " " + std::to_string(data.size()) + " " +
                            hex8(crc32(data)));
        }
    }
}

bool writeTree(const Node& node, const fs::path& folder) {
    for (const Node& child : node.children) {
        const fs::path target = folder / narrow(child.name);
        if (child.storage) {
            fs::create_directories(target);
            if (!writeTree(child, target)) {
                return false;
            }
        } else {
            writeBytes(target.string(), bytesOf(child));
        }
    }
    return true;
}

}  // namespace

bool makeWithGsf(const Node& root, const std::string& folder, const std::string& out) {
    fs::create_directories(folder);
    if (!writeTree(root, folder)) {
        return false;
    }
    std::string command = "cd '" + folder + "' && gsf createole '" + out + "'";
    for (const Node& child : root.children) {
        command += " '" + narrow(child.name) + "'";
    }
    std::string output;
    return run(command + " >/dev/null 2>&1", output) == 0;
}

std::string expectedListing(const Node& root) {
    std::vector<std::string> lines;
    collectExpected(root, "", lines);
    return sortedLines(lines);
}

std::string ownListing(const std::string& path, std::string& error) {
    auto file = cfb::CompoundFile::open(path, error);
    if (!file) {
        return "";
    }
    std::vector<std::string> lines;
    std::function<bool(std::uint32_t, const std::string&)> walk = [&](std::uint32_t storage,
                                                                      const std::string& prefix) {
        for (const auto& child : file->children(storage)) {
            const std::string name = prefix + narrow(child.name);
            if (child.type == cfb::EntryType::Stream) {
                std::vector<std::uint8_t> data;
                if (!file->readStream(child.id, data, error)) {
                    return false;
                }
                lines.push_back("F " + name + " " + std::to_string(data.size()) + " " +
                                hex8(crc32(data)));
            } else {
                lines.push_back("S " + name);
                if (!walk(child.id, name + "/")) {
                    return false;
                }
            }
        }
        return true;
    };
    return walk(cfb::CompoundFile::kRootId, "") ? sortedLines(lines) : "";
}

std::string oleFileListing(const std::string& path) {
    std::string output;
    const int status =
        run("/usr/bin/python3 '" CFB_FIXTURES_DIR "/olelist.py' '" + path + "'", output);
    return status == 0 ? output : "";
}

std::string gsfListing(const std::string& path) {
    std::string output;
    if (run("gsf list '" + path + "' 2>/dev/null", output) != 0) {
        return "";
    }
    std::vector<std::string> lines;
    std::istringstream in(output);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::vector<std::string> tokens;
        std::string token;
        while (fields >> token) {
            tokens.push_back(token);
        }
        if (tokens.size() < 3 || tokens.back() == "*root*") {
            continue;
        }
        if (tokens[0] == "d") {
            lines.push_back("S " + tokens.back());
        } else if (tokens[0] == "f") {
            lines.push_back("F " + tokens.back() + " " + tokens[tokens.size() - 2]);
        }
    }
    return sortedLines(lines);
}

std::string withoutChecksums(const std::string& listing) {
    std::vector<std::string> lines;
    std::istringstream in(listing);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("F ", 0) == 0) {
            line = line.substr(0, line.rfind(' '));
        }
        lines.push_back(line);
    }
    return sortedLines(lines);
}

Node without(const Node& root, const std::vector<std::string>& paths) {
    std::function<Node(const Node&, const std::string&)> copy = [&](const Node& node,
                                                                    const std::string& prefix) {
        Node out = node;
        out.children.clear();
        for (const Node& child : node.children) {
            const std::string path = prefix + narrow(child.name);
            if (std::find(paths.begin(), paths.end(), path) == paths.end()) {
                out.children.push_back(copy(child, path + "/"));
            }
        }
        return out;
    };
    return copy(root, "");
}

}  // namespace cfbtest
