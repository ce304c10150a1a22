#pragma once
// The language dialog: the choice takes effect when the frame is active again.
#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace tarvane {

struct Program;

class FrmSetLanguage : public QDialog {
    Q_OBJECT
  public:
    FrmSetLanguage(Program& p, QWidget* parent = nullptr);
    QComboBox* Combo1 = nullptr;
    QPushButton* CommandOK = nullptr;
    QPushButton* CommandCancel = nullptr;

  private:
    void CommandOK_Click();
    Program& p_;
    QLabel* Label1 = nullptr;
};

} // namespace tarvane
