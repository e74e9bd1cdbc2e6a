// The about box: modeless, without an owner. OK (or Escape, or the close box) hides it
// and then unloads it; the next request makes a new one.
#pragma once

#include <QDialog>

namespace material {

class AboutForm : public QDialog {
    Q_OBJECT

  public:
    explicit AboutForm(QWidget* parent = nullptr);

  public slots:
    // aboutOKButton: hide, then unload.
    void aboutOKButton_Click();
    void reject() override;
};

}  // namespace material
