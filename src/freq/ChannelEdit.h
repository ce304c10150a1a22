#pragma once
// The one way windows change channels, and the upkeep of the group selections
// and of the references to DTMF codes and tone tips. The band is always the
// current model's type (p.Model.ModelType).
#include <string>
#include <string_view>
#include <vector>

#include "state/RadioImage.h"

namespace tarvane {

struct Program;

// Column codes of SetChannelField and SetRecordField.
enum ChannelColumn : int {
    kColRxFreq = 1,
    kColPublic = 2,
    kColDup = 3,
    kColOffSetFre = 4,
    kColTsq = 5,
    kColScan = 6,
    kColHiCut = 7,
    kColBusy = 8,
    kColNb = 9,
    kColAddSub5K = 10,
    kColAmFm = 11,
    kColTxPower = 12,
    kColRbTone = 13,
    kColDtmfBot = 14,
    kColDtmfEot = 15,
    kColDtmfCall = 16,
    kColRdct = 17,
    kColTdct = 18,
};

// Changes one field of channel number `channel` of `group`; the value is text
// (numbers as their decimal text). A frequency for an empty slot creates the
// channel; an empty frequency deletes it within the delete limits; the group
// selections follow. Afterwards the channel windows that follow the document are
// notified: the row of the slot and the edit dialog.
void SetChannelField(Program& p, int group, int channel, int column, std::string_view value);
// Stores one converted value. Integer columns take the text rounded half to even
// to 16 bits; a text that is not such a number changes nothing. Returns whether the
// column was known and the value stored.
bool SetRecordField(ChannelRecord& record, int column, std::string_view value);

// Appends a new channel (defaults of a new record); false when the list is full.
bool AddChannel(Program& p, int slot, std::string_view displayText);
// Removes the used record at the index; later records move down. False for an
// index outside the used records.
bool RemoveChannel(Program& p, int index);

// Whether clearing the frequency of the channel in the slot may delete it: never
// the VFO; a channel of slots 1..400 only while a channel exists outside its
// group; a memory or emergency channel only while its group keeps another one.
bool ChannelDeleteAllowed(const RadioImage& image, int slot, int group, int band);
int CountInGroup(const RadioImage& image, int group, int band);
// Records in slots 1..400 outside the group.
int CountNormalOutside(const RadioImage& image, int group, int band);
// Group bookkeeping after a channel of the group was added, deleted or retuned;
// notifies the group panel when the channel table is open.
void AfterGroupChange(Program& p, int group);
// The selection (channel number - 1) when it names a channel of the group;
// otherwise the lowest channel that exists in the group (minus 1), or 0 when the
// group is empty.
int16_t ValidChannelSel(const RadioImage& image, int group, int selection, int band);
void EnsureOneGroupEnabled(Program& p, int band);
int CountOtherEnabledGroups(const RadioImage& image, int group, int band);

// Labels of the channel edits.
std::string ChannelFieldLabel(Program& p, int group, int channel, int column);
enum class ChannelCommand { Cut, Paste, Insert, Delete, Move };
std::string ChannelCommandLabel(Program& p, ChannelCommand command, int group, int first, int count = 1);

} // namespace tarvane
