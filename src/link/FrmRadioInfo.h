#pragma once
// The radio's information area as read from the radio, shown as a child window.
#include <QWidget>
#include <array>
#include <vector>

#include "base/Signal.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace tarvane {

struct Program;

class FrmRadioInfo : public QWidget {
    Q_OBJECT
  public:
    // The lists of Combo1.
    enum List { kModelList, kBandList, kListCount };
    // The boxes of Text1, named Text1_0.. in this order.
    enum Box {
        kSerialNumberBox,
        kDealerBox,
        kProductionDateBox,
        kProgrammingDateBox,
        kRemarkBox,
        kSoftwareVersionBox,
        kHardwareBox,
        kBatchBox,
        kFactoryText1Box,
        kFactoryText2Box,
        kFactoryText3Box,
        kFactoryText4Box,
        kBoxCount
    };

    explicit FrmRadioInfo(Program& p, QWidget* parent = nullptr);
    // Refreshes every field from the radio information record.
    void ShowByData();

    std::array<QComboBox*, kListCount> Combo1{};
    QComboBox* Combo3 = nullptr; // type
    std::array<QLineEdit*, kBoxCount> Text1{};
    QPushButton* CommandHelp = nullptr;
    QPushButton* CommandClose = nullptr;

  private:
    Program& p_;
    std::vector<Subscription> subscriptions_; // end with the window
};

} // namespace tarvane
