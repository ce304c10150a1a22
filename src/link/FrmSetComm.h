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

class QButtonGroup;
class QLabel;
class QLineEdit;
class QRadioButton;
class QPushButton;

namespace tarvane {

struct Program;

struct PresentPort {
    std::string Device;      // the stable name where there is one
    std::string Description; // maker and product as the system reports them
};

// The serial devices present now: /dev/serial/by-id names where they exist.
std::vector<PresentPort> DiscoverSerialPorts();

class FrmSetComm : public QDialog {
    Q_OBJECT
public:
    FrmSetComm(Program& p, QWidget* parent = nullptr);
    // Discovery, replaceable by tests.
    std::function<std::vector<PresentPort>()> Discover = DiscoverSerialPorts;
    // Remembers the choice, discovers again and chooses the same number again.
    void ReCommTimer_Timer();
    int SelectedNumber() const;

    std::array<QRadioButton*, kPortCount> Option1{};
    std::array<QLineEdit*, kPortCount> Device{};
    std::array<QLabel*, kPortCount> Description{};
    QPushButton* CommandOK = nullptr;
    QPushButton* CommandCancel = nullptr;
    QTimer ReCommTimer;

protected:
    void showEvent(QShowEvent* e) override;
    void done(int result) override;

private:
    void Refresh();
    void CommandOK_Click();
    Program& p_;
    PortMap map_;       // the map as the dialog shows it, saved on OK
    PortMap original_;
    QButtonGroup* group_ = nullptr;
};

} // namespace tarvane
