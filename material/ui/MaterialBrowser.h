// The material browser as a whole: the main frame, the open library (LibraryController) and the
// library window while one is open. It hands the frame's commands to the library
// operations and gives those operations the window they show the library in.
#pragma once

#include <QPointer>
#include <memory>

#include "LibraryWindowWidget.h"
#include "app/FrameCommands.h"
#include "MainFrame.h"
#include "app/LibraryEditor.h"
#include "data/library/LibraryController.h"

namespace material {

struct BrowserServices {
    LibraryPrompts& prompts;
    LibraryFileSystem& files;
    const DecimalSeparatorSource& separator;
    clsRegistry& settings;
    WorkbookReader readWorkbook;
    std::unique_ptr<HelpViewer> helpViewer;  // null: the system's own
};

class MaterialBrowser final : public FrameCommands, public LibraryWindow {
  public:
    explicit MaterialBrowser(BrowserServices services);
    ~MaterialBrowser() override;
    MaterialBrowser(const MaterialBrowser&) = delete;
    MaterialBrowser& operator=(const MaterialBrowser&) = delete;

    MainFrame& frame() { return *frame_; }
    LibraryController& library() { return library_; }
    // The library window while it is open, else null.
    LibraryWindowWidget* form() const { return form_; }

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
    void LoadTreeImage(std::string_view key, std::string_view resource) override;
    void ClearTreeImages() override;
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
    LibraryWindowWidget& loadedForm();

    LibraryController library_;
    LibraryEditor editor_;
    std::unique_ptr<MainFrame> frame_;
    QPointer<LibraryWindowWidget> form_;
};

}  // namespace material
