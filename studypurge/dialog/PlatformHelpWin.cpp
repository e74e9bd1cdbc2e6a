// The HTML help viewer, owned by the dialog's native window.
#include <QWidget>

#include "HtmlHelpViewer.h"
#include "PlatformHelp.h"

namespace spdialog {
namespace {

class QtHtmlHelpViewer : public HelpViewer {
  public:
    bool show(void* owner) override {
        auto* widget = static_cast<QWidget*>(owner);
        return viewer_->show(widget ? reinterpret_cast<void*>(widget->winId()) : nullptr);
    }

  private:
    std::unique_ptr<HelpViewer> viewer_ = createWindowsHelpViewer();
};

}  // namespace

std::unique_ptr<HelpViewer> createPlatformHelpViewer() {
    return std::make_unique<QtHtmlHelpViewer>();
}

}  // namespace spdialog
