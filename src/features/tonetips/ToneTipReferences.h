#pragma once
// The roger-beep references to tone tips: RBTone names tone tip 1..8, 0 for none.
#include <cstdint>

#include "state/RadioImage.h"

namespace tarvane {

struct Program;

// True when tone tip n (1..8) is defined: LoopCount at least 1 and a tone with a
// duration above 0.
bool ToneTipInUse(const SettingsRecord& s, int n);
// The roger-beep value kept: 0 when it does not name a tone tip in use.
int16_t CheckToneTipReference(const RadioImage& image, int value);
// Applies CheckToneTipReference to the RBTone of every used channel, of the
// CommonChannel and of both emergency records, then notifies toneTipsChanged.
void RecheckToneTipReferences(Program& p);
} // namespace tarvane
