#pragma once
// The program's one dialog: a document path, five product ticks, "Clean File".
// A Qt view over PurgeDialogController, which holds the members and every rule; the
// dialog builds the controls, forwards their clicks and shows what it is told.

#include <QDialog>
#include <QString>

#include "PurgeDialogController.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace spdialog {

using spapp::DialogServices;
using spapp::PurgeOperation;

class CkwpurgeDlg : public QDialog, private spapp::PurgeDialogView {
    Q_OBJECT
  public:
    explicit CkwpurgeDlg(DialogServices services, QWidget* parent = nullptr);

    // Copies the controls into the members (true) or the members into the controls.
    void updateData(bool saveAndValidate) { controller_.updateData(saveAndValidate); }

    // The document the program was started with fills the path box.
    void presetFilePath(const std::string& path) { controller_.presetFilePath(path); }

    // The members and the status line, as the purge sees them.
    std::string filePath() const { return controller_.filePath(); }
    void setStatusText(const std::string& text) { controller_.setStatusText(text); }

    // A window-menu command; ids 16-31 open the about box. False for other ids.
    bool OnSysCommand(unsigned id) { return controller_.OnSysCommand(id); }

  public slots:
    void OnBrowse() { controller_.OnBrowse(); }
    void OnHelp() { controller_.OnHelp(); }
    void OnCleanFile() { controller_.OnCleanFile(); }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    // spapp::PurgeDialogView
    spapp::DialogData controlValues() const override;
    void showControlValues(const spapp::DialogData& data) override;
    void showFilePath(const std::string& path) override;
    void setStatusLine(const std::string& text) override;
    void showAboutBox() override;
    void* ownerWindow() override { return static_cast<QWidget*>(this); }

    void createControls();
    QPushButton* addButton(int id, const QString& text, int left, int top);
    QCheckBox* addCheckBox(int id, const QString& text, int left, int top, int width);
    void addIcon(int iconId, int left, int top);

    spapp::PurgeDialogController controller_;

    QLineEdit* pathEdit_ = nullptr;
    QLabel* statusLine_ = nullptr;
    QCheckBox* simulationCheck_ = nullptr;
    QCheckBox* quikletCheck_ = nullptr;
    QCheckBox* motionCheck_ = nullptr;
    QCheckBox* flowCheck_ = nullptr;
    QCheckBox* sustainabilityCheck_ = nullptr;
};

}  // namespace spdialog
