#pragma once
// Rules the channel table and the channel edit dialog share: which group is shown,
// which cells of the table open an editor, which channels are FM only, and the
// two country lists that stand for the group list on a CB radio.
#include <string>
#include <vector>

namespace tarvane {

struct Program;
struct ChannelRecord;

// The group the table shows: CurrentGroup when it names a group of the band,
// otherwise the first group (a hostile file must not leave the table empty).
int DisplayedGroup(const Program& p);
// The channel number the table stands on, within the displayed group.
int DisplayedChannel(const Program& p);

// The channel table's columns: 0 the channel number, 1..6 the fields of the same
// codes as SetChannelField (frequency, Public, DUP, offset, TSQ, Scan), 7 the ">>"
// that opens the channel edit dialog.
inline constexpr int kTableDialogColumn = 7;
// What opening a cell of the channel table does.
enum class CellEdit { None, Text, List, Dialog };
// `record` is the channel of the row, nullptr for an empty slot. A CB radio takes a
// typed frequency only in its emergency group; the other fields need a channel with
// a frequency; DUP and offset are not the channel's own while Public is on; the VFO
// is never scanned.
CellEdit ChannelCellEdit(int group, int column, const ChannelRecord* record, int band);

// True only on a CB radio, for every channel of the "CE" (1) and "UK" (3) plans and
// for channels 41 to 80 of the "DE" plan (6).
bool IsFixFM(int channel, int group, int band);
// The modulation of a group's emergency channel must be FM: the same plans, with
// the selection held as channel number - 1.
bool EmgModulationLocked(int group, int band, int selection);

// CB country lists. The first list offers the plan names in group order with "U"
// and "UK" sharing position 2, then "MEM" and "EMG"; the second list ("U", "UK")
// is shown only while position 2 of the first is chosen.
inline constexpr int kSharedCountryPos = 2;
std::vector<std::string> CountryListEntries();
std::vector<std::string> SecondCountryEntries();
struct CountryChoice {
    int First = 0;   // position in the first list
    int Second = -1; // position in the second list, -1 when it is hidden
};
CountryChoice CountryChoiceOfGroup(int group);
// The group chosen; second is used only at the shared position (an unset second
// list takes its first entry). -1 for a position outside the list.
int GroupOfCountryChoice(int first, int second);

} // namespace tarvane
