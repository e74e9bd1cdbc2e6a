// studypurge: removes the stored data of chosen analysis products from a PLANDRY
// part or assembly document.
#include <QApplication>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "CkwpurgeDlg.h"
#include "PlatformHelp.h"
#include "ProgramIcons.h"
#include "QtServices.h"
#include "cli/CommandLine.h"
#include "purge/PurgeDocument.h"

int main(int argc, char** argv) {
    // With options the program works without a window (and without a display).
    const std::vector<std::string> args(argv + 1, argv + argc);
    const spcli::Launch launch = spcli::classifyArguments(args);
    if (launch.kind == spcli::LaunchKind::CommandLine) {
        return spcli::runCommandLine(args, std::cout, std::cerr);
    }

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
    if (launch.kind == spcli::LaunchKind::DialogWithPath) {
        dialog.presetFilePath(QString::fromLocal8Bit(launch.path).toStdString());
    }
    dialog.exec();
    return 0;
}
