#pragma once
// The channel blocks of the radio memory with their valid and scan bitmaps, and
// the tone codes.
//
// Channel block, 16 bytes:
//   0..2  frequency, BCD in 100 Hz units, least significant byte first (FF FF FF: none)
//   3..4  OffSetFre, little-endian
//   5     RDCT CTCSS index      6  RDCT DCS index
//   7     TDCT CTCSS index      8  TDCT DCS index
//   9     unused, left 0
//   10    b0-1 DUP | b2 TSQ | b3 0 | b4-5 RDCT kind | b6-7 TDCT kind  (kind 0 off, 1 CTCSS, 2 DCS)
//   11    b0 BUSY | b1 HI_CUT | b2 NB | b3 Add_Sub_5K (read only) | b4 AM_FM | b5-6 Tx_Power | b7 Public
//   12..15 RBTone, DTMF_BOT, DTMF_EOT, DTMF_Call
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "state/MemoryMap.h"
#include "state/RadioImage.h"

namespace tarvane {

struct Program;

// Tone codes: 0 off, 1..38 CTCSS, 39..142 DCS.
inline constexpr int kCtcssCount = 38;
inline constexpr int kDcsCount = 104;
inline constexpr int kToneCodeCount = 1 + kCtcssCount + kDcsCount; // 143
inline constexpr int kFirstDcsCode = 1 + kCtcssCount;              // 39
// CTCSS tone n (1..38) in tenths of a hertz; DCS code n (1..104) as its octal digits.
int CtcssTenthsHz(int n);
int DcsOctal(int n);
// "Off", "C_001(67.0Hz)" .. "C_038(250.3Hz)", "D_001(023N)" .. "D_104(754N)"; "" outside 0..142.
std::string ToneName(int code);
// All 143 names in code order, for the tone lists of the windows.
const std::vector<std::string>& ToneNames();

// Fills OffSetFre through DTMF_Call and TSQ from the block at the address.
void DecodeChannelBlock(const RadioMemory& m, int address, ChannelRecord& r);
// Writes bytes 3..15 of the block at the address; each field is masked to its
// width, and a tone code outside 0..142 is written as off.
void EncodeChannelBlock(RadioMemory& m, int address, const ChannelRecord& r);

// Reads slot index 0..411 and appends a record when the slot is programmed.
// Returns true when a record was appended.
bool ReadChannel(const RadioMemory& m, RadioImage& image, int index);
// Replaces the channel list with the programmed slots in slot order; slot
// indexes 360..400 are skipped when skipUnassigned is set.
void ReadAllChannels(const RadioMemory& m, RadioImage& image, bool skipUnassigned);
// The same from p.RadioMemoryBlock; the skip is decided by the identification
// byte that follows the model text (RadioModelType 0).
void ReadAllChannels(Program& p);

// Encodes one record into its block and flags and sets its IsBlank. Slots outside
// 1..412 are ignored. Flag bits are or-ed in, so duplicate slots cannot carry into
// a neighbouring bit.
void WriteChannel(RadioMemory& m, ChannelRecord& r);
// Clears the channel area and the flag areas of slots 1..400, then writes every
// used record in list order. The memory and emergency flag bytes must already be 0.
void WriteAllChannels(RadioMemory& m, RadioImage& image);
void WriteAllChannels(Program& p);

// Bit i of a bitmap: byte i / 8, bit i % 8, least significant first.
bool TestBit(const RadioMemory& m, int bitmap, int i);
void SetBit(RadioMemory& m, int bitmap, int i);

} // namespace tarvane
