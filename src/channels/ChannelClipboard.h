#pragma once
// The channel-edit commands of the channel table: cut, copy and paste of whole
// channels as tab-separated text, insert and delete of a row with the rows below
// shifting, and moving a channel up or down.
//
// Clipboard text: one line per channel, the fields in column-code order
//   RxFreq  Public  DUP  OffSetFre  TSQ  Scan  HI_CUT  BUSY  NB  Add_Sub_5K
//   AM_FM  Tx_Power  RBTone  DTMF_BOT  DTMF_EOT  DTMF_Call  RDCT  TDCT
// as plain numbers ("27.40500", "1", ...), so the text means the same in every
// language and in a spreadsheet. An empty row is a line of empty fields. Missing
// trailing fields and empty cells leave the field alone.
#include <string>
#include <string_view>

namespace tarvane {

struct Program;

// The text of channels first .. first + count - 1 of the group (cut at the group's end).
std::string CopyChannels(Program& p, int group, int first, int count);

struct CutResult {
    std::string Text;
    int Kept = 0; // channels the delete limits kept
};
// Copies, then clears each channel as a typed empty frequency would.
CutResult CutChannels(Program& p, int group, int first, int count);

struct PasteResult {
    bool Valid = false; // false: the text holds no channels; nothing was changed
    int Rows = 0;       // rows written, from the first one down, cut at the group's end
};
// Writes the channels of the text from row `first` down, field by field through
// SetChannelField. The whole text is checked first: a frequency that is not a
// number, or an option that is not a whole number of its range, refuses it all.
PasteResult PasteChannels(Program& p, int group, int first, std::string_view text);

enum class RowEdit {
    Done,
    Nothing, // nothing to move
    Refused, // the delete limits keep a channel that would have to go
};
// True when inserting at the row pushes a channel out of the group's last row.
bool InsertDropsLast(const Program& p, int group, int channel);
// Shifts the channels from the row down by one; the channel of the last row goes.
RowEdit InsertChannelRow(Program& p, int group, int channel);
// Deletes the row's channel and shifts the channels below up by one.
RowEdit DeleteChannelRow(Program& p, int group, int channel);
// Swaps the channel with its neighbour above (direction -1) or below (+1).
RowEdit MoveChannel(Program& p, int group, int channel, int direction);

} // namespace tarvane
