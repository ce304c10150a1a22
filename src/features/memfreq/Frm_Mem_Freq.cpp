#include "features/memfreq/Frm_Mem_Freq.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "base/NumberText.h"
#include "freq/Bands.h"
#include "freq/ChannelSlots.h"
#include "freq/FreqCodec.h"
#include "image/ImageOps.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"
#include "ui/DialogCaptions.h"
#include "ui/ListHelpers.h"
#include "ui/ToQ.h"
#include "ui/Twips.h"

namespace tarvane {

namespace {
// The plans offered are always those of a CB radio, whatever the model.
constexpr int kPlans = 8;
// Design pixels, grown with the font; the labels widen for longer texts.
constexpr int kLabelX = 8, kLabelW = 80, kFieldW = 120, kRow = 30, kButtonW = 76;
} // namespace

Frm_Mem_Freq::Frm_Mem_Freq(Program& p, const QString& freqText, QWidget* parent) : QDialog(parent), p_(p) {
    setObjectName("Frm_Mem_Freq");
    setModal(true);
    loading_ = true;
    const TextId captions[3] = {txt::kEditBand, txt::kEditChannel_15052, txt::kEditFrequency};
    QLabel* labels[3];
    for (int i = 0; i < 3; ++i) {
        labels[i] = new QLabel(ToQ(LangText(p_, captions[i])), this);
        labels[i]->setObjectName(QString("Label%1").arg(i + 1));
        labels[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    const int labelW = WidthForTexts(kLabelW, {labels[0], labels[1], labels[2]});
    const int fieldX = Px(kLabelX) + labelW + Px(8), row = Px(kRow), top = Px(12), fieldH = Px(22);
    for (int i = 0; i < 3; ++i)
        labels[i]->setGeometry(Px(kLabelX), top + i * row, labelW, fieldH);
    setWindowTitle(ToQ(LangText(p_, txt::kMemoryFrequency)));
    group_ = new QComboBox(this);
    group_->setObjectName("Combo1");
    group_->setGeometry(fieldX, top, Px(kFieldW), fieldH);
    channel_ = new QComboBox(this);
    channel_->setObjectName("Combo2");
    channel_->setGeometry(fieldX, top + row, Px(kFieldW), fieldH);
    freq_ = new QLineEdit(this);
    freq_->setObjectName("Text1");
    freq_->setGeometry(fieldX, top + 2 * row, Px(kFieldW), fieldH);
    auto* ok = new QPushButton(this);
    ok->setObjectName("CommandOK");
    ok->setDefault(true);
    auto* cancel = new QPushButton(this);
    cancel->setObjectName("CommandCancel");
    SetOkCancelCaptions(this, p_);
    const int buttonW = WidthForTexts(kButtonW, {ok, cancel}), buttons = top + 3 * row + Px(8);
    const int right = std::max(fieldX + Px(kFieldW), Px(kLabelX) + 2 * buttonW + Px(6));
    cancel->setGeometry(right - buttonW, buttons, buttonW, Px(28));
    ok->setGeometry(cancel->x() - Px(6) - buttonW, buttons, buttonW, Px(28));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(right + Px(12), buttons + Px(28) + Px(12));

    group_->addItem(ToQ(LangText(p_, txt::kOff)));
    for (int g = 0; g < kPlans; ++g)
        group_->addItem(ToQ(GroupName(g, kBandCB)));
    freq_->setText(freqText);
    if (auto v = ParseDouble(freqText.toStdString())) {
        PlanPick pick = NearestPlanFreq(p_.Image, p_.Model, *v);
        if (pick.Group >= 0 && pick.Group < kPlans) {
            groupPos_ = pick.Group + 1;
            channelPos_ = pick.Index;
        }
    }
    SelectListIndex(group_, groupPos_);
    FillChannels();
    loading_ = false;

    connect(group_, &QComboBox::activated, this, [this] {
        if (loading_) return;
        groupPos_ = std::max(0, group_->currentIndex());
        FillChannels();
        ShowFreq();
    });
    connect(channel_, &QComboBox::activated, this, [this] {
        channelPos_ = std::max(0, channel_->currentIndex());
        ShowFreq();
    });
}

QString Frm_Mem_Freq::FreqText() const {
    return freq_->text();
}

void Frm_Mem_Freq::FillChannels() {
    channel_->clear();
    if (groupPos_ <= 0) {
        channel_->setCurrentIndex(-1);
        return;
    }
    const int size = GroupSize(groupPos_ - 1, kBandCB);
    for (int n = 1; n <= size; ++n)
        channel_->addItem(QString::number(n));
    if (channelPos_ < 0 || channelPos_ >= size) channelPos_ = 0;
    channel_->setCurrentIndex(channelPos_);
}

void Frm_Mem_Freq::ShowFreq() {
    if (groupPos_ <= 0) {
        freq_->clear();
        return;
    }
    const int group = groupPos_ - 1;
    const int index = FindChannelSlot(p_.Image, GroupBase(group, kBandCB) + channelPos_ + 1);
    if (index < 0) return; // a channel the plan does not hold leaves the box as it was
    const std::string raw = p_.Image.Channels[static_cast<size_t>(index)].RxFreq.Trimmed();
    if (!IsNoFreq(raw) && FreqToDisplaySilent(raw).empty()) return; // a damaged text is not offered
    freq_->setText(ToQ(FreqToGroupDisplay(p_, raw, group, kBandCB)));
}

} // namespace tarvane
