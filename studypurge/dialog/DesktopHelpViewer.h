#pragma once
// Help where no HTML help viewer exists: the program's HTML help book (installed as
// <prefix>/share/korvex-tools/help/studypurge, repeated in the build tree) opens in the
// desktop's browser; "studypurge.chm" next to the program or in the current folder is
// tried when there is no book. When nothing can be shown, a message says where the
// help is.

#include <functional>

#include <QString>

#include "HelpViewer.h"

namespace spdialog {

class DesktopHelpViewer : public HelpViewer {
  public:
    // Hands a file to the desktop; false when nothing took it.
    using Opener = std::function<bool(const QString& file)>;
    // Shows a message to the user.
    using Teller = std::function<void(void* owner, const QString& text)>;

    // By default: xdg-open, a message box, and the book beside this program.
    explicit DesktopHelpViewer(Opener open = {}, Teller tell = {}, QString bookPage = {});

    bool show(void* owner) override;

    // The help's full path, or an empty string when there is none.
    QString findHelpFile() const;

    // Where the help book belongs beside this program.
    static QString installedBookPage();

  private:
    Opener open_;
    Teller tell_;
    QString bookPage_;
};

}  // namespace spdialog
