// What the library benchmarks share: a full library (1001 materials in ten categories,
// every addressable slot set) held in memory, and a user who answers every question
// and never saves.
#pragma once

#include <memory>
#include <string>

#include "data/DecimalSeparator.h"
#include "data/LibraryFileSystem.h"
#include "data/library/LibraryController.h"
#include "data/library/LibraryPrompts.h"
#include "data/library/QuietLibraryWindow.h"
#include "units/registry/SettingsStore.h"
#include "units/registry/clsRegistry.h"

namespace material::bench {

inline constexpr const char* kPath = "/bench/full.lib";

// Opens kPath; answers the save question with No and every other question with Yes.
class QuietPrompts : public LibraryPrompts {
  public:
    MessageAnswer Message(const std::string&, MessageButtons buttons, MessageIcon) override;
    std::optional<std::string> OpenFile(const FileDialogRequest&) override { return kPath; }
    std::optional<std::string> SaveFile(const FileDialogRequest&) override { return {}; }
};

// A library window that shows nothing, its units SI.
class QuietWindow : public QuietLibraryWindow {
  public:
    QuietWindow() : QuietLibraryWindow(1) {}
};

// Holds the one library text in memory; writes fail.
class OneFile : public LibraryFileSystem {
  public:
    explicit OneFile(std::string text) : text_(std::move(text)) {}
    bool ReadAll(const std::string&, std::string& bytes, FileError&) override;
    std::unique_ptr<OutputFile> CreateTemporaryBeside(const std::string&, std::string&,
                                                      FileError&) override {
        return nullptr;
    }
    bool Replace(const std::string&, const std::string&, FileError&) override { return false; }
    void Remove(const std::string&) override {}

  private:
    std::string text_;
};

class NoSettings : public SettingsStore {
  public:
    std::unique_ptr<SettingsKey> openKey(const std::string&) override { return nullptr; }
    std::unique_ptr<SettingsKey> createKey(const std::string&) override { return nullptr; }
};

class PointSeparator : public DecimalSeparatorSource {
  public:
    std::string ReadDecimalSeparator() const override { return "."; }
};

// 1001 materials named "Material number <n>" in ten categories, every addressable slot
// set.
std::string FullLibraryText();

// The library operations over the full library, with quiet services and no window.
struct QuietLibrary {
    QuietPrompts prompts;
    QuietWindow window;
    OneFile files{FullLibraryText()};
    PointSeparator separator;
    clsRegistry settings{std::make_unique<NoSettings>()};
    LibraryController library{{prompts, window, files, separator, settings, {}}};
};

// Bytes in use on the heap; zero where the C library cannot tell.
long long HeapBytesInUse();

}  // namespace material::bench
