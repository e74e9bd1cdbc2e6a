// Writes arbitrary bytes to a file named like a workbook and opens it with the library
// operations' Open command, so that the bytes go through the platform's workbook
// reader (FreeXL included), the sheet's row rules and the filling of the library, as
// a workbook chosen in the open dialog does. The user's answers are scripted: the
// scratch file is chosen once, every message is acknowledged, then the dialog is
// cancelled.
#include <pthread.h>
#include <sanitizer/common_interface_defs.h>
#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "data/library/LibraryController.h"
#include "data/library/QuietLibraryWindow.h"

namespace {

using namespace material;

// A memory-backed folder when there is one; the name ends in "xls" so that the Open
// command reads the file as a workbook.
std::string scratchPath() {
    const char* folder = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(folder) + "/workbook_open_fuzzer_" + std::to_string(::getpid()) + ".xls";
}

void writeScratch(const std::string& path, const std::uint8_t* data, std::size_t size) {
    ::unlink(path.c_str());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

class ChooseOnce final : public LibraryPrompts {
  public:
    explicit ChooseOnce(std::string path) : path_(std::move(path)) {}

    MessageAnswer Message(const std::string&, MessageButtons, MessageIcon) override {
        return MessageAnswer::Ok;
    }
    std::optional<std::string> OpenFile(const FileDialogRequest&) override {
        return std::exchange(chosen_, true) ? std::nullopt : std::optional(path_);
    }
    // Opening a workbook never saves; a request to would be a fault worth a crash.
    std::optional<std::string> SaveFile(const FileDialogRequest&) override { std::abort(); }

  private:
    std::string path_;
    bool chosen_ = false;
};

// Opening never writes library files.
class NoFiles final : public LibraryFileSystem {
  public:
    bool ReadAll(const std::string&, std::string&, FileError&) override { std::abort(); }
    std::unique_ptr<OutputFile> CreateTemporaryBeside(const std::string&, std::string&,
                                                      FileError&) override {
        std::abort();
    }
    bool Replace(const std::string&, const std::string&, FileError&) override { std::abort(); }
    void Remove(const std::string&) override { std::abort(); }
};

class Dot final : public DecimalSeparatorSource {
  public:
    std::string ReadDecimalSeparator() const override { return "."; }
};

// The user's settings stay untouched: every key is missing and cannot be made.
class NoSettings final : public SettingsStore {
  public:
    std::unique_ptr<SettingsKey> openKey(const std::string&) override { return nullptr; }
    std::unique_ptr<SettingsKey> createKey(const std::string&) override { return nullptr; }
};

// The workbook is read in a child process, where the reader's faults are expected and
// survived: the child ends and the parent reports a file that is not a workbook. The
// child inherits the fuzzer's death handling, which would save each such input as a
// crash of the fuzzer; clearing it in the child keeps the saved crashes to real ones.
void leaveChildDeathsToTheParent() {
    ::pthread_atfork(nullptr, nullptr, [] { __sanitizer_set_death_callback(nullptr); });
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    leaveChildDeathsToTheParent();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = [] {
        std::atexit([] { ::unlink(scratchPath().c_str()); });
        return scratchPath();
    }();
    writeScratch(path, data, size);

    ChooseOnce prompts(path);
    QuietLibraryWindow window(0);  // IPS
    NoFiles files;
    Dot separator;
    clsRegistry settings(std::make_unique<NoSettings>());
    LibraryController library(
        {prompts, window, files, separator, settings, PlatformWorkbookReader()});
    library.OpenLibrary();
    // Every imported material has its entry.
    if (library.IsOpen() &&
        library.Content().entries.size() != library.Content().materials.size()) {
        std::abort();
    }
    return 0;
}
