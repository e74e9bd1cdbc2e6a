#pragma once
// A library window that shows nothing, for programs that drive the library operations
// without a screen (benchmarks, fuzzers). Its unit list stays where it was put.

#include <string>

#include "data/library/LibraryWindow.h"
#include "units/UnitSystems.h"

namespace material {

class QuietLibraryWindow : public LibraryWindow {
  public:
    // `unitListPosition`: 0 IPS, 1 SI, 2 MKS.
    explicit QuietLibraryWindow(int unitListPosition) : unitListPosition_(unitListPosition) {}

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
    int UnitListPosition() const override { return unitListPosition_; }
    int TypeListPosition() const override { return 0; }
    void SelectUnitListPosition(int) override {}
    std::string ShownUnitSystem() const override {
        return std::string(UnitSystemAtPosition(unitListPosition_));
    }
    void RefreshUnitDisplay() override {}
    void EndGridEdit() override {}
    void ShowMaterialAgain() override {}
    void NodeClick(const std::string&) override {}
    void ShowEditState(bool, bool, bool) override {}

  private:
    int unitListPosition_;
};

}  // namespace material
