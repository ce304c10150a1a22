#pragma once
// The port dialog: sixteen numbered ports, each with the device behind it. A
// number's device can be typed (a by-id link, a simulator's pseudo-terminal).
#include <QDialog>
#include <QTimer>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "link/PortMap.h"
#include "link/SerialPorts.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QPushButton;

namespace tarvane {

struct Program;

// A port number with the device behind it, as the status bar and the dialog show it
// ("Port 1: /dev/ttyUSB0").
QString PortWithDevice(Program& p, int number);

class FrmSetComm : public QDialog {
    Q_OBJECT
  public:
    FrmSetComm(Program& p, QWidget* parent = nullptr);
    // Discovery (numbers new devices); tests replace it.
    std::function<QList<PortEntry>()> Discover;
    // Looks for the radio on every device and returns the one device where a
    // single radio answered (empty otherwise). The Find radio button shows only
    // when it is given (the detection lives above this folder).
    std::function<QString()> FindRadio;
    // Runs FindRadio and puts its device on the chosen number, asking first
    // when that number has another device.
    void CommandFind_Click();
    // Remembers the choice, discovers again and chooses the same number again.
    void ReCommTimer_Timer();
    int SelectedNumber() const;

    std::array<QRadioButton*, kPortCount> Option1{};
    std::array<QLineEdit*, kPortCount> Device{};
    std::array<QLabel*, kPortCount> Description{};
    QCheckBox* CheckVerify = nullptr; // read every write back (kept in the setup file)
    QPushButton* CommandOK = nullptr;
    QPushButton* CommandCancel = nullptr;
    QLabel* Chosen = nullptr; // the chosen number with its device
    QPushButton* CommandFind = nullptr;
    QLabel* FindResult = nullptr; // what Find radio did
    QTimer ReCommTimer;

  protected:
    void showEvent(QShowEvent* e) override;
    // Return in a device box takes the typed path in; elsewhere it presses OK.
    bool eventFilter(QObject* watched, QEvent* e) override;
    void done(int result) override;

  private:
    void Refresh();
    void PlaceRows(const QList<PortEntry>& entries);
    void PreselectPresent(const QList<PortEntry>& entries);
    void ShowChosen();
    void CommandOK_Click();
    Program& p_;
    std::array<bool, kPortCount> typed_{}; // the user gave this number a path
    QButtonGroup* group_ = nullptr;
};

} // namespace tarvane
