// studypurge: removes the stored data of chosen analysis products from a PLANDRY
// part or assembly document.
#include <QApplication>
#include <memory>

#include "CkwpurgeDlg.h"
#include "PlatformHelp.h"
#include "ProgramIcons.h"
#include "QtServices.h"
#include "purge/PurgeDocument.h"

int main(int argc, char** argv) {
    // Qt puts the GUI thread into a single-threaded COM apartment on Windows, which
    // the document manager route of the purge needs.
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("studypurge"));
    QApplication::setWindowIcon(spdialog::programIcon(spdialog::IDR_MAINFRAME));

    spdialog::QtMessageBoxes messages;
    spdialog::QtFileChooser files;
    const std::unique_ptr<spdialog::HelpViewer> help = spdialog::createPlatformHelpViewer();

    spdialog::CkwpurgeDlg dialog(
        {messages, files, *help, [](purge::PurgeDialogPort& port) { purge::PurgeDocument(port); }});
    dialog.exec();
    return 0;
}
