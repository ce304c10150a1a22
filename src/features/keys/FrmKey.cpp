#include "features/keys/FrmKey.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"
#include "ui/DialogCaptions.h"
#include "ui/FeatureWidgets.h"
#include "ui/ListHelpers.h"
#include "ui/ToQ.h"

namespace tarvane {

namespace {

// Function codes 1..20 in list order.
const std::vector<std::string> kFunctions{"MOD", "RFG", "EMG", "VOL", "SQL", "POW", "DSP",
                                          "SCA", "MEM", "BND", "DW",  "CAL", "NB",  "RB",
                                          "HIC", "TSQ", "SPL", "5K",  "DIM", "NULL"};
// The pages in use, Combo2.
const std::vector<std::string> kPageChoices{"1&2", "1&3", "2&3", "1&2&3"};

constexpr int kFrameW = 170;
constexpr int kRow = 30;
constexpr int kKeys = FrmKey::kKeyPages * FrmKey::kKeysPerPage;

// The key table: the pages in use first, then the function code of each key.
constexpr size_t kPagesEntry = 0;
constexpr size_t kFirstKeyEntry = 1;

} // namespace

FrmKey::FrmKey(Program& p, QWidget* parent) : QWidget(parent), p_(p) {
    setObjectName("FrmKey");
    loading_ = true;
    auto text = [this](TextId id) { return ToQ(LangText(p_, id)); };
    setWindowTitle(text(txt::kKeyProgrammableKeys));
    for (int d = 0; d < kKeyPages; ++d) {
        auto* frame = new QGroupBox(text(txt::kKeyPage) + " " + QString::number(d + 1), this);
        frame->setObjectName(QString("Frame1_%1").arg(d));
        frame->setGeometry(8 + d * (kFrameW + 8), 8, kFrameW, 28 + kKeysPerPage * kRow);
        Frame1[static_cast<size_t>(d)] = frame;
        for (int i = 0; i < kKeysPerPage; ++i) {
            const int k = d * kKeysPerPage + i;
            auto* c = new QComboBox(frame);
            c->setObjectName(QString("Combo1_%1").arg(k));
            c->setGeometry(60, 26 + i * kRow, 96, 24);
            c->setMaxVisibleItems(20);
            FillList(c, kFunctions);
            EnterMovesFocus(c);
            connect(c, &QComboBox::activated, this, [this, k] { KeyChosen(k); });
            Combo1[static_cast<size_t>(k)] = c;
            auto* l = new QLabel(QString("P%1").arg(i + 1), frame);
            PlaceLabelLeftOf(l, c, 100, 36);
        }
    }
    const int below = 8 + 28 + kKeysPerPage * kRow + 12;
    Combo2 = new QComboBox(this);
    Combo2->setObjectName("Combo2");
    Combo2->setGeometry(8 + kFrameW + 8 + 60, below, 96, 24);
    FillList(Combo2, kPageChoices);
    EnterMovesFocus(Combo2);
    connect(Combo2, &QComboBox::activated, this, [this] { PagesChosen(); });
    Label2 = new QLabel(text(txt::kPagesUse), this);
    PlaceLabelLeftOf(Label2, Combo2, 100, 200);

    CommandClose = new QPushButton(this);
    CommandClose->setObjectName("CommandClose");
    CommandClose->setGeometry(8 + kKeyPages * (kFrameW + 8) - 8 - 100, below + 36, 100, 28);
    connect(CommandClose, &QPushButton::clicked, this, &QWidget::close);
    CommandHelp = new QPushButton(this);
    CommandHelp->setObjectName("CommandHelp");
    CommandHelp->setGeometry(CommandClose->x() - 108, below + 36, 100, 28);
    CommandHelp->hide(); // help is switched off in this program
    SetCloseHelpCaptions(this, p_);
    setFixedSize(8 + kKeyPages * (kFrameW + 8), below + 36 + 28 + 10);
    ShowKeys();
    loading_ = false;
    subscriptions_.push_back(p_.Notify.imageReplaced.Subscribe([this] {
        loading_ = true;
        ShowKeys();
        loading_ = false;
    }));
}

void FrmKey::ShowKeys() {
    const auto& keys = p_.Image.Settings.KeyTable;
    SelectListIndex(Combo2, keys[kPagesEntry]);
    // Codes outside 1..20 show the first entry and stay stored until a choice.
    for (int k = 0; k < kKeys; ++k)
        SelectListIndex(Combo1[static_cast<size_t>(k)], keys[kFirstKeyEntry + static_cast<size_t>(k)] - 1);
}

void FrmKey::KeyChosen(int k) {
    const int i = Combo1[static_cast<size_t>(k)]->currentIndex();
    if (loading_ || i < 0) return;
    p_.Image.Settings.KeyTable[kFirstKeyEntry + static_cast<size_t>(k)] = static_cast<int16_t>(i + 1);
}

void FrmKey::PagesChosen() {
    const int i = Combo2->currentIndex();
    if (loading_ || i < 0) return;
    p_.Image.Settings.KeyTable[kPagesEntry] = static_cast<int16_t>(i);
}

} // namespace tarvane
