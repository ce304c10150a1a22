#pragma once
// The DTMF window: timing and key settings, the display switch and the sixteen
// codes. Every change is stored at once; showing stores the shown values back.
#include <QWidget>
#include <array>
#include <vector>

#include "base/Signal.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace tarvane {

struct Program;

class FrmDTMF : public QWidget {
    Q_OBJECT
  public:
    // The lists of the settings tab, Combo1[k]: four times in milliseconds, then the D key.
    enum List {
        kListDigitTime,
        kListFirstDigitTime,
        kListFirstDigitDelay,
        kListStarHashTime,
        kListDKey,
        kListCount
    };
    // The tabs of SSTab1.
    enum Tab { kTabSettings, kTabCodes1To8, kTabCodes9To16, kTabCount };

    explicit FrmDTMF(Program& p, QWidget* parent = nullptr);

    void ShowDtmf();
    // Stores list k (kListDigitTime..kListDKey) as it is shown.
    void StoreList(int k);
    void StoreDisplay();

    std::array<QComboBox*, kListCount> Combo1{};
    std::array<QLabel*, kListCount> Label1{};
    std::array<QLineEdit*, 16> Text1{};
    std::array<QLabel*, 16> Label2{};
    QCheckBox* Check1 = nullptr;
    QTabWidget* SSTab1 = nullptr;
    QPushButton* CommandClose = nullptr;
    QPushButton* CommandHelp = nullptr;

  private:
    void BuildControls();
    void FillLists();
    void ApplyCaptions();
    void LayOut();

    Program& p_;
    std::vector<Subscription> subscriptions_; // end with the window
};

} // namespace tarvane
