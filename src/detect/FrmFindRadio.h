#pragma once
// "Find radio": every serial device tried at once for a radio, with a line per
// device that follows its finding. When exactly one radio answers the window
// closes by itself and FoundDevice() names it; otherwise it stays open with
// each device's finding and advice, in the program's language.
#include <QDialog>
#include <string>
#include <vector>

#include "detect/RadioDetector.h"

class QDialogButtonBox;
class QLabel;
class QTreeWidget;

namespace tarvane {

struct Program;
class FrmSetComm;

class FrmFindRadio : public QDialog {
    Q_OBJECT
  public:
    FrmFindRadio(Program& p, std::vector<std::string> devices, QWidget* parent = nullptr);
    QString FoundDevice() const { return found_; }
    bool Finished() const { return finished_; }
    const RadioDetector& Detector() const { return detector_; }

    QLabel* Head = nullptr;
    QTreeWidget* List = nullptr; // device, finding, what it means
    QDialogButtonBox* Buttons = nullptr;

  protected:
    void showEvent(QShowEvent* e) override;
    void done(int result) override;

  private:
    void ShowFinding(int index);
    void AllFound();
    Program& p_;
    std::vector<std::string> devices_;
    RadioDetector detector_;
    bool started_ = false;
    bool finished_ = false;
    QString found_;
};

// Gives the port dialog its Find radio button: the devices of the machine and
// of the setup file are tried, and the one radio found goes on the chosen number.
void OfferFindRadio(FrmSetComm& dialog, Program& p);

} // namespace tarvane
