#include "channels/ChannelClipboard.h"

#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "base/NumberText.h"
#include "channels/ChannelRules.h"
#include "features/dtmf/DtmfArea.h"
#include "features/tonetips/ToneTipReferences.h"
#include "freq/Bands.h"
#include "freq/ChannelEdit.h"
#include "freq/ChannelSlots.h"
#include "freq/FreqCodec.h"
#include "image/ImageOps.h"
#include "state/Program.h"

namespace tarvane {
namespace {

constexpr int kFieldCount = 18; // column codes 1..18

struct FieldRange {
    int Min, Max;
};
// Valid values of columns 2..18 (index = column code).
// clang-format off
constexpr std::array<FieldRange, kFieldCount + 1> kRanges{{
    {0, 0},                                          // no column 0
    {0, 0},                                          // RxFreq: checked as a frequency
    {0, 1}, {0, 2}, {5, 1000}, {0, 1}, {0, 1},       // Public DUP OffSetFre TSQ Scan
    {0, 1}, {0, 1}, {0, 1}, {0, 1}, {0, 1}, {0, 2},  // HI_CUT BUSY NB Add_Sub_5K AM_FM Tx_Power
    {0, 8}, {0, 16}, {0, 16}, {0, 16},               // RBTone DTMF_BOT DTMF_EOT DTMF_Call
    {0, kToneCodeCount - 1}, {0, kToneCodeCount - 1}, // RDCT TDCT
}};
// clang-format on

int16_t FieldOf(const ChannelRecord& r, int column) {
    switch (column) {
    case kColPublic:
        return r.Public;
    case kColDup:
        return r.DUP;
    case kColOffSetFre:
        return r.OffSetFre;
    case kColTsq:
        return r.TSQ;
    case kColScan:
        return r.Scan;
    case kColHiCut:
        return r.HI_CUT;
    case kColBusy:
        return r.BUSY;
    case kColNb:
        return r.NB;
    case kColAddSub5K:
        return r.Add_Sub_5K;
    case kColAmFm:
        return r.AM_FM;
    case kColTxPower:
        return r.Tx_Power;
    case kColRbTone:
        return r.RBTone;
    case kColDtmfBot:
        return r.DTMF_BOT;
    case kColDtmfEot:
        return r.DTMF_EOT;
    case kColDtmfCall:
        return r.DTMF_Call;
    case kColRdct:
        return r.RDCT;
    case kColTdct:
        return r.TDCT;
    default:
        return 0;
    }
}

struct Line {
    std::string Freq;                                       // "" : no frequency
    std::array<std::optional<int>, kFieldCount + 1> Values; // by column code; empty: leave alone
    bool Empty() const {
        return Freq.empty() &&
               std::none_of(Values.begin(), Values.end(), [](auto& v) { return v.has_value(); });
    }
};

std::vector<std::string> Split(std::string_view text, char sep) {
    std::vector<std::string> out;
    size_t start = 0;
    while (true) {
        size_t at = text.find(sep, start);
        out.emplace_back(
            text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
        if (at == std::string_view::npos) break;
        start = at + 1;
    }
    return out;
}

std::optional<Line> ParseLine(std::string_view raw) {
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    std::vector<std::string> cells = Split(raw, '\t');
    if (cells.size() > kFieldCount) return std::nullopt;
    Line line;
    line.Freq = Trim(cells[0]);
    if (!line.Freq.empty() && !IsNumeric(line.Freq)) return std::nullopt;
    for (size_t c = 1; c < cells.size(); ++c) {
        std::string cell = Trim(cells[c]);
        if (cell.empty()) continue;
        auto v = ParseDouble(cell);
        const int column = static_cast<int>(c) + 1;
        if (!v || *v != static_cast<double>(static_cast<int>(*v))) return std::nullopt;
        const int n = static_cast<int>(*v);
        if (n < kRanges[static_cast<size_t>(column)].Min || n > kRanges[static_cast<size_t>(column)].Max)
            return std::nullopt;
        line.Values[static_cast<size_t>(column)] = n;
    }
    // Options without a frequency have no channel to go to.
    if (line.Freq.empty() && !line.Empty()) return std::nullopt;
    return line;
}

std::optional<std::vector<Line>> ParseText(std::string_view text) {
    if (!text.empty() && text.back() == '\n') text.remove_suffix(1); // the last line's end
    if (text.empty()) return std::nullopt;
    std::vector<Line> lines;
    for (const std::string& raw : Split(text, '\n')) {
        auto line = ParseLine(raw);
        if (!line) return std::nullopt;
        lines.push_back(*line);
    }
    return lines;
}

const ChannelRecord* RecordAt(const Program& p, int group, int channel) {
    int i = FindChannelSlot(p.Image, GroupBase(group, p.Model.ModelType) + channel);
    return i < 0 ? nullptr : &p.Image.Channels[static_cast<size_t>(i)];
}

// Values the target can hold: tone tips and DTMF codes that are in use, FM where
// the plan allows only FM, and the top power level only with FM.
void FitToTarget(const Program& p, Line& line, const ChannelRecord& target, int group, int channel) {
    auto& v = line.Values;
    if (v[kColRbTone]) v[kColRbTone] = CheckToneTipReference(p.Image, *v[kColRbTone]);
    for (int c : {kColDtmfBot, kColDtmfEot, kColDtmfCall}) {
        auto& code = v[static_cast<size_t>(c)];
        if (code && *code > 0 &&
            !DtmfCodeDefined(p.Image.Settings.Dtmf.Codes[static_cast<size_t>(*code - 1)]))
            code = 0;
    }
    if (IsFixFM(channel, group, p.Model.ModelType)) v[kColAmFm] = 0;
    const int am = v[kColAmFm].value_or(target.AM_FM);
    const int power = v[kColTxPower].value_or(target.Tx_Power);
    if (am == 1 && power > 1) v[kColTxPower] = 1;
}

void NotifyRows(Program& p, int group, const std::vector<int>& channels) {
    const int base = GroupBase(group, p.Model.ModelType);
    if (p.Notify.channelRowChanged)
        for (int c : channels)
            p.Notify.channelRowChanged(base + c);
    p.Notify.channelEditReload();
}

// Gives every channel of the group the number `map` returns for it (0: the channel
// goes), lets the group's selections follow their channels, then runs the group
// bookkeeping and redraws the rows.
void Renumber(Program& p, int group, const std::function<int(int)>& map) {
    const int band = p.Model.ModelType;
    const int base = GroupBase(group, band), size = GroupSize(group, band);
    std::vector<int> gone, touched;
    for (int i = 0; i < p.Image.UsedCount(); ++i) {
        ChannelRecord& r = p.Image.Channels[static_cast<size_t>(i)];
        const int n = r.SlotNumber - base;
        if (n < 1 || n > size) continue;
        const int m = map(n);
        if (m == n) continue;
        touched.push_back(n);
        if (m == 0)
            gone.push_back(i);
        else {
            r.SlotNumber = static_cast<int16_t>(base + m);
            touched.push_back(m);
        }
    }
    for (auto it = gone.rbegin(); it != gone.rend(); ++it)
        RemoveChannel(p, *it);

    FeatureBlock& f = p.Image.Settings.Features;
    auto follow = [&map, size](auto& selection) {
        const int n = selection + 1;
        if (n < 1 || n > size) return;
        const int m = map(n);
        if (m > 0) selection = static_cast<std::remove_reference_t<decltype(selection)>>(m - 1);
    };
    if (group == MemGroup(band))
        follow(f.MemChannelSel);
    else if (group == EmgGroup(band))
        follow(f.EmgChannelSel);
    else if (group >= 0 && group <= HighestPlanGroup(band)) {
        const auto g = static_cast<size_t>(group);
        follow(f.WorkChannel[g]);
        follow(f.GroupEmgChannel1[g]);
        follow(f.GroupEmgChannel2[g]);
        if (EmgModulationLocked(group, band, f.GroupEmgChannel1[g])) f.GroupEmgAmFm1[g] = 0;
        if (EmgModulationLocked(group, band, f.GroupEmgChannel2[g])) f.GroupEmgAmFm2[g] = 0;
    }
    AfterGroupChange(p, group);
    std::sort(touched.begin(), touched.end());
    touched.erase(std::unique(touched.begin(), touched.end()), touched.end());
    NotifyRows(p, group, touched);
}

} // namespace

std::string CopyChannels(Program& p, int group, int first, int count) {
    const int size = GroupSize(group, p.Model.ModelType);
    std::string text;
    for (int c = std::max(first, 1); c < first + count && c <= size; ++c) {
        const ChannelRecord* r = RecordAt(p, group, c);
        // A frequency text that is not a number (a damaged file) copies as no frequency.
        text += r ? FreqToDisplaySilent(r->RxFreq.Raw()) : std::string();
        for (int column = kColPublic; column <= kFieldCount; ++column) {
            text += '\t';
            if (r) text += std::to_string(FieldOf(*r, column));
        }
        text += '\n';
    }
    return text;
}

CutResult CutChannels(Program& p, int group, int first, int count) {
    CutResult result;
    NoteEdit(p, ChannelCommandLabel(p, ChannelCommand::Cut, group, first, count));
    result.Text = CopyChannels(p, group, first, count);
    const int size = GroupSize(group, p.Model.ModelType);
    for (int c = std::max(first, 1); c < first + count && c <= size; ++c) {
        if (!RecordAt(p, group, c)) continue;
        SetChannelField(p, group, c, kColRxFreq, "");
        if (RecordAt(p, group, c)) ++result.Kept;
    }
    return result;
}

PasteResult PasteChannels(Program& p, int group, int first, std::string_view text) {
    PasteResult result;
    const int size = GroupSize(group, p.Model.ModelType);
    auto lines = ParseText(text);
    if (!lines || first < 1 || first > size) return result;
    result.Valid = true;
    NoteEdit(p, ChannelCommandLabel(p, ChannelCommand::Paste, group, first,
                                    std::min(static_cast<int>(lines->size()), size - first + 1)));
    for (size_t i = 0; i < lines->size(); ++i) {
        const int channel = first + static_cast<int>(i);
        if (channel > size) break;
        Line& line = (*lines)[i];
        ++result.Rows;
        if (line.Empty()) {
            if (RecordAt(p, group, channel)) SetChannelField(p, group, channel, kColRxFreq, "");
            continue;
        }
        SetChannelField(p, group, channel, kColRxFreq, FormatFixed(*ParseDouble(line.Freq), 5));
        const ChannelRecord* target = RecordAt(p, group, channel);
        if (!target) continue;
        FitToTarget(p, line, *target, group, channel);
        for (int column = kColPublic; column <= kFieldCount; ++column)
            if (auto v = line.Values[static_cast<size_t>(column)])
                SetChannelField(p, group, channel, column, std::to_string(*v));
    }
    return result;
}

bool InsertDropsLast(const Program& p, int group, int channel) {
    const int size = GroupSize(group, p.Model.ModelType);
    return channel >= 1 && channel <= size && RecordAt(p, group, size) != nullptr;
}

RowEdit InsertChannelRow(Program& p, int group, int channel) {
    const int band = p.Model.ModelType;
    const int size = GroupSize(group, band);
    if (channel < 1 || channel > size) return RowEdit::Nothing;
    if (InsertDropsLast(p, group, channel) &&
        !ChannelDeleteAllowed(p.Image, GroupBase(group, band) + size, group, band))
        return RowEdit::Refused;
    bool any = false;
    for (int c = channel; c <= size; ++c)
        any = any || RecordAt(p, group, c);
    if (!any) return RowEdit::Nothing;
    NoteEdit(p, ChannelCommandLabel(p, ChannelCommand::Insert, group, channel));
    Renumber(p, group, [channel, size](int n) { return n < channel ? n : (n == size ? 0 : n + 1); });
    return RowEdit::Done;
}

RowEdit DeleteChannelRow(Program& p, int group, int channel) {
    const int band = p.Model.ModelType;
    const int size = GroupSize(group, band);
    if (channel < 1 || channel > size) return RowEdit::Nothing;
    if (RecordAt(p, group, channel) &&
        !ChannelDeleteAllowed(p.Image, GroupBase(group, band) + channel, group, band))
        return RowEdit::Refused;
    bool any = false;
    for (int c = channel; c <= size; ++c)
        any = any || RecordAt(p, group, c);
    if (!any) return RowEdit::Nothing;
    NoteEdit(p, ChannelCommandLabel(p, ChannelCommand::Delete, group, channel));
    Renumber(p, group, [channel](int n) { return n < channel ? n : (n == channel ? 0 : n - 1); });
    return RowEdit::Done;
}

RowEdit MoveChannel(Program& p, int group, int channel, int direction) {
    const int size = GroupSize(group, p.Model.ModelType);
    const int other = channel + (direction < 0 ? -1 : 1);
    if (channel < 1 || channel > size || other < 1 || other > size) return RowEdit::Nothing;
    if (!RecordAt(p, group, channel) && !RecordAt(p, group, other)) return RowEdit::Nothing;
    NoteEdit(p, ChannelCommandLabel(p, ChannelCommand::Move, group, channel));
    Renumber(p, group, [channel, other](int n) { return n == channel ? other : (n == other ? channel : n); });
    return RowEdit::Done;
}

} // namespace tarvane
