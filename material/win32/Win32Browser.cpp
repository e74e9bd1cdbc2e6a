#include "Win32Browser.h"

#include "WideText.h"
#include "resource.h"
#include "units/UnitSystems.h"

namespace material::win32 {

Win32Browser::Win32Browser(BrowserServices services)
    : library_(LibraryServices{services.prompts, *this, services.files, services.separator,
                               services.settings, std::move(services.readWorkbook)}),
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
        // The user's close: asks about saving; CloseLibrary comes back through Close.
        handlers.closeRequested = [this] { return !library_.CloseLibrary(); };
        handlers.destroyed = [this] {
            library_.Tree().SetListener(nullptr);
            showWindowMenu(false);
            frame_->setLibraryButtonsEnabled(false);
            // Its handlers may still be running: the object is released later.
            retiredForm_ = std::move(form_);
        };
        handlers.command = [this](int id) { onWindowCommand(id); };
        handlers.activated = [this](bool active) { showWindowMenu(active); };
        // The model shows the open or closed book for the category.
        handlers.expanded = [this](const std::string& key, bool expanded) {
            library_.Tree().SetExpanded(key, expanded);
        };
        form_ = std::make_unique<LibraryChildWindow>(frame_->client(), library_.Tree(),
                                                     std::move(handlers));
        library_.Tree().SetListener(form_.get());
        form_->TreeRebuilt();
        frame_->setLibraryButtonsEnabled(true);
        showWindowMenu(true);
    }
    return *form_;
}

void Win32Browser::showWindowMenu(bool active) {
    const bool shown = active && form_ != nullptr;
    frame_->showMenu(shown ? form_->menu() : nullptr);
    frame_->setWindowAccelerators(shown ? form_->accelerators() : nullptr);
}

void Win32Browser::onWindowCommand(int id) {
    switch (id) {
        case ID_LIBRARY_NEW:
            library_.NewLibrary();
            break;
        case ID_LIBRARY_OPEN:
            library_.OpenLibrary();
            break;
        case ID_LIBRARY_CLOSE:
            library_.CloseLibrary();
            break;
        case ID_LIBRARY_SAVE:
            library_.Save();
            break;
        case ID_LIBRARY_SAVE_AS:
            library_.SaveAs();
            break;
        case ID_LIBRARY_EXIT:
            PostMessageW(frame_->window(), WM_CLOSE, 0, 0);
            break;
        case ID_EDIT_DELETE:
            library_.DeleteMaterial();
            break;
        case ID_EDIT_UNDO:
            library_.Undo();
            break;
        case ID_EDIT_REDO:
            library_.Redo();
            break;
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
            break;  // the panel's commands come with the panel
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

std::string Win32Browser::ShownUnitSystem() const {
    return std::string(kSi);
}

void Win32Browser::NodeClick(const std::string& key) {
    library_.Tree().Select(key);
}

}  // namespace material::win32
