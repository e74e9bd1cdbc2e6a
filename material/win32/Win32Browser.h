// material.exe as a whole: the frame, the open library (LibraryController) and the library
// window while one is open. It hands the frame's commands to the library operations and
// gives those operations the window they show the library in.
#pragma once

#include <memory>

#include "FrameWindow.h"
#include "LibraryChildWindow.h"
#include "app/FrameCommands.h"
#include "data/library/LibraryController.h"

namespace material::win32 {

struct BrowserServices {
    LibraryPrompts& prompts;
    LibraryFileSystem& files;
    const DecimalSeparatorSource& separator;
    clsRegistry& settings;
    WorkbookReader readWorkbook;
    std::unique_ptr<HelpViewer> helpViewer;  // null: the HTML Help viewer
    std::function<void()> frameClosed;
};

class Win32Browser final : public FrameCommands, public LibraryWindow {
  public:
    explicit Win32Browser(BrowserServices services);
    ~Win32Browser() override;
    Win32Browser(const Win32Browser&) = delete;
    Win32Browser& operator=(const Win32Browser&) = delete;

    FrameWindow& frame() { return *frame_; }
    LibraryController& library() { return library_; }
    // The library window while it is open, else null.
    LibraryChildWindow* form() const { return form_.get(); }

    // FrameCommands
    void newLibrary() override { library_.NewLibrary(); }
    void openLibrary() override { library_.OpenLibrary(); }
    void saveLibrary() override { library_.Save(); }
    void saveLibraryAs() override { library_.SaveAs(); }
    void deleteMaterial() override { library_.DeleteMaterial(); }
    bool libraryHasNoFile() const override;
    bool closeLibraryWindow() override;

    // LibraryWindow
    void Show(const std::string& caption) override;
    void SetCaption(const std::string& caption) override;
    void Close() override;
    void ShowTree() override;
    void LoadTreeImage(std::string_view, std::string_view) override {}
    void ClearTreeImages() override {}
    // The panel and the property grid are not part of this window yet: what they would
    // show is dropped and what they would report is what an unloaded window reports.
    void SetPanelTexts(const std::string&, const std::string&, const std::string&) override {}
    void ShowValuePanel(bool) override {}
    void HidePanelCommands() override {}
    void SetPanelUnitTables(const std::array<PanelLabelRow, kPanelRowCount>&,
                            const std::array<double, kPanelFactorCount>&,
                            const std::array<double, kPanelFactorCount>&) override {}
    void FillUnitList(const std::vector<std::string>&) override {}
    void FillTypeList(const std::vector<std::string>&) override {}
    int UnitListPosition() const override { return -1; }
    int TypeListPosition() const override { return 0; }
    void SelectUnitListPosition(int) override {}
    std::string ShownUnitSystem() const override;
    void RefreshUnitDisplay() override {}
    void EndGridEdit() override {}
    void ShowMaterialAgain() override {}
    void NodeClick(const std::string& key) override;
    void ShowEditState(bool modified, bool canUndo, bool canRedo) override;

  private:
    // The window, loaded on the first thing the library operations show in it.
    LibraryChildWindow& loadedForm();
    // The window's menu and accelerators in the frame while it is active, else the frame's.
    void showWindowMenu(bool active);
    void onWindowCommand(int id);
    void checkViewItem(int id, bool shown);
    void showCaption();

    LibraryController library_;
    std::unique_ptr<FrameWindow> frame_;
    std::unique_ptr<LibraryChildWindow> form_;
    std::unique_ptr<LibraryChildWindow> retiredForm_;  // destroyed, its handlers unwinding
    std::string caption_;
    bool modified_ = false;
};

}  // namespace material::win32
