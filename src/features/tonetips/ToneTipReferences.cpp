#include "features/tonetips/ToneTipReferences.h"

#include <algorithm>

#include "state/Program.h"

namespace tarvane {

bool ToneTipInUse(const SettingsRecord& s, int n) {
    if (n < 1 || n > 8) return false;
    const ToneTipRecord& t = s.ToneTips[static_cast<size_t>(n - 1)];
    return t.LoopCount >= 1 && std::any_of(t.Pairs.begin(), t.Pairs.end(),
                                           [](const TonePair& pair) { return pair.Duration > 0; });
}

int16_t CheckToneTipReference(const RadioImage& image, int value) {
    return ToneTipInUse(image.Settings, value) ? static_cast<int16_t>(value) : 0;
}

void RecheckToneTipReferences(Program& p) {
    auto check = [&p](ChannelRecord& r) { r.RBTone = CheckToneTipReference(p.Image, r.RBTone); };
    for (int i = 0; i < p.Image.UsedCount(); ++i)
        check(p.Image.Channels[static_cast<size_t>(i)]);
    check(p.Image.Settings.CommonChannel);
    for (EmergencyRecord& e : p.Image.Settings.Emergency)
        check(e.Channel);
    p.Notify.toneTipsChanged();
}

} // namespace tarvane
