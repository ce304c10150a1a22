#pragma once
// The programmable keys in the radio memory: KeyMode at 0x1A48, key function k
// (page k / 6 + 1, key P(k % 6 + 1)) at 0x1A80 + k, one byte each.
#include <string>
#include <vector>

#include "freq/ChannelCodec.h"

namespace tarvane {

void PackKeys(RadioMemory& m, const SettingsRecord& s);
void UnpackKeys(const RadioMemory& m, SettingsRecord& s);

// The keys window's lists: function codes 1..20 in order, and the pages in use.
const std::vector<std::string>& KeyFunctionNames();
const std::vector<std::string>& KeyPageChoices();
// An entry by the stored value (a function code from 1, a page choice from 0); a
// value the list lacks shows as "?" and its number, so a damaged file stays visible.
std::string KeyFunctionText(int code);
std::string KeyPagesText(int choice);

} // namespace tarvane
