#pragma once
// The tone-tip window: eight tips of up to fourteen tones each, their picture,
// and playing a tip on the computer's audio output.
#include <QWidget>
#include <array>
#include <vector>

#include "base/Signal.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTabBar;

namespace tarvane {

struct Program;
struct ToneTipRecord;
class TonePlayer;

// The bar picture of a tone tip, redrawn on every paint.
class ToneTipPicture : public QWidget {
    Q_OBJECT
  public:
    ToneTipPicture(Program& p, QWidget* parent);
    void SetTip(int tip) {
        tip_ = tip;
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    Program& p_;
    int tip_ = 1;
};

class FrmToneTips : public QWidget {
    Q_OBJECT
  public:
    explicit FrmToneTips(Program& p, QWidget* parent = nullptr);
    ~FrmToneTips() override;

    int CurrentTip() const { return tip_; }
    // Shows the current tip and stores the shown values back.
    void ShowTip();
    void CommandPlay_Click();
    void CommandStop_Click();

    QTabBar* TabStrip1 = nullptr;
    QComboBox* Combo1 = nullptr; // loop count
    QComboBox* Combo2 = nullptr; // loop interval
    std::array<QComboBox*, 14> CmbFreq{};
    std::array<QComboBox*, 14> CmbDur{};
    ToneTipPicture* Picture1 = nullptr;
    QPushButton* CommandPlay = nullptr;
    QPushButton* CommandStop = nullptr;
    TonePlayer* Player = nullptr;

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    ToneTipRecord& Tip();
    void LoopChosen();
    void IntervalChosen();
    void FreqChosen(int k);
    void DurChosen(int k);

    Program& p_;
    int tip_ = 1;
    bool audio_ = false;
    std::vector<Subscription> subscriptions_; // end with the window
};

} // namespace tarvane
