#include "freq/ChannelEdit.h"

#include <algorithm>

#include "base/FieldHelpers.h"
#include "base/NumberText.h"
#include "freq/Bands.h"
#include "freq/ChannelSlots.h"
#include "freq/FreqCodec.h"
#include "state/History.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"

namespace tarvane {
namespace {

int16_t* IntegerField(ChannelRecord& r, int column) {
    switch (column) {
    case kColPublic:
        return &r.Public;
    case kColDup:
        return &r.DUP;
    case kColTsq:
        return &r.TSQ;
    case kColScan:
        return &r.Scan;
    case kColHiCut:
        return &r.HI_CUT;
    case kColBusy:
        return &r.BUSY;
    case kColNb:
        return &r.NB;
    case kColAddSub5K:
        return &r.Add_Sub_5K;
    case kColAmFm:
        return &r.AM_FM;
    case kColTxPower:
        return &r.Tx_Power;
    case kColRdct:
        return &r.RDCT;
    case kColTdct:
        return &r.TDCT;
    default:
        return nullptr;
    }
}

bool InGroup(int slot, int base, int size) {
    return slot - base >= 1 && slot - base <= size;
}

void NotifyRow(Program& p, int slot) {
    p.Notify.channelRowChanged(slot);
    p.Notify.channelEditReload();
}

} // namespace

bool ChannelDeleteAllowed(const RadioImage& image, int slot, int group, int band) {
    if (slot == 401) return false; // the VFO is never deleted
    if (slot <= 400) return CountNormalOutside(image, group, band) > 0;
    return CountInGroup(image, group, band) > 1;
}

bool SetRecordField(ChannelRecord& r, int column, std::string_view value) {
    switch (column) {
    case kColRxFreq:
        r.RxFreq.Assign(DisplayToFreq(value));
        return true;
    case kColOffSetFre:
        r.OffSetFre = ClampNumberText(value, 5, 1000, 5, 5);
        return true;
    case kColRbTone:
        r.RBTone = ClampNumberText(value, 0, 8, 1, 0);
        return true;
    case kColDtmfBot:
        r.DTMF_BOT = ClampNumberText(value, 0, 16, 1, 0);
        return true;
    case kColDtmfEot:
        r.DTMF_EOT = ClampNumberText(value, 0, 16, 1, 0);
        return true;
    case kColDtmfCall:
        r.DTMF_Call = ClampNumberText(value, 0, 16, 1, 0);
        return true;
    default:
        break;
    }
    int16_t* field = IntegerField(r, column);
    if (!field) return false;
    auto n = ToInt16(value);
    if (!n) return false;
    *field = *n;
    if (column == kColAmFm && *n == 1 && r.Tx_Power > 1) r.Tx_Power = 1; // the top power level is FM only
    return true;
}

void SetChannelField(Program& p, int group, int channel, int column, std::string_view value) {
    const int band = p.Model.ModelType;
    if (channel < 1 || channel > GroupSize(group, band)) return; // names no slot of the group
    NoteEdit(p, ChannelFieldLabel(p, group, channel, column));
    const bool freqColumn = column == kColRxFreq;
    std::string v(value);
    if (freqColumn && !v.empty()) v = CheckFreq(p, v, group, band);
    const int slot = GroupBase(group, band) + channel;
    const int index = FindChannelSlot(p.Image, slot);
    if (index < 0) {
        if (freqColumn && !v.empty() && AddChannel(p, slot, CheckFreq(p, v, group, band)))
            AfterGroupChange(p, group);
    } else if (freqColumn && v.empty()) {
        // A refused delete leaves the channel as it was, silently.
        if (ChannelDeleteAllowed(p.Image, slot, group, band)) RemoveChannel(p, index);
        AfterGroupChange(p, group);
    } else {
        ChannelRecord& r = p.Image.Channels[static_cast<size_t>(index)];
        bool unchanged = freqColumn && v == FreqToDisplay(p, r.RxFreq.Raw());
        if (!unchanged) {
            SetRecordField(r, column, v);
            if (freqColumn) AfterGroupChange(p, group);
        }
    }
    NotifyRow(p, slot);
}

bool AddChannel(Program& p, int slot, std::string_view displayText) {
    return AppendChannel(p.Image, slot, displayText);
}

bool RemoveChannel(Program& p, int index) {
    const int n = p.Image.UsedCount();
    if (index < 0 || index >= n) return false;
    auto first = p.Image.Channels.begin();
    std::move(first + index + 1, first + n, first + index);
    p.Image.Settings.ChannelCount = static_cast<int16_t>(n - 1);
    return true;
}

int CountInGroup(const RadioImage& image, int group, int band) {
    const int base = GroupBase(group, band), size = GroupSize(group, band);
    int count = 0;
    for (int i = 0; i < image.UsedCount(); ++i)
        if (InGroup(image.Channels[static_cast<size_t>(i)].SlotNumber, base, size)) ++count;
    return count;
}

int CountNormalOutside(const RadioImage& image, int group, int band) {
    const int base = GroupBase(group, band), size = GroupSize(group, band);
    int count = 0;
    for (int i = 0; i < image.UsedCount(); ++i) {
        int slot = image.Channels[static_cast<size_t>(i)].SlotNumber;
        // Slots below 1 are no channel at all and must not make a delete possible.
        if (slot >= 1 && slot <= 400 && !InGroup(slot, base, size)) ++count;
    }
    return count;
}

int16_t ValidChannelSel(const RadioImage& image, int group, int selection, int band) {
    const int base = GroupBase(group, band), size = GroupSize(group, band);
    int lowest = 0; // channel number; 0 while none is found
    for (int i = 0; i < image.UsedCount(); ++i) {
        int n = image.Channels[static_cast<size_t>(i)].SlotNumber - base;
        if (n < 1 || n > size) continue;
        if (n == selection + 1) return static_cast<int16_t>(selection);
        if (lowest == 0 || n < lowest) lowest = n;
    }
    return static_cast<int16_t>(lowest > 0 ? lowest - 1 : 0);
}

void AfterGroupChange(Program& p, int group) {
    const int band = p.Model.ModelType;
    FeatureBlock& f = p.Image.Settings.Features;
    if (group != 10) {
        const int n = CountInGroup(p.Image, group, band);
        if (group == MemGroup(band)) {
            f.MemChannelSel = n > 0 ? ValidChannelSel(p.Image, group, f.MemChannelSel, band) : 0;
        } else if (group == EmgGroup(band)) {
            f.EmgChannelSel =
                static_cast<uint8_t>(n > 0 ? ValidChannelSel(p.Image, group, f.EmgChannelSel, band) : 0);
        } else if (group >= 0 && group <= 9) {
            const auto g = static_cast<size_t>(group);
            if (n > 0) {
                f.WorkChannel[g] = ValidChannelSel(p.Image, group, f.WorkChannel[g], band);
                f.GroupEmgChannel1[g] = ValidChannelSel(p.Image, group, f.GroupEmgChannel1[g], band);
                f.GroupEmgChannel2[g] = ValidChannelSel(p.Image, group, f.GroupEmgChannel2[g], band);
            } else {
                f.GroupEnabled[g] = f.WorkChannel[g] = f.GroupEmgChannel1[g] = f.GroupEmgChannel2[g] = 0;
            }
            EnsureOneGroupEnabled(p, band);
        }
    }
    p.Notify.groupPanelChanged();
}

void EnsureOneGroupEnabled(Program& p, int band) {
    const int highest = HighestPlanGroup(band);
    auto& enabled = p.Image.Settings.Features.GroupEnabled;
    for (int g = 0; g <= highest; ++g)
        if (enabled[static_cast<size_t>(g)] > 0) return;
    for (int i = 0; i < p.Image.UsedCount(); ++i) {
        int slot = p.Image.Channels[static_cast<size_t>(i)].SlotNumber;
        if (slot < 1 || slot > 400) continue;
        int g = GroupOfSlot(slot, band);
        if (g >= 0 && g <= highest) {
            enabled[static_cast<size_t>(g)] = 1;
            return;
        }
    }
}

int CountOtherEnabledGroups(const RadioImage& image, int group, int band) {
    int count = 0;
    for (int g = 0; g <= HighestPlanGroup(band); ++g)
        if (g != group && image.Settings.Features.GroupEnabled[static_cast<size_t>(g)] > 0) ++count;
    return count;
}

std::string ChannelFieldLabel(Program& p, int group, int channel, int column) {
    // Short field names, one per column code 1..18.
    static constexpr TextId kFieldNames[18] = {
        txt::kFrequency_33210, txt::kCommonData,      txt::kDuplex,
        txt::kOffset,          txt::kToneSquelch,     txt::kScan,
        txt::kHighCut,         txt::kBusyLockOut,     txt::kNoiseBlanker,
        txt::kN5KHz,           txt::kModulation,      txt::kTransmitPower,
        txt::kRogerBeep,       txt::kDTMFStart,       txt::kDTMFEnd,
        txt::kDTMFCall,        txt::kReceiveCTCSSDCS, txt::kTransmitCTCSSDCS_33227};
    const bool known = column >= kColRxFreq && column <= kColTdct;
    const std::string field = known ? LangText(p, kFieldNames[column - 1]) : std::string();
    return FillIn(LangText(p, txt::kChannel_33204),
                  {GroupName(group, p.Model.ModelType), std::to_string(channel), field});
}

std::string ChannelCommandLabel(Program& p, ChannelCommand command, int group, int first, int count) {
    TextId id = txt::kCutChannels;
    switch (command) {
    case ChannelCommand::Cut:
        id = txt::kCutChannels;
        break;
    case ChannelCommand::Paste:
        id = txt::kPasteChannels;
        break;
    case ChannelCommand::Insert:
        id = txt::kInsertChannel;
        break;
    case ChannelCommand::Delete:
        id = txt::kDeleteChannel;
        break;
    case ChannelCommand::Move:
        id = txt::kMoveChannel;
        break;
    }
    const std::string rows =
        count > 1 ? std::to_string(first) + "-" + std::to_string(first + count - 1) : std::to_string(first);
    return FillIn(LangText(p, id), {GroupName(group, p.Model.ModelType), rows});
}

} // namespace tarvane
