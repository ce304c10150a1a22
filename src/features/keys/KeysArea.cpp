#include "features/keys/KeysArea.h"

namespace tarvane {

void PackKeys(RadioMemory& m, const SettingsRecord& s) {
    m[mem::kKeyMode] = static_cast<uint8_t>(s.KeyTable[0] & 0xFF);
    for (int k = 0; k < kKeyTableSize - 1; ++k)
        m[static_cast<size_t>(mem::kKeyFunctions + k)] =
            static_cast<uint8_t>(s.KeyTable[static_cast<size_t>(k + 1)] & 0xFF);
}

void UnpackKeys(const RadioMemory& m, SettingsRecord& s) {
    s.KeyTable[0] = m[mem::kKeyMode];
    for (int k = 0; k < kKeyTableSize - 1; ++k)
        s.KeyTable[static_cast<size_t>(k + 1)] = m[static_cast<size_t>(mem::kKeyFunctions + k)];
}

} // namespace tarvane
