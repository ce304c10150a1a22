#pragma once
// The programmable keys in the radio memory: KeyMode at 0x1A48, key function k
// (page k / 6 + 1, key P(k % 6 + 1)) at 0x1A80 + k, one byte each.
#include "freq/ChannelCodec.h"

namespace tarvane {

void PackKeys(RadioMemory& m, const SettingsRecord& s);
void UnpackKeys(const RadioMemory& m, SettingsRecord& s);

} // namespace tarvane
