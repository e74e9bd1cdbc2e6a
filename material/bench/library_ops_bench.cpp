// Library operations on a full library (1001 materials): open and fill the tree,
// delete a material, move a material to another category.

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "data/LibraryFile.h"
#include "data/library/Module1.h"

namespace material {
namespace {

constexpr const char* kPath = "/bench/full.lib";

// A user who opens kPath, answers every question with Yes and never saves.
class QuietPrompts : public LibraryPrompts {
  public:
    MessageAnswer Message(const std::string&, MessageButtons buttons, MessageIcon) override {
        return buttons == MessageButtons::YesNoCancel ? MessageAnswer::No : MessageAnswer::Yes;
    }
    std::optional<std::string> OpenFile(const FileDialogRequest&) override { return kPath; }
    std::optional<std::string> SaveFile(const FileDialogRequest&) override { return {}; }
};

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
};

// Holds the one library text in memory.
class OneFile : public LibraryFileSystem {
  public:
    explicit OneFile(std::string text) : text_(std::move(text)) {}
    bool ReadAll(const std::string&, std::string& bytes, FileError&) override {
        bytes = text_;
        return true;
    }
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

// 1001 materials in ten categories, every addressable slot set.
std::string FullLibraryText() {
    std::vector<clsMaterial> list;
    list.reserve(kLibraryCapacity);
    for (int i = 0; i < kLibraryCapacity; ++i) {
        clsMaterial& m = list.emplace_back();
        m.setMaterialType("Category " + std::to_string(i % 10) + "    ");
        m.setMaterialName("Material number " + std::to_string(i) + "  ");
        m.setMaterialDescription("A material with every property the browser knows");
        for (PropertySlot s = 0; s <= kLastValueSlot; ++s) {
            if (!clsMaterial::GetNthProperty(s).empty()) {
                m.CopyProperty(clsMaterial::GetNthProperty(s), 1.234567e3 * (s + 1) + i);
            }
        }
    }
    return FormatLibrary(list, NumberCategories(list));
}

struct Bench {
    QuietPrompts prompts;
    QuietWindow window;
    OneFile files{FullLibraryText()};
    PointSeparator separator;
    clsRegistry settings{std::make_unique<NoSettings>()};
    Module1 library{{prompts, window, files, separator, settings, {}}};
};

std::string KeyOf(const Module1& library, int position) {
    const MaterialEntry& e = library.Content().entries[static_cast<std::size_t>(position)];
    return MaterialKey(e.categoryKey, e.nameText, position);
}

void BM_OpenLibrary(benchmark::State& state) {
    Bench bench;
    for (auto _ : state) {
        bench.library.OpenLibrary();
        benchmark::DoNotOptimize(bench.library.Tree().NodeCount());
    }
    if (bench.library.LastPosition() != kLibraryCapacity - 1 ||
        bench.library.Tree().NodeCount() != kLibraryCapacity + 10) {
        state.SkipWithError("the library was not opened whole");
    }
}
BENCHMARK(BM_OpenLibrary)->Unit(benchmark::kMillisecond);

void BM_DeleteMaterial(benchmark::State& state) {
    Bench bench;
    for (auto _ : state) {
        state.PauseTiming();
        bench.library.OpenLibrary();
        bench.library.Tree().Select(KeyOf(bench.library, 500));
        state.ResumeTiming();
        bench.library.DeleteMaterial();
    }
    if (bench.library.LastPosition() != kLibraryCapacity - 2) {
        state.SkipWithError("nothing was deleted");
    }
}
BENCHMARK(BM_DeleteMaterial)->Unit(benchmark::kMillisecond);

void BM_MoveMaterial(benchmark::State& state) {
    Bench bench;
    bench.library.OpenLibrary();
    for (auto _ : state) {
        // The first material goes to the category of the second (always another one).
        bench.library.SetDragSourceKey(KeyOf(bench.library, 0));
        bench.library.MoveMaterial(bench.library.Content().entries[1].categoryKey);
    }
    if (bench.library.Tree().Selected() == nullptr) {
        state.SkipWithError("the moved material is not selected");
    }
}
BENCHMARK(BM_MoveMaterial)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace material
