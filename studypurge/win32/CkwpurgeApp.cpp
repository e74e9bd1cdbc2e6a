#include "CkwpurgeApp.h"

#include <commctrl.h>
#include <ole2.h>

#include <memory>

#include "CkwpurgeDlg.h"
#include "HtmlHelpViewer.h"
#include "Win32Prompts.h"
#include "purge/PurgeDocument.h"

namespace spwin {

int CkwpurgeApp::InitInstance(const std::string& startPath) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), 0xFF};
    InitCommonControlsEx(&controls);
    // A single-threaded apartment, as the document manager component needs; OLE
    // also serves the shell's dialogs.
    const bool oleReady = SUCCEEDED(OleInitialize(nullptr));

    Win32MessageBoxes messages;
    Win32FileChooser files;
    const std::unique_ptr<spdialog::HelpViewer> help = spdialog::createWindowsHelpViewer();
    {
        CkwpurgeDlg dialog(instance_, {messages, files, *help, [](purge::PurgeDialogPort& port) {
                                           purge::PurgeDocument(port);
                                       }});
        if (!startPath.empty()) {
            dialog.controller().presetFilePath(startPath);
        }
        dialog.DoModal();
    }
    if (oleReady) {
        OleUninitialize();
    }
    return 0;
}

}  // namespace spwin
