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

namespace tarvane {

namespace {
// The plans offered are always those of a CB radio, whatever the model.
constexpr int kPlans = 8;
constexpr int kLabelX = 8, kLabelW = 80, kFieldX = 96, kFieldW = 120, kRow = 30;
} // namespace

Frm_Mem_Freq::Frm_Mem_Freq(Program& p, const QString& freqText, QWidget* parent) : QDialog(parent), p_(p) {
    setObjectName("Frm_Mem_Freq");
    setModal(true);
    loading_ = true;
    const TextId captions[3] = {txt::kEditBand, txt::kEditChannel_15052, txt::kEditFrequency};
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(ToQ(LangText(p_, captions[i])), this);
        label->setObjectName(QString("Label%1").arg(i + 1));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setGeometry(kLabelX, 12 + i * kRow, kLabelW, 22);
    }
    setWindowTitle(ToQ(LangText(p_, txt::kMemoryFrequency)));
    group_ = new QComboBox(this);
    group_->setObjectName("Combo1");
    group_->setGeometry(kFieldX, 12, kFieldW, 22);
    channel_ = new QComboBox(this);
    channel_->setObjectName("Combo2");
    channel_->setGeometry(kFieldX, 12 + kRow, kFieldW, 22);
    freq_ = new QLineEdit(this);
    freq_->setObjectName("Text1");
    freq_->setGeometry(kFieldX, 12 + 2 * kRow, kFieldW, 22);
    auto* ok = new QPushButton(this);
    ok->setObjectName("CommandOK");
    ok->setGeometry(kFieldX + kFieldW - 2 * 76 - 6, 12 + 3 * kRow + 8, 76, 28);
    ok->setDefault(true);
    auto* cancel = new QPushButton(this);
    cancel->setObjectName("CommandCancel");
    cancel->setGeometry(kFieldX + kFieldW - 76, 12 + 3 * kRow + 8, 76, 28);
    SetOkCancelCaptions(this, p_);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(kFieldX + kFieldW + 12, 12 + 3 * kRow + 8 + 28 + 12);

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
