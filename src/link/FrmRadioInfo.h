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
    explicit FrmRadioInfo(Program& p, QWidget* parent = nullptr);
    // Refreshes every field from the radio information record.
    void ShowByData();

    std::array<QComboBox*, 2> Combo1{}; // model, band
    QComboBox* Combo3 = nullptr;        // type
    std::array<QLineEdit*, 12> Text1{};
    QPushButton* CommandHelp = nullptr;
    QPushButton* CommandClose = nullptr;

  private:
    Program& p_;
    std::vector<Subscription> subscriptions_; // end with the window
};

} // namespace tarvane
