#pragma once
// The 7424-byte radio memory: where each area lies, and the channel blocks with
// their valid and scan bitmaps.
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

#include "image/RadioImage.h"

namespace tarvane {

struct Program;

using RadioMemory = std::array<uint8_t, kRadioMemorySize>;

// Addresses in the radio memory. Every area's codec names its addresses here so
// the region table below is the one map of the memory.
namespace mem {
inline constexpr int kChannelBlocks = 0x0000; // slots 1..400, 16 bytes each
inline constexpr int kBlockSize = 16;
inline constexpr int kValidBitmap = 0x1900; // slots 1..400: 50 bytes used, 64 cleared
inline constexpr int kScanBitmap = 0x1940;
inline constexpr int kBitmapCleared = 64;
inline constexpr int kBitmapUsed = 50;
inline constexpr int kMemBlocks = 0x1980; // slots 402..409
inline constexpr int kVfoBlock = 0x1A00;  // slot 401, no flags
inline constexpr int kActiveGroup = 0x1A11;
inline constexpr int kMemChannelUse = 0x1A12;
inline constexpr int kDtmfPresence = 0x1A19; // 2 bytes
inline constexpr int kMemChannelSel = 0x1A1B;
inline constexpr int kMemValid = 0x1A1C;
inline constexpr int kMemScan = 0x1A1D;
inline constexpr int kGroupFlags = 0x1A1E;   // 2 bytes, groups 0..9
inline constexpr int kWorkChannels = 0x1A20; // 10 bytes
inline constexpr int kCommonBlock = 0x1A30;  // a channel block; bytes 0..2 unused
inline constexpr int kOptionBytes = 0x1A40;  // 0x1A40..0x1A47 and 0x1A49..0x1A4D
inline constexpr int kAsqByte = 0x1A45;      // b7 AsqFun, b0-6 AsqValue
inline constexpr int kKeyMode = 0x1A48;
inline constexpr int kDtmfSettings = 0x1A4E; // 6 bytes
inline constexpr int kSwrLimit = 0x1A54;
inline constexpr int kEditFlags = 0x1A55;    // b0 mem edit, b1 SWR in use, b3 emergency edit
inline constexpr int kDisplayBytes = 0x1A56; // 4 bytes
inline constexpr int kDisplayMode = 0x1A5A;
inline constexpr int kKeyFunctions = 0x1A80; // 18 bytes
inline constexpr int kEmgBlocks = 0x1AA0;    // slots 410..412
inline constexpr int kEmgChannelSel = 0x1AE0;
inline constexpr int kEmgValid = 0x1AE1;
inline constexpr int kEmgScan = 0x1AE2;
inline constexpr int kToneTips = 0x1B00; // 8 x 30 bytes, two per 64
inline constexpr int kToneTipSize = 30;
inline constexpr int kDtmfDigits = 0x1C00; // 16 x 16 bytes
} // namespace mem

struct MemoryRegion {
    int Address;
    int Size;
    const char* Owner; // the area codec that writes it
    const char* What;
};
// Every byte range an encoder writes, ascending and without overlap. Bytes outside
// these ranges are never written and stay 0 after the memory is encoded.
std::span<const MemoryRegion> MemoryRegions();

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
