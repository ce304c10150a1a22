#pragma once
#include <QDialog>

class QLabel;
class QPushButton;

namespace tarvane {

struct Program;

class frmAbout : public QDialog {
    Q_OBJECT
  public:
    frmAbout(Program& p, QWidget* parent = nullptr);
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QLabel* lblLicence = nullptr;
    QPushButton* cmdOK = nullptr;
};

} // namespace tarvane
