// What the library benchmarks share: a full library (1001 materials in ten categories,
// every addressable slot set) held in memory, and a user who answers every question
// and never saves.
#pragma once

#include <memory>
#include <string>

#include "data/DecimalSeparator.h"
#include "data/LibraryFileSystem.h"
#include "data/library/LibraryPrompts.h"
#include "data/library/LibraryWindow.h"
#include "units/registry/SettingsStore.h"

namespace material::bench {

inline constexpr const char* kPath = "/bench/full.lib";

// Opens kPath; answers the save question with No and every other question with Yes.
class QuietPrompts : public LibraryPrompts {
  public:
    MessageAnswer Message(const std::string&, MessageButtons buttons, MessageIcon) override;
    std::optional<std::string> OpenFile(const FileDialogRequest&) override { return kPath; }
    std::optional<std::string> SaveFile(const FileDialogRequest&) override { return {}; }
};

// A library window that shows nothing.
class QuietWindow : public LibraryWindow {
  public:
    void Show(const std::string&) override {}
    void SetCaption(const std::string&) override {}
    void Close() override {}
    void ShowTree() override {}
    void LoadTreeImage(std::string_view, std::string_view) override {}
    void ClearTreeImages() override {}
    void SetPanelTexts(const std::string&, const std::string&, const std::string&) override {}
    void ShowValuePanel(bool) override {}
    void HidePanelCommands() override {}
    void SetPanelUnitTables(const std::array<PanelLabelRow, kPanelRowCount>&,
                            const std::array<double, kPanelFactorCount>&,
                            const std::array<double, kPanelFactorCount>&) override {}
    void FillUnitList(const std::vector<std::string>&) override {}
    void FillTypeList(const std::vector<std::string>&) override {}
    int UnitListPosition() const override { return 1; }
    int TypeListPosition() const override { return 0; }
    void SelectUnitListPosition(int) override {}
    std::string ShownUnitSystem() const override { return "SI"; }
    void RefreshUnitDisplay() override {}
    void EndGridEdit() override {}
    void ShowMaterialAgain() override {}
    void NodeClick(const std::string&) override {}
    void ShowEditState(bool, bool, bool) override {}
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

// Bytes in use on the heap; zero where the C library cannot tell.
long long HeapBytesInUse();

}  // namespace material::bench
