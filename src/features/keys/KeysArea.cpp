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

const std::vector<std::string>& KeyFunctionNames() {
    static const std::vector<std::string> names{"MOD", "RFG", "EMG", "VOL", "SQL", "POW", "DSP",
                                                "SCA", "MEM", "BND", "DW",  "CAL", "NB",  "RB",
                                                "HIC", "TSQ", "SPL", "5K",  "DIM", "NULL"};
    return names;
}

const std::vector<std::string>& KeyPageChoices() {
    static const std::vector<std::string> choices{"1&2", "1&3", "2&3", "1&2&3"};
    return choices;
}

namespace {

std::string EntryOrNumber(const std::vector<std::string>& entries, int index) {
    return index >= 0 && static_cast<size_t>(index) < entries.size() ? entries[static_cast<size_t>(index)]
                                                                     : "?" + std::to_string(index);
}

} // namespace

std::string KeyFunctionText(int code) {
    const auto& names = KeyFunctionNames();
    return code >= 1 && static_cast<size_t>(code) <= names.size() ? names[static_cast<size_t>(code - 1)]
                                                                   : "?" + std::to_string(code);
}

std::string KeyPagesText(int choice) {
    return EntryOrNumber(KeyPageChoices(), choice);
}

} // namespace tarvane
