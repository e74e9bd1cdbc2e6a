#pragma once
// The program's one dialog: a document path, five product ticks, "Clean File".
// It copies its controls into its members before the purge reads them, and the
// purge reports back through the same dialog.

#include <QDialog>
#include <QString>
#include <array>
#include <functional>

#include "purge/PurgeDocument.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace spdialog {

class FileChooser;
class HelpViewer;
class MessageBoxes;

// The "Clean File" operation; the program passes purge::PurgeDocument.
using PurgeOperation = std::function<void(purge::PurgeDialogPort&)>;

struct DialogServices {
    MessageBoxes& messages;
    FileChooser& files;
    HelpViewer& help;
    PurgeOperation purge;
};

class CkwpurgeDlg : public QDialog, public purge::PurgeDialogPort {
    Q_OBJECT
  public:
    explicit CkwpurgeDlg(DialogServices services, QWidget* parent = nullptr);

    // Copies the controls into the members (true) or the members into the controls.
    void updateData(bool saveAndValidate);

    // purge::PurgeDialogPort
    std::string filePath() const override;
    bool cleanSimulation() const override { return m_cleanSimulation; }
    bool cleanSimulationQuiklet() const override { return m_cleanSimulationQuiklet; }
    bool cleanFlow() const override { return m_cleanFlow; }
    bool cleanMotion() const override { return m_cleanMotion; }
    bool cleanSustainability() const override { return m_cleanSustainability; }
    void reset() override;
    void setStatusText(const std::string& text) override;
    void showMessage(const std::string& text) override;

    // A window-menu command; ids 16-31 open the about box. False for other ids.
    bool OnSysCommand(unsigned id);

  public slots:
    void OnBrowse();
    void OnHelp();
    void OnCleanFile();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    void createControls();
    QPushButton* addButton(int id, const QString& text, int left, int top);
    QCheckBox* addCheckBox(int id, const QString& text, int left, int top, int width);
    void addIcon(int iconId, int left, int top);
    bool anyProductTicked() const;

    DialogServices services_;

    QString m_filePath;
    bool m_cleanSimulation = false;
    bool m_cleanMotion = false;
    bool m_cleanSimulationQuiklet = false;
    bool m_cleanFlow = false;
    bool m_cleanSustainability = false;

    QLineEdit* pathEdit_ = nullptr;
    QLabel* statusLine_ = nullptr;
    QCheckBox* simulationCheck_ = nullptr;
    QCheckBox* quikletCheck_ = nullptr;
    QCheckBox* motionCheck_ = nullptr;
    QCheckBox* flowCheck_ = nullptr;
    QCheckBox* sustainabilityCheck_ = nullptr;
};

}  // namespace spdialog
