#pragma once
// Test documents on disk, made and read through the platform's own compound-file
// implementation (ole32 on Windows, our layer and its test writer on Linux).

#include <cstdint>
#include <string>
#include <vector>

namespace clitest {

// One element: "ThirdPtyStore/Korworks/Results"; a storage when `size` is negative.
struct Item {
    std::string path;
    long long size;
};

bool writeDocument(const std::string& path, const std::vector<Item>& items, std::string& error);

// "S path" and "F path size" for every element, sorted, as the platform reads them;
// empty when the file cannot be opened.
std::vector<std::string> listDocument(const std::string& path);

std::vector<std::uint8_t> readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
void makeReadOnly(const std::string& path);
void makeFolder(const std::string& path);

// A fresh folder, removed with everything in it at the end.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    std::string path(const std::string& name) const { return root_ + "/" + name; }

  private:
    std::string root_;
};

}  // namespace clitest
