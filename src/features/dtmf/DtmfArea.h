#pragma once
// DTMF settings and codes in the radio memory.
//   0x1A4E DtmfRate  4F FirstDigitDelay  50 FirstDigitTime  (delay before time: the
//   radio's order, the reverse of the record)  51 StarHashTime  52 DKeySetting  53 DtmfDisplay
//   0x1A19..1A presence: bit (n-1) % 8 of byte 0x1A19 + (n-1) / 8 set when code n is defined
//   0x1C00 + 16 (n-1): the digits of code n, one per byte ("#" 0xE, "*" 0xF), then 255s
#include <string>
#include <string_view>

#include "freq/ChannelCodec.h"

namespace tarvane {

// A code is defined when its length is 1..16; any other length counts as 0.
bool DtmfCodeDefined(const DtmfCodeEntry& e);

void PackDtmf(RadioMemory& m, const SettingsRecord& s);
void UnpackDtmf(const RadioMemory& m, SettingsRecord& s);

// The DTMF editor's store of code n (1..16): the text is cut at a NUL, stripped of
// trailing blanks and cut to 16 characters; its length becomes the code length. A
// code that became empty is cleared from every channel that refers to it, then the
// open DTMF code lists are told to refill.
void StoreDtmfCode(Program& p, int n, std::string_view text);

} // namespace tarvane
