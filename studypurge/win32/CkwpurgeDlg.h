#pragma once
// The program's one dialog (CkwpurgeDlg), built on dialog template 102: a document
// path, five product ticks, "Clean File". A Win32 view over PurgeDialogController,
// which holds the members and every rule; this class forwards the dialog's messages
// and shows what it is told.

#include <windows.h>

#include "PurgeDialogController.h"

namespace spwin {

class CkwpurgeDlg : private spapp::PurgeDialogView {
  public:
    CkwpurgeDlg(HINSTANCE instance, spapp::DialogServices services);
    ~CkwpurgeDlg() override;
    CkwpurgeDlg(const CkwpurgeDlg&) = delete;
    CkwpurgeDlg& operator=(const CkwpurgeDlg&) = delete;

    // Runs the dialog modally; IDOK (Enter) or IDCANCEL ("Close").
    INT_PTR DoModal(HWND owner = nullptr);
    // Creates the dialog modeless (tests, screenshots); it destroys itself when it
    // ends. Null when the template cannot be loaded.
    HWND Create(HWND owner = nullptr);

    HWND window() const { return window_; }
    // The command that ended the dialog; 0 while it runs.
    INT_PTR result() const { return result_; }
    spapp::PurgeDialogController& controller() { return controller_; }

  private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);

    BOOL OnInitDialog();
    bool OnSysCommand(WPARAM command);
    bool OnPaint();
    bool OnCommand(WORD id, WORD code);
    void endDialog(INT_PTR result);

    // spapp::PurgeDialogView
    spapp::DialogData controlValues() const override;
    void showControlValues(const spapp::DialogData& data) override;
    void showFilePath(const std::string& path) override;
    void setStatusLine(const std::string& text) override;
    void showAboutBox() override;
    void* ownerWindow() override { return window_; }

    HINSTANCE instance_;
    HWND window_ = nullptr;
    bool modal_ = false;
    INT_PTR result_ = 0;
    HICON icon_ = nullptr;
    HICON smallIcon_ = nullptr;
    spapp::PurgeDialogController controller_;
};

}  // namespace spwin
