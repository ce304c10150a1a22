#include "features/tonetips/ToneTipsArea.h"

namespace tarvane {
namespace {
constexpr int kTones = 14;
uint8_t Byte(int v) {
    return static_cast<uint8_t>(v & 0xFF);
}
} // namespace

int ToneTipAddress(int tip) {
    return mem::kToneTips + 64 * (tip / 2) + mem::kToneTipSize * (tip % 2);
}

void PackToneTips(RadioMemory& m, const SettingsRecord& s) {
    for (int i = 0; i < 8; ++i) {
        const ToneTipRecord& t = s.ToneTips[static_cast<size_t>(i)];
        uint8_t* b = m.data() + ToneTipAddress(i);
        b[0] = Byte(t.LoopCount);
        b[1] = Byte(t.LoopInterval);
        for (int k = 0; k < kTones; ++k) {
            b[2 + k] = Byte(t.Pairs[static_cast<size_t>(k)].Tone);
            b[2 + kTones + k] = Byte(t.Pairs[static_cast<size_t>(k)].Duration);
        }
    }
}

void UnpackToneTips(const RadioMemory& m, SettingsRecord& s) {
    for (int i = 0; i < 8; ++i) {
        ToneTipRecord& t = s.ToneTips[static_cast<size_t>(i)];
        const uint8_t* b = m.data() + ToneTipAddress(i);
        t.LoopCount = b[0];
        t.LoopInterval = b[1];
        for (int k = 0; k < kTones; ++k) {
            t.Pairs[static_cast<size_t>(k)].Tone = b[2 + k];
            t.Pairs[static_cast<size_t>(k)].Duration = b[2 + kTones + k];
        }
    }
}

} // namespace tarvane
