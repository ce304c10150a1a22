#pragma once
// The radio password entry: masked, at most four characters.
#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvane {

struct Program;

class FrmPassWord : public QDialog {
    Q_OBJECT
  public:
    // Shows the entry; OK stores the trimmed text back into it, Cancel leaves it.
    FrmPassWord(Program& p, std::string& entry, QWidget* parent = nullptr);
    QLabel* Label1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* CommandOK = nullptr;
    QPushButton* CommandCancel = nullptr;

  private:
    std::string& entry_;
};

// Runs the dialog modally over the entry; true on OK.
bool AskPassword(Program& p, std::string& entry, QWidget* parent);

} // namespace tarvane
