#include "HtmlHelpViewer.h"

namespace spdialog {

HtmlHelpViewer::~HtmlHelpViewer() {
    if (module_ != nullptr) {
        host_.freeLibrary(module_);
    }
}

bool HtmlHelpViewer::show(void* owner) {
    if (!resolve()) {
        return false;
    }
    host_.callHtmlHelp(entry_, owner, std::u16string(kHelpFile), kDisplayTopic, 0);
    return true;
}

bool HtmlHelpViewer::resolve() {
    if (state_ != State::Unresolved) {
        return state_ == State::Ready;
    }
    // One attempt per run: a missing viewer is not looked for again.
    state_ = State::Failed;
    module_ = loadControlLibrary();
    if (module_ == nullptr) {
        return false;
    }
    entry_ = host_.exportByOrdinal(module_, kHtmlHelpWOrdinal);
    if (entry_ == nullptr) {
        host_.freeLibrary(module_);
        module_ = nullptr;
        return false;
    }
    state_ = State::Ready;
    return true;
}

void* HtmlHelpViewer::loadControlLibrary() {
    if (auto registered = host_.registeredPath(kControlKey)) {
        if (void* module = host_.loadLibrary(*registered)) {
            return module;
        }
    }
    return host_.loadLibrary(std::u16string(kFallbackLibrary));
}

}  // namespace spdialog
