// The channel table's group choice, its group panel and its channel-edit commands.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QTableWidget>

#include "channels/ChannelClipboard.h"
#include "channels/ChannelRules.h"
#include "channels/GroupChoice.h"
#include "channels/frmCommChInfo.h"
#include "freq/Bands.h"
#include "freq/ChannelEdit.h"
#include "freq/FreqCodec.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"
#include "ui/ListHelpers.h"
#include "ui/Twips.h"

namespace tarvane {

namespace {

// Panel geometry, in design pixels.
constexpr int kPanelTop = 8, kPanelRow = 26, kPanelListH = 22;
constexpr int kGroupW = 110, kPanelLabelW = 171, kPanelListW = 72, kModListW = 60;
// A label stands 100 twips left of its list.
constexpr int kLabelGapTwips = 100;

} // namespace

void frmCommChInfo::BuildPanel() {
    const int band = p_.Model.ModelType;
    groupLabel_ = new QLabel(this);
    groupLabel_->setObjectName("lblGroup");
    groups_ = new GroupChoice(this, band);
    connect(groups_, &GroupChoice::GroupChosen, this, [this](int g) { ChooseGroup(g); });

    for (int i = 0; i < 4; ++i) {
        panelLabels_[i] = new QLabel(this);
        panelLabels_[i]->setObjectName(QString("lblPanel%1").arg(i));
        panelLabels_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        panelLists_[i] = new QComboBox(this);
        panelLists_[i]->setObjectName(QString("cboPanel%1").arg(i));
    }
    panelLists_[3]->addItems({QString::fromStdString(LangText(p_, txt::kDisable)),
                              QString::fromStdString(LangText(p_, txt::kEnable))});
    for (int k = 0; k < 2; ++k) {
        emgMod_[k] = new QComboBox(this);
        emgMod_[k]->setObjectName(QString("cboEmgMod%1").arg(k + 1));
        emgMod_[k]->addItems({"FM", "AM"});
        connect(emgMod_[k], &QComboBox::activated, this, [this, k] { EmgModulationChosen(k); });
    }
    connect(panelLists_[0], &QComboBox::activated, this, [this] { PanelList0Chosen(); });
    connect(panelLists_[1], &QComboBox::activated, this, [this] { EmgChannelChosen(0); });
    connect(panelLists_[2], &QComboBox::activated, this, [this] { EmgChannelChosen(1); });
    connect(panelLists_[3], &QComboBox::activated, this, [this] { GroupEnabledChosen(); });
}

void frmCommChInfo::LayOutPanel() {
    const int top = Px(kPanelTop), row = Px(kPanelRow), listH = Px(kPanelListH);
    const int groupW = std::max(WidthForTexts(kGroupW, {groupLabel_}), groups_->NeededWidth(kGroupW));
    groupLabel_->setGeometry(Px(8), top, groupW, listH - Px(2));
    groups_->Place(Px(8), top + listH, groupW, row + Px(2));
    const int labelX = Px(8) + groupW + Px(10);
    // The lists stay where they were drawn unless the group list or a label needs more room.
    const int needW = WidthForTexts(0, {panelLabels_[0], panelLabels_[1], panelLabels_[2], panelLabels_[3]});
    const int listX = std::max(Px(8 + kGroupW + 10 + kPanelLabelW) + Twips(kLabelGapTwips),
                               labelX + needW + Twips(kLabelGapTwips));
    const int labelW = listX - Twips(kLabelGapTwips) - labelX;
    const int listW =
        WidthForItems(kPanelListW, {panelLists_[0], panelLists_[1], panelLists_[2], panelLists_[3]});
    const int modX = listX + listW + Px(8), modW = WidthForItems(kModListW, {emgMod_[0], emgMod_[1]});
    for (int i = 0; i < 4; ++i) {
        panelLabels_[i]->setGeometry(labelX, top + i * row, labelW, listH);
        panelLists_[i]->setGeometry(listX, top + i * row, listW, listH);
    }
    for (int k = 0; k < 2; ++k)
        emgMod_[k]->setGeometry(modX, top + (k + 1) * row, modW, listH);
    panelRight_ = modX + modW;
    panelBottom_ = std::max(top + 3 * row + listH, groups_->Bottom());
}

void frmCommChInfo::ChangeGroup() {
    groups_->ShowGroup(group_);
}

void frmCommChInfo::ChooseGroup(int group) {
    const int band = p_.Model.ModelType;
    if (GroupSize(group, band) <= 0) return;
    CommitEdit();
    p_.Image.Settings.Features.CurrentGroup = static_cast<int16_t>(group);
    group_ = group;
    InitShowGrid();
    // An open edit dialog follows with channel 1 of the group.
    p_.Notify.channelEditReload();
}

void frmCommChInfo::ReshowByCh() {
    const int band = p_.Model.ModelType;
    const FeatureBlock& f = p_.Image.Settings.Features;
    refreshing_ = true;
    const QString name = QString::fromStdString(GroupName(group_, band));
    const bool vfo = name == "VFO";
    const bool mem = group_ == MemGroup(band), emg = group_ == EmgGroup(band);
    const bool plan = !vfo && !mem && !emg;
    for (int i = 0; i < 4; ++i) {
        const bool shown = i == 0 ? !vfo : plan;
        panelLabels_[i]->setVisible(shown);
        panelLists_[i]->setVisible(shown);
    }
    for (QComboBox* m : emgMod_)
        m->setVisible(plan);
    if (!vfo) {
        const QStringList channels = ToQStringList(ChannelListEntries(p_, group_, band, false));
        const int shown0 = mem   ? f.MemChannelSel
                           : emg ? f.EmgChannelSel
                                 : f.WorkChannel[static_cast<size_t>(group_)];
        panelLists_[0]->clear();
        panelLists_[0]->addItems(channels);
        SelectListText(panelLists_[0], QString::number(shown0 + 1));
        if (plan) {
            const auto g = static_cast<size_t>(group_);
            for (int k = 0; k < 2; ++k) {
                panelLists_[k + 1]->clear();
                panelLists_[k + 1]->addItems(channels);
                const int sel = k == 0 ? f.GroupEmgChannel1[g] : f.GroupEmgChannel2[g];
                SelectListText(panelLists_[k + 1], QString::number(sel + 1));
                ShowEmgModulation(k, sel);
            }
            SelectListIndex(panelLists_[3], f.GroupEnabled[g] > 0 ? 1 : 0);
        }
    }
    refreshing_ = false;
}

// The modulation list of an emergency channel: FM only, and disabled, where the
// plan allows FM only.
void frmCommChInfo::ShowEmgModulation(int which, int selection) {
    FeatureBlock& f = p_.Image.Settings.Features;
    const auto g = static_cast<size_t>(group_);
    auto& stored = which == 0 ? f.GroupEmgAmFm1[g] : f.GroupEmgAmFm2[g];
    const bool locked = EmgModulationLocked(group_, p_.Model.ModelType, selection);
    if (locked && stored != 0) stored = 0;
    const QSignalBlocker block(emgMod_[which]);
    SelectListIndex(emgMod_[which], stored);
    emgMod_[which]->setEnabled(!locked);
}

void frmCommChInfo::PanelList0Chosen() {
    if (refreshing_) return;
    CommitEdit();
    const int band = p_.Model.ModelType;
    FeatureBlock& f = p_.Image.Settings.Features;
    // A text that is not a channel number selects the first channel.
    const int sel = std::max(0, ListNumberOr(panelLists_[0], 0) - 1);
    if (group_ == MemGroup(band))
        f.MemChannelSel = static_cast<int16_t>(sel);
    else if (group_ == EmgGroup(band))
        f.EmgChannelSel = static_cast<uint8_t>(sel);
    else if (group_ >= 0 && group_ <= HighestPlanGroup(band))
        f.WorkChannel[static_cast<size_t>(group_)] = static_cast<int16_t>(sel);
}

void frmCommChInfo::EmgChannelChosen(int which) {
    if (refreshing_ || !panelLists_[which + 1]->isVisible()) return;
    if (group_ < 0 || group_ > HighestPlanGroup(p_.Model.ModelType)) return;
    CommitEdit();
    FeatureBlock& f = p_.Image.Settings.Features;
    const auto g = static_cast<size_t>(group_);
    const int sel = std::max(0, ListNumberOr(panelLists_[which + 1], 0) - 1);
    (which == 0 ? f.GroupEmgChannel1[g] : f.GroupEmgChannel2[g]) = static_cast<int16_t>(sel);
    ShowEmgModulation(which, sel);
}

void frmCommChInfo::EmgModulationChosen(int which) {
    if (refreshing_ || group_ < 0 || group_ > 9) return;
    CommitEdit();
    FeatureBlock& f = p_.Image.Settings.Features;
    const auto g = static_cast<size_t>(group_);
    const int pos = emgMod_[which]->currentIndex();
    if (pos < 0) return;
    (which == 0 ? f.GroupEmgAmFm1[g] : f.GroupEmgAmFm2[g]) = static_cast<uint8_t>(pos);
}

void frmCommChInfo::GroupEnabledChosen() {
    if (refreshing_) return;
    const int band = p_.Model.ModelType;
    if (group_ < 0 || group_ > HighestPlanGroup(band)) return;
    CommitEdit();
    auto& flag = p_.Image.Settings.Features.GroupEnabled[static_cast<size_t>(group_)];
    const QSignalBlocker block(panelLists_[3]);
    if (CountInGroup(p_.Image, group_, band) < 1) {
        // A group without channels cannot be on.
        flag = 0;
        SelectListIndex(panelLists_[3], 0);
        EnsureOneGroupEnabled(p_, band);
    } else if (CountOtherEnabledGroups(p_.Image, group_, band) > 0) {
        flag = static_cast<int16_t>(std::max(0, panelLists_[3]->currentIndex()));
    } else {
        // The only group switched on stays on.
        flag = 1;
        SelectListIndex(panelLists_[3], 1);
    }
}

// ---- channel-edit commands -------------------------------------------------------

void frmCommChInfo::RunCommand(const QString& key) {
    Guard("frmCommChInfo_SetGridData", [this, key] {
        CommitEdit();
        const QString cmd = key.mid(5); // after "BtnCH" or "MnuCH"
        const auto [first, count] = SelectedChannels();
        const int channel = CurrentChannel();
        if (cmd == "Copy") {
            QApplication::clipboard()->setText(
                QString::fromStdString(CopyChannels(p_, group_, first, count)));
        } else if (cmd == "Cut") {
            CutResult r = CutChannels(p_, group_, first, count);
            QApplication::clipboard()->setText(QString::fromStdString(r.Text));
            if (r.Kept > 0) TellId(p_, txt::kSomeChannelsCouldNot, MsgIcon::Information);
        } else if (cmd == "Paste") {
            PasteResult r =
                PasteChannels(p_, group_, channel, QApplication::clipboard()->text().toStdString());
            if (!r.Valid) TellId(p_, txt::kClipboardHoldsNoChannels, MsgIcon::Warning);
        } else if (cmd == "Insert") {
            if (InsertDropsLast(p_, group_, channel) &&
                TellId(p_, txt::kLastChannelGroupPushed, MsgIcon::Question, MsgButtons::YesNo) !=
                    MsgAnswer::Yes)
                return;
            if (InsertChannelRow(p_, group_, channel) == RowEdit::Refused)
                TellId(p_, txt::kChannelCannotDeletedRadio, MsgIcon::Warning);
        } else if (cmd == "Delete") {
            if (DeleteChannelRow(p_, group_, channel) == RowEdit::Refused)
                TellId(p_, txt::kChannelCannotDeletedRadio, MsgIcon::Warning);
        } else if (cmd == "MoveUp" || cmd == "MoveDown") {
            const int direction = cmd == "MoveUp" ? -1 : 1;
            if (MoveChannel(p_, group_, channel, direction) == RowEdit::Done)
                SelectChannel(channel + direction);
        }
        grid_->setFocus(Qt::OtherFocusReason);
    });
}

} // namespace tarvane
