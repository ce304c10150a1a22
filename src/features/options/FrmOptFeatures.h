#pragma once
// The optional-features window: the radio's menu options, the SWR limit and the
// common channel data. Every change goes into the working image at once.
#include <QWidget>
#include <array>
#include <vector>

#include "base/Signal.h"
#include "features/options/OptionFields.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvane {

struct Program;

// The default-channel lists Combo2[j] beside kChAmFmList, kChPowerList and
// kChRogerBeepList; j = 3 does not exist.
inline constexpr int kChDuplexList = 1;
inline constexpr int kChToneSquelchList = 2;
inline constexpr int kChHighCutList = 4;
inline constexpr int kChBusyLockOutList = 5;
inline constexpr int kChNoiseBlankerList = 6;
inline constexpr int kChShift5kList = 7; // +/- 5 kHz: never shown
inline constexpr int kChDtmfStartList = 11;
inline constexpr int kChDtmfEndList = 12;
inline constexpr int kChDtmfCallList = 13;

class FrmOptFeatures : public QWidget {
    Q_OBJECT
  public:
    explicit FrmOptFeatures(Program& p, QWidget* parent = nullptr);

    // Ids of SaveOptFeat beside the option lists 0..22.
    static constexpr int kSaveChannelList = 100; // + j: default-channel list j
    static constexpr int kSaveOffset = 200;      // the offset box
    static constexpr int kSaveSwrInUse = 300;    // the SWR check box

    // Stores the one control named by id: an option list, a default-channel list,
    // the offset box or the SWR check box.
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

    std::array<QComboBox*, kOptionListCount> Combo1{};    // option lists
    std::array<QComboBox*, kChDtmfCallList + 1> Combo2{}; // default-channel lists; 0 and 3 do not exist
    std::array<QLabel*, kOptionListCount> Label1{};
    std::array<QLabel*, kChDtmfCallList + 1> Label2{};
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
