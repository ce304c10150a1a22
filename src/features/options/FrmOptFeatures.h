#pragma once
#include <vector>

#include "base/Signal.h"
// The optional-features window: the radio's menu options, the SWR limit and the
// common channel data. Every change goes into the working image at once.
#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvane {

struct Program;

class FrmOptFeatures : public QWidget {
    Q_OBJECT
  public:
    explicit FrmOptFeatures(Program& p, QWidget* parent = nullptr);

    // Stores the one control named by id: 0..22 option list, 101..113 default-channel
    // list id - 100, 200 the offset box, 300 the SWR check box.
    void SaveOptFeat(int id);
    void ShowOptFeat();
    // The image was replaced as a whole: every list and box shows it again.
    void ShowReplacedImage();
    // Rebuilds the roger-beep list and selects the stored value.
    void ShowRBOpt();
    // Refills the three DTMF code lists, keeping the entry shown where it remains.
    void RefillDtmfLists();
    static bool NotInComboList(const QComboBox* list, int index);
    // Stores an SWR limit typed but not yet confirmed by leaving the box, before
    // the image is saved or written.
    Q_INVOKABLE void CommitEdit();

    std::array<QComboBox*, 23> Combo1{}; // option lists
    std::array<QComboBox*, 14> Combo2{}; // default-channel lists; 0 and 3 do not exist
    std::array<QLabel*, 23> Label1{};
    std::array<QLabel*, 14> Label2{};
    QComboBox* Combo3 = nullptr; // CB: country
    QComboBox* Combo4 = nullptr; // CB: "EI" / "UK", shown for "UK"
    QLineEdit* Text1 = nullptr;  // offset
    QLineEdit* Text2 = nullptr;  // SWR limit
    QCheckBox* Check1 = nullptr; // SWR limit in use
    QLabel* Label3 = nullptr;    // offset label
    QLabel* Label4 = nullptr;    // maximum of the SWR limit
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QPushButton* CommandClose = nullptr;
    QPushButton* CommandHelp = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void BuildControls();
    void LayoutControls();
    void ApplyCaptions();
    void FillLists();
    void FillPowerList();
    void ShowCountry();
    void CountryChosen(bool fromSubList);
    void SwrLeft();

    Program& p_;
    std::vector<Subscription> subscriptions_; // end with the window
    bool loading_ = false;
    bool isCB_ = true;
};

} // namespace tarvane
