#include "Win32Browser.h"

#include "WideText.h"
#include "resource.h"
#include "units/UnitSystems.h"

namespace material::win32 {

Win32Browser::Win32Browser(BrowserServices services)
    : library_(LibraryServices{services.prompts, *this, services.files, services.separator,
                               services.settings, std::move(services.readWorkbook)}),
      editor_(library_, services.prompts),
      frame_(std::make_unique<FrameWindow>(*this, std::move(services.helpViewer),
                                           std::move(services.frameClosed))) {}

Win32Browser::~Win32Browser() {
    form_.reset();  // the window goes before the library it shows
    retiredForm_.reset();
    frame_.reset();
}

bool Win32Browser::libraryHasNoFile() const {
    return library_.IsOpen() && library_.FileName().empty();
}

bool Win32Browser::closeLibraryWindow() {
    if (form_ == nullptr) {
        return true;
    }
    SendMessageW(form_->window(), WM_CLOSE, 0, 0);
    return form_ == nullptr;
}

LibraryChildWindow& Win32Browser::loadedForm() {
    if (form_ == nullptr) {
        retiredForm_.reset();
        LibraryChildWindow::Handlers handlers;
        handlers.destroyed = [this] {
            showLibraryInFrame(false);
            // Its handlers may still be running: the object is released later.
            retiredForm_ = std::move(form_);
        };
        handlers.frameCommand = [this](int id) { onFrameCommand(id); };
        handlers.activated = [this](bool active) { showWindowMenu(active); };
        handlers.showLibraryInFrame = [this](bool open) { showLibraryInFrame(open); };
        // Once the command under way has ended, as the frame's own close would.
        handlers.closeFrame = [this] { PostMessageW(frame_->window(), WM_CLOSE, 0, 0); };
        form_ = std::make_unique<LibraryChildWindow>(frame_->client(), library_, editor_,
                                                     std::move(handlers));
        library_.Tree().SetListener(form_.get());
        form_->TreeRebuilt();
        showLibraryInFrame(true);
    }
    return *form_;
}

void Win32Browser::showLibraryInFrame(bool open) {
    frame_->setLibraryButtonsEnabled(open && form_ != nullptr);
    showWindowMenu(open);
}

void Win32Browser::showWindowMenu(bool active) {
    const bool shown = active && form_ != nullptr;
    frame_->showMenu(shown ? form_->menu() : nullptr);
    frame_->setWindowAccelerators(shown ? form_->accelerators() : nullptr);
    frame_->setDialogWindow(shown ? form_->window() : nullptr);
}

void Win32Browser::onFrameCommand(int id) {
    switch (id) {
        case ID_VIEW_TOOLBAR:
            checkViewItem(ID_VIEW_TOOLBAR, frame_->toggleToolbar());
            break;
        case ID_VIEW_STATUSBAR:
            checkViewItem(ID_VIEW_STATUSBAR, frame_->toggleStatusBar());
            break;
        case ID_LIBRARY_HELP_TOPICS:
            frame_->onCommand(ID_TOOLBAR_HELP);
            break;
        case ID_LIBRARY_ABOUT:
            frame_->onCommand(ID_HELP_ABOUT);
            break;
        default:
            frame_->onCommand(id);  // the toolbar's buttons
            break;
    }
}

void Win32Browser::checkViewItem(int id, bool shown) {
    if (form_ != nullptr) {
        // The tick follows the bar, whatever it showed before.
        CheckMenuItem(form_->menu(), static_cast<UINT>(id),
                      MF_BYCOMMAND | (shown ? MF_CHECKED : MF_UNCHECKED));
    }
}

void Win32Browser::ShowEditState(bool modified, bool canUndo, bool canRedo) {
    modified_ = modified;
    showCaption();
    if (form_ != nullptr) {
        EnableMenuItem(form_->menu(), ID_EDIT_UNDO,
                       MF_BYCOMMAND | (canUndo ? MF_ENABLED : MF_GRAYED));
        EnableMenuItem(form_->menu(), ID_EDIT_REDO,
                       MF_BYCOMMAND | (canRedo ? MF_ENABLED : MF_GRAYED));
    }
}

void Win32Browser::showCaption() {
    if (form_ != nullptr) {
        // The modified mark where the Linux program's desktop shows it: after the caption.
        form_->setCaption(widenAnsi(caption_) + (modified_ ? L"*" : L""));
    }
}

void Win32Browser::Show(const std::string& caption) {
    LibraryChildWindow& window = loadedForm();
    caption_ = caption;
    showCaption();
    ShowWindow(window.window(), SW_SHOWMAXIMIZED);
}

void Win32Browser::SetCaption(const std::string& caption) {
    caption_ = caption;
    showCaption();
}

void Win32Browser::Close() {
    if (form_ != nullptr) {
        form_->unload();
    }
}

void Win32Browser::ShowTree() {
    loadedForm().showTree();
}

void Win32Browser::SetPanelTexts(const std::string& category, const std::string& name,
                                 const std::string& description) {
    loadedForm().SetPanelTexts(category, name, description);
}

void Win32Browser::ShowValuePanel(bool shown) {
    if (form_ != nullptr) {
        form_->showValuePanel(shown);
    }
}

void Win32Browser::HidePanelCommands() {
    loadedForm().hidePanelCommands();
}

void Win32Browser::SetPanelUnitTables(const std::array<PanelLabelRow, kPanelRowCount>& labels,
                                      const std::array<double, kPanelFactorCount>&,
                                      const std::array<double, kPanelFactorCount>&) {
    loadedForm().panel().setUnitLabelTable(labels);
}

void Win32Browser::FillUnitList(const std::vector<std::string>& texts) {
    loadedForm().panel().fillUnitList(texts);
}

void Win32Browser::FillTypeList(const std::vector<std::string>& texts) {
    loadedForm().panel().fillTypeList(texts);
}

int Win32Browser::UnitListPosition() const {
    return form_ != nullptr ? form_->panel().unitListPosition() : -1;
}

int Win32Browser::TypeListPosition() const {
    return form_ != nullptr ? form_->panel().typeListPosition() : 0;
}

void Win32Browser::SelectUnitListPosition(int position) {
    loadedForm().panel().selectUnitListPosition(position);
}

std::string Win32Browser::ShownUnitSystem() const {
    return form_ != nullptr ? form_->panel().shownUnitSystem() : std::string(kSi);
}

void Win32Browser::RefreshUnitDisplay() {
    if (form_ != nullptr) {
        form_->controller().typeCombo_Click();
    }
}

void Win32Browser::EndGridEdit() {
    if (form_ != nullptr) {
        form_->panel().endGridEdit();
    }
}

void Win32Browser::ShowMaterialAgain() {
    if (form_ != nullptr) {
        form_->controller().typeCombo_Click();
    }
}

void Win32Browser::NodeClick(const std::string& key) {
    loadedForm().controller().TreeView1_NodeClick(key);
}

}  // namespace material::win32
