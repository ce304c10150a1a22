#pragma once
// The optional features in the radio memory: the feature-block values that travel
// through the radio and the common channel block at 0x1A30.
//
//   0x1A11 active group        0x1A12 memory-channel use (only bit 0 read back)
//   0x1A1B memory channel sel  0x1A1E..1F group enable bits 0..9
//   0x1A20..29 working channel of groups 0..9
//   0x1A30..3F common channel, a channel block whose frequency bytes 0..2 are unused
//   0x1A40 beep  41 time-out  42 backlight  43 volume  44 squelch
//   0x1A45 b7 AsqFun, b0-6 AsqValue   46 gain  47 channel display
//   0x1A49 scan type  4A scan time  4B squelch step-back  4C ASQ step-back  4D auto power-on
//   0x1A54 SWR limit  0x1A55 b0 memory edit, b1 SWR in use, b3 emergency edit
//   0x1A56..59 screen saver, its colour, time format, screen saver at power-off
//   0x1A5A display mode        0x1AE0 selected emergency channel
// Not in the radio: the current group (block offset 0), the two per-group
// emergency channels and their modulation, the five reserved bytes.
#include "freq/ChannelCodec.h"

namespace tarvane {

void PackOptions(RadioMemory& m, const SettingsRecord& s);
void UnpackOptions(const RadioMemory& m, SettingsRecord& s);

} // namespace tarvane
