#include "channels/ChannelRules.h"

#include "freq/Bands.h"
#include "freq/ChannelEdit.h"
#include "freq/FreqCodec.h"
#include "state/Program.h"

namespace tarvane {

namespace {
constexpr int kCE = 1, kUK = 3, kDE = 6, kU = 2;
constexpr int kDeFirstFmOnly = 41;
} // namespace

int DisplayedGroup(const Program& p) {
    const int g = p.Image.Settings.Features.CurrentGroup;
    return GroupSize(g, p.Model.ModelType) > 0 ? g : 0;
}

int DisplayedChannel(const Program& p) {
    const int size = GroupSize(DisplayedGroup(p), p.Model.ModelType);
    const int c = p.ChannelTableChannel;
    return c >= 1 && c <= size ? c : 1;
}

CellEdit ChannelCellEdit(int group, int column, const ChannelRecord* record, int band) {
    if (column < kColRxFreq || column > kTableDialogColumn) return CellEdit::None;
    if (column == kColRxFreq && band == kBandCB && group != EmgGroup(band)) return CellEdit::None;
    const bool hasFreq = record && !IsNoFreq(record->RxFreq.Raw());
    if (column >= kColPublic && column <= kColScan && !hasFreq) return CellEdit::None;
    if ((column == kColDup || column == kColOffSetFre) && record && record->Public == 1)
        return CellEdit::None;
    if (column == kColScan && GroupName(group, band) == "VFO") return CellEdit::None;
    if (column == kTableDialogColumn) return CellEdit::Dialog;
    return column == kColRxFreq || column == kColOffSetFre ? CellEdit::Text : CellEdit::List;
}

bool IsFixFM(int channel, int group, int band) {
    if (band != kBandCB) return false;
    if (group == kCE || group == kUK) return true;
    return group == kDE && channel >= kDeFirstFmOnly && channel <= GroupSize(kDE, kBandCB);
}

bool EmgModulationLocked(int group, int band, int selection) {
    if (band != kBandCB) return false;
    if (group == kCE || group == kUK) return true;
    return group == kDE && selection >= kDeFirstFmOnly - 1;
}

std::vector<std::string> CountryListEntries() {
    // "U/UK" only stands for the pair; it never names a group by itself.
    return {"D", "CE", "U/UK", "PL", "I2", "DE", "IN", "MEM", "EMG"};
}

std::vector<std::string> SecondCountryEntries() {
    return {"U", "UK"};
}

CountryChoice CountryChoiceOfGroup(int group) {
    if (group == kU) return {kSharedCountryPos, 0};
    if (group == kUK) return {kSharedCountryPos, 1};
    if (group >= 0 && group < kU) return {group, -1};
    if (group > kUK && group <= 9) return {group - 1, -1};
    return {0, -1};
}

int GroupOfCountryChoice(int first, int second) {
    if (first < 0 || first >= static_cast<int>(CountryListEntries().size())) return -1;
    if (first < kSharedCountryPos) return first;
    if (first == kSharedCountryPos) return second == 1 ? kUK : kU;
    return first + 1;
}

} // namespace tarvane
