#pragma once
// The model dialog: shows the model and switches the band variant. A change of
// band starts a new document.
#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

namespace tarvane {

struct Program;

class FrmModelInfo : public QDialog {
    Q_OBJECT
  public:
    // newDocument starts a new document (the frame's LoadNewDoc).
    FrmModelInfo(Program& p, std::function<void()> newDocument, QWidget* parent = nullptr);
    QComboBox* Combo1 = nullptr; // model
    QComboBox* Combo2 = nullptr; // band
    QComboBox* Combo3 = nullptr; // type
    QPushButton* CommandOK = nullptr;
    QPushButton* CommandCancel = nullptr;

  private:
    void CommandOK_Click();
    Program& p_;
    std::function<void()> newDocument_;
};

} // namespace tarvane
