#pragma once
// The rules of the purge dialog (CkwpurgeDlg), shared by the Qt and the Win32 front
// ends: data exchange between the controls and the members, the checks of "Clean
// File", browsing, help, the about command and the reset after a purge. A front end
// implements PurgeDialogView and forwards its button clicks here.

#include <functional>
#include <string>

#include "Prompts.h"
#include "purge/PurgeDocument.h"

namespace spdialog {
class HelpViewer;
}

namespace spapp {

// The dialog's members: the document path and the five product ticks.
struct DialogData {
    std::string filePath;  // UTF-8, as typed or chosen
    bool cleanSimulation = false;
    bool cleanMotion = false;
    bool cleanSimulationQuiklet = false;
    bool cleanFlow = false;
    bool cleanSustainability = false;

    bool anyProductTicked() const {
        return cleanSimulation || cleanMotion || cleanSimulationQuiklet || cleanFlow ||
               cleanSustainability;
    }
    bool operator==(const DialogData&) const = default;
};

// What a front end's dialog window does for the controller.
class PurgeDialogView {
  public:
    virtual ~PurgeDialogView() = default;

    // The contents of the path box and the five check boxes.
    virtual DialogData controlValues() const = 0;
    // Shows `data` in the path box and the check boxes.
    virtual void showControlValues(const DialogData& data) = 0;
    // Shows `path` in the path box alone; the check boxes keep what the user set.
    virtual void showFilePath(const std::string& path) = 0;
    // Sets the status line under the product ticks.
    virtual void setStatusLine(const std::string& text) = 0;
    // Runs the modal about box.
    virtual void showAboutBox() = 0;
    // The window that owns prompts and help (see MessageBoxes).
    virtual void* ownerWindow() = 0;
};

// The "Clean File" operation; the programs pass purge::PurgeDocument.
using PurgeOperation = std::function<void(purge::PurgeDialogPort&)>;

struct DialogServices {
    MessageBoxes& messages;
    FileChooser& files;
    spdialog::HelpViewer& help;
    PurgeOperation purge;
};

class PurgeDialogController : public purge::PurgeDialogPort {
  public:
    PurgeDialogController(PurgeDialogView& view, DialogServices services);

    // Copies the controls into the members (true) or the members into the controls.
    void updateData(bool saveAndValidate);
    const DialogData& data() const { return data_; }
    // The document the program was started with (as a file manager passes it): the
    // path member and the path box take it; the ticks stay as they are.
    void presetFilePath(const std::string& path);

    void OnBrowse();
    void OnHelp();
    void OnCleanFile();
    // A window-menu command; ids 16-31 open the about box. False for other ids, which
    // the front end leaves to the default handling.
    bool OnSysCommand(unsigned id);

    // purge::PurgeDialogPort
    std::string filePath() const override { return data_.filePath; }
    bool cleanSimulation() const override { return data_.cleanSimulation; }
    bool cleanSimulationQuiklet() const override { return data_.cleanSimulationQuiklet; }
    bool cleanFlow() const override { return data_.cleanFlow; }
    bool cleanMotion() const override { return data_.cleanMotion; }
    bool cleanSustainability() const override { return data_.cleanSustainability; }
    void reset() override;
    void setStatusText(const std::string& text) override;
    void showMessage(const std::string& text) override;

  private:
    PurgeDialogView& view_;
    DialogServices services_;
    DialogData data_;
};

}  // namespace spapp
