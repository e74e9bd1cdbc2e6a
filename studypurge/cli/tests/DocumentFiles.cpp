// The platform-neutral half of the test documents: listing through the purge's own
// storage interface, plain file access and scratch folders.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "CleanDocument.h"
#include "DocumentFiles.h"
#include "PurgeDocument.h"
#include "Storage.h"

namespace clitest {
namespace {

namespace fs = std::filesystem;

fs::path toPath(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

void walk(purge::Storage& storage, const std::string& prefix, std::vector<std::string>& out) {
    const auto elements = storage.elements();
    if (!elements) {
        return;
    }
    for (const auto& e : *elements) {
        const std::string name = prefix + purge::Utf16ToUtf8(e.name);
        if (e.type == purge::ElementType::Stream) {
            out.push_back("F " + name + " " + std::to_string(e.size));
        } else if (auto child = storage.openStorage(e.name)) {
            out.push_back("S " + name);
            walk(*child, name + "/", out);
        }
    }
}

}  // namespace

std::vector<std::string> listDocument(const std::string& path) {
    purge::OpenFailure failure;
    auto root = purge::platformStorageSystem().open(path, purge::AccessMode::ReadOnly, failure);
    std::vector<std::string> out;
    if (root) {
        walk(*root, "", out);
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::uint8_t> readBytes(const std::string& path) {
    std::ifstream in(toPath(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(toPath(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

void makeReadOnly(const std::string& path) {
    fs::permissions(toPath(path),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

void makeFolder(const std::string& path) {
    fs::create_directories(toPath(path));
}

ScratchFolder::ScratchFolder() {
    std::random_device random;
    const fs::path base =
        fs::temp_directory_path() / ("studypurge-cli-" + std::to_string(random()));
    fs::create_directories(base);
    const std::u8string text = base.generic_u8string();
    root_ = std::string(text.begin(), text.end());
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    // Read-only files must be writable again before Windows lets them go.
    for (const auto& entry : fs::recursive_directory_iterator(toPath(root_), ignored)) {
        fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ignored);
    }
    fs::remove_all(toPath(root_), ignored);
}

}  // namespace clitest
