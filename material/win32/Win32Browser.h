// material.exe as a whole: the frame, the open library (LibraryController) and the library
// window while one is open. It hands the frame's commands to the library operations and
// gives those operations the window they show the library in.
#pragma once

#include <memory>

#include "FrameWindow.h"
#include "LibraryChildWindow.h"
#include "app/FrameCommands.h"
#include "app/LibraryEditor.h"
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
    LibraryEditor& editor() { return editor_; }
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
    // The tree's pictures are the program's own bitmaps, loaded with the window.
    void LoadTreeImage(std::string_view, std::string_view) override {}
    void ClearTreeImages() override {}
    void SetPanelTexts(const std::string& category, const std::string& name,
                       const std::string& description) override;
    void ShowValuePanel(bool shown) override;
    void HidePanelCommands() override;
    void SetPanelUnitTables(const std::array<PanelLabelRow, kPanelRowCount>& labels,
                            const std::array<double, kPanelFactorCount>& siPerIps,
                            const std::array<double, kPanelFactorCount>& mksPerIps) override;
    void FillUnitList(const std::vector<std::string>& texts) override;
    void FillTypeList(const std::vector<std::string>& texts) override;
    int UnitListPosition() const override;
    int TypeListPosition() const override;
    void SelectUnitListPosition(int position) override;
    std::string ShownUnitSystem() const override;
    void RefreshUnitDisplay() override;
    void EndGridEdit() override;
    void ShowMaterialAgain() override;
    void NodeClick(const std::string& key) override;
    void ShowEditState(bool modified, bool canUndo, bool canRedo) override;

  private:
    // The window, loaded on the first thing the library operations show in it.
    LibraryChildWindow& loadedForm();
    // The window's menu and accelerators in the frame while it is active, else the frame's.
    void showWindowMenu(bool active);
    void onFrameCommand(int id);
    void showLibraryInFrame(bool open);
    void checkViewItem(int id, bool shown);
    void showCaption();

    LibraryController library_;
    LibraryEditor editor_;
    std::unique_ptr<FrameWindow> frame_;
    std::unique_ptr<LibraryChildWindow> form_;
    std::unique_ptr<LibraryChildWindow> retiredForm_;  // destroyed, its handlers unwinding
    std::string caption_;
    bool modified_ = false;
};

}  // namespace material::win32
