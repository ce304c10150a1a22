#pragma once
// The eight tone tips in the radio memory. Tip i (0..7) takes 30 bytes at
// 0x1B00 + 64 * (i / 2) + 30 * (i % 2):
//   0 LoopCount | 1 LoopInterval | 2..15 tone frequencies 1..14 | 16..29 durations 1..14
// The four bytes at the end of each 64-byte pair belong to no tip.
#include "freq/ChannelCodec.h"

namespace tarvane {

int ToneTipAddress(int tip);
void PackToneTips(RadioMemory& m, const SettingsRecord& s);
void UnpackToneTips(const RadioMemory& m, SettingsRecord& s);

} // namespace tarvane
