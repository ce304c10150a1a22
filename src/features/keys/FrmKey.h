#pragma once
// The programmable-keys window: six keys on each of three pages and the pages in
// use. A choice is stored at once.
#include <QWidget>
#include <array>
#include <vector>

#include "base/Signal.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace tarvane {

struct Program;

class FrmKey : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kKeyPages = 3;
    static constexpr int kKeysPerPage = 6;

    explicit FrmKey(Program& p, QWidget* parent = nullptr);

    void ShowKeys();

    std::array<QComboBox*, kKeyPages * kKeysPerPage> Combo1{}; // key k: page k / 6 + 1, key P(k % 6 + 1)
    std::array<QGroupBox*, kKeyPages> Frame1{};
    QComboBox* Combo2 = nullptr; // pages in use
    QLabel* Label2 = nullptr;
    QPushButton* CommandClose = nullptr;
    QPushButton* CommandHelp = nullptr;

  private:
    void KeyChosen(int k);
    void PagesChosen();

    Program& p_;
    bool loading_ = false;
    std::vector<Subscription> subscriptions_; // end with the window
};

} // namespace tarvane
