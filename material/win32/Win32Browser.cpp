#include "Win32Browser.h"

#include "WideText.h"
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
        form_ = std::make_unique<LibraryChildWindow>(
            frame_->client(), library_.Tree(),
            // The user's close: asks about saving; CloseLibrary comes back through Close.
            [this] { return !library_.CloseLibrary(); },
            [this] {
                library_.Tree().SetListener(nullptr);
                frame_->setLibraryButtonsEnabled(false);
                // Its handlers may still be running: the object is released later.
                retiredForm_ = std::move(form_);
            });
        library_.Tree().SetListener(form_.get());
        form_->TreeRebuilt();
        frame_->setLibraryButtonsEnabled(true);
    }
    return *form_;
}

void Win32Browser::Show(const std::string& caption) {
    LibraryChildWindow& window = loadedForm();
    window.setCaption(widen(caption));
    ShowWindow(window.window(), SW_SHOWMAXIMIZED);
}

void Win32Browser::SetCaption(const std::string& caption) {
    if (form_ != nullptr) {
        form_->setCaption(widen(caption));
    }
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
