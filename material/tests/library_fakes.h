#pragma once
// Scripted stand-ins for the user, the library window, the disk and the settings store
// of the library operations.

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/DecimalSeparator.h"
#include "data/LibraryFileSystem.h"
#include "data/library/LibraryPrompts.h"
#include "data/library/LibraryWindow.h"
#include "scripted_prompts.h"
#include "units/registry/SettingsStore.h"

namespace material::testing {

// The scripted user of the GoogleTest programs.
class ScriptedPrompts final : public ScriptedPromptsBase {
  protected:
    void Unexpected(const std::string& what) override { ADD_FAILURE() << what; }
};

// Records what the operations ask of the window.
class FakeWindow : public LibraryWindow {
  public:
    bool shown = false;
    int closes = 0;
    std::string caption;
    bool treeShown = false;
    std::map<std::string, std::string> images;  // key -> resource
    std::vector<std::string> panelTexts = {"", "", ""};
    bool valuePanelShown = false;
    int panelCommandHides = 0;
    bool panelTablesFilled = false;
    std::vector<std::string> unitList;
    std::vector<std::string> typeList;
    int unitPosition = 1;
    int typePosition = 0;
    std::string shownSystem = "SI";
    int unitDisplayRefreshes = 0;
    int gridEditsEnded = 0;
    int materialReshows = 0;
    std::vector<std::string> nodeClicks;

    void Show(const std::string& c) override {
        shown = true;
        caption = c;
    }
    void SetCaption(const std::string& c) override { caption = c; }
    void Close() override {
        shown = false;
        treeShown = false;
        ++closes;
    }
    void ShowTree() override { treeShown = true; }
    void LoadTreeImage(std::string_view key, std::string_view resource) override {
        images[std::string(key)] = resource;
    }
    void ClearTreeImages() override { images.clear(); }
    void SetPanelTexts(const std::string& category, const std::string& name,
                       const std::string& description) override {
        panelTexts = {category, name, description};
    }
    void ShowValuePanel(bool s) override { valuePanelShown = s; }
    void HidePanelCommands() override { ++panelCommandHides; }
    void SetPanelUnitTables(const std::array<PanelLabelRow, kPanelRowCount>&,
                            const std::array<double, kPanelFactorCount>&,
                            const std::array<double, kPanelFactorCount>&) override {
        panelTablesFilled = true;
    }
    void FillUnitList(const std::vector<std::string>& texts) override { unitList = texts; }
    void FillTypeList(const std::vector<std::string>& texts) override { typeList = texts; }
    int UnitListPosition() const override { return unitPosition; }
    int TypeListPosition() const override { return typePosition; }
    void SelectUnitListPosition(int position) override { unitPosition = position; }
    std::string ShownUnitSystem() const override { return shownSystem; }
    void RefreshUnitDisplay() override { ++unitDisplayRefreshes; }
    void EndGridEdit() override { ++gridEditsEnded; }
    void ShowMaterialAgain() override { ++materialReshows; }
    void NodeClick(const std::string& key) override { nodeClicks.push_back(key); }
    bool modified = false;
    bool canUndo = false;
    bool canRedo = false;
    void ShowEditState(bool m, bool u, bool r) override {
        modified = m;
        canUndo = u;
        canRedo = r;
    }
};

// Files kept in memory; the next `failingWrites` writes fail as if write-protected.
class MemoryFiles : public LibraryFileSystem {
  public:
    std::map<std::string, std::string> files;
    int failingWrites = 0;
    int writeAttempts = 0;
    std::vector<std::string> reads;

    bool ReadAll(const std::string& path, std::string& bytes, FileError& error) override {
        reads.push_back(path);
        const auto it = files.find(path);
        if (it == files.end()) {
            error = {FileErrorKind::PathNotFound, "no such file"};
            return false;
        }
        bytes = it->second;
        return true;
    }
    std::unique_ptr<OutputFile> CreateTemporaryBeside(const std::string& target,
                                                      std::string& tempPath,
                                                      FileError& error) override {
        ++writeAttempts;
        if (failingWrites > 0) {
            --failingWrites;
            error = {FileErrorKind::PermissionDenied, "read-only"};
            return nullptr;
        }
        tempPath = target + ".tmp";
        return std::make_unique<Output>(files[tempPath]);
    }
    bool Replace(const std::string& from, const std::string& to, FileError&) override {
        files[to] = files[from];
        files.erase(from);
        return true;
    }
    void Remove(const std::string& path) override { files.erase(path); }

  private:
    class Output : public OutputFile {
      public:
        explicit Output(std::string& target) : target_(target) { target_.clear(); }
        bool Write(std::string_view bytes, FileError&) override {
            target_ += bytes;
            return true;
        }
        bool Commit(FileError&) override { return true; }

      private:
        std::string& target_;
    };
};

class FixedSeparator : public DecimalSeparatorSource {
  public:
    std::string separator = ".";
    std::string ReadDecimalSeparator() const override { return separator; }
};

// A settings store in memory.
class MemoryStore : public SettingsStore {
  public:
    using Values = std::map<std::string, std::pair<std::uint32_t, std::vector<std::uint8_t>>>;
    std::map<std::string, Values> keys;

    std::unique_ptr<SettingsKey> openKey(const std::string& name) override {
        const auto it = keys.find(name);
        return it == keys.end() ? nullptr : std::make_unique<Key>(it->second);
    }
    std::unique_ptr<SettingsKey> createKey(const std::string& name) override {
        return std::make_unique<Key>(keys[name]);
    }

  private:
    class Key : public SettingsKey {
      public:
        explicit Key(Values& values) : values_(values) {}
        bool queryValueInfo(const std::string& name, std::uint32_t& type,
                            std::uint32_t& size) override {
            const auto it = values_.find(name);
            if (it == values_.end()) {
                return false;
            }
            type = it->second.first;
            size = static_cast<std::uint32_t>(it->second.second.size());
            return true;
        }
        bool readValue(const std::string& name, std::span<std::uint8_t> buffer,
                       std::uint32_t& size) override {
            const auto it = values_.find(name);
            if (it == values_.end() || it->second.second.size() > buffer.size()) {
                return false;
            }
            std::copy(it->second.second.begin(), it->second.second.end(), buffer.begin());
            size = static_cast<std::uint32_t>(it->second.second.size());
            return true;
        }
        bool writeValue(const std::string& name, std::uint32_t type,
                        std::span<const std::uint8_t> data) override {
            values_[name] = {type, {data.begin(), data.end()}};
            return true;
        }
        bool deleteValue(const std::string& name) override { return values_.erase(name) > 0; }

      private:
        Values& values_;
    };
};

}  // namespace material::testing
