#include "PlatformHelpViewer.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QString>
#include <QUrl>

namespace material {

namespace {

class DesktopHelpViewer final : public HelpViewer {
  public:
    void displayHelpFile(const std::string& path) override {
        const QString file = QString::fromStdString(path);
        if (QFileInfo(file).isFile()) {
            QDesktopServices::openUrl(QUrl::fromLocalFile(file));
        }
    }
};

}  // namespace

std::unique_ptr<HelpViewer> createPlatformHelpViewer() {
    return std::make_unique<DesktopHelpViewer>();
}

}  // namespace material
