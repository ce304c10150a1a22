#include "features/keys/FrmKey.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <array>

#include "features/keys/KeysArea.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"
#include "ui/DialogCaptions.h"
#include "ui/FeatureWidgets.h"
#include "ui/ListHelpers.h"
#include "ui/ToQ.h"

namespace tarvane {

namespace {

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
    std::array<QLabel*, kKeys> keyLabels{};
    for (int d = 0; d < kKeyPages; ++d) {
        auto* frame = new QGroupBox(text(txt::kKeyPage) + " " + QString::number(d + 1), this);
        frame->setObjectName(QString("Frame1_%1").arg(d));
        Frame1[static_cast<size_t>(d)] = frame;
        for (int i = 0; i < kKeysPerPage; ++i) {
            const int k = d * kKeysPerPage + i;
            auto* c = new QComboBox(frame);
            c->setObjectName(QString("Combo1_%1").arg(k));
            c->setMaxVisibleItems(20);
            FillList(c, KeyFunctionNames());
            EnterMovesFocus(c);
            connect(c, &QComboBox::activated, this, [this, k] { KeyChosen(k); });
            Combo1[static_cast<size_t>(k)] = c;
            keyLabels[static_cast<size_t>(k)] = new QLabel(QString("P%1").arg(i + 1), frame);
        }
    }
    Combo2 = new QComboBox(this);
    Combo2->setObjectName("Combo2");
    FillList(Combo2, KeyPageChoices());
    EnterMovesFocus(Combo2);
    connect(Combo2, &QComboBox::activated, this, [this] { PagesChosen(); });
    Label2 = new QLabel(text(txt::kPagesUse), this);
    CommandClose = new QPushButton(this);
    CommandClose->setObjectName("CommandClose");
    connect(CommandClose, &QPushButton::clicked, this, &QWidget::close);
    CommandHelp = new QPushButton(this);
    CommandHelp->setObjectName("CommandHelp");
    CommandHelp->hide(); // help is switched off in this program
    SetCloseHelpCaptions(this, p_);

    // Places, in design pixels grown with the font; a frame is as wide as its title.
    const int listW = WidthForItems(96, {Combo1[0]}), rowH = Px(24), row = Px(kRow);
    const int frameW = std::max(Px(kFrameW), TextWidth(Frame1[0], Frame1[0]->title()) + Px(24));
    const int listX = std::max(Px(60), (frameW - listW) / 2 + Px(16));
    for (int d = 0; d < kKeyPages; ++d) {
        Frame1[static_cast<size_t>(d)]->setGeometry(Px(8) + d * (frameW + Px(8)), Px(8), frameW,
                                                    Px(28) + kKeysPerPage * row);
        for (int i = 0; i < kKeysPerPage; ++i) {
            const size_t k = static_cast<size_t>(d * kKeysPerPage + i);
            Combo1[k]->setGeometry(listX, Px(26) + i * row, listW, rowH);
            PlaceLabelLeftOf(keyLabels[k], Combo1[k], 100, Px(36));
        }
    }
    const int width = Px(8) + kKeyPages * (frameW + Px(8));
    const int below = Px(8) + Px(28) + kKeysPerPage * row + Px(12);
    const int label2W = WidthForTexts(200, {Label2});
    const int combo2X = std::max(Px(8) + frameW + Px(8) + listX, Px(8) + label2W + Twips(100));
    Combo2->setGeometry(combo2X, below, WidthForItems(96, {Combo2}), rowH);
    PlaceLabelLeftOf(Label2, Combo2, 100, label2W);
    const int buttonW = WidthForTexts(100, {CommandClose, CommandHelp});
    CommandClose->setGeometry(width - Px(8) - buttonW, below + Px(36), buttonW, Px(28));
    CommandHelp->setGeometry(CommandClose->x() - buttonW - Px(8), below + Px(36), buttonW, Px(28));
    setFixedSize(std::max(width, Combo2->geometry().right() + Px(8)), below + Px(36) + Px(28) + Px(10));
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
