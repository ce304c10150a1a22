#include "features/tonetips/ToneSequence.h"

#include <algorithm>
#include <cmath>

namespace tarvane {

std::vector<ToneStep> ToneSequence(const ToneTipRecord& tip) {
    std::vector<ToneStep> out;
    if (tip.LoopCount <= 0) return out;
    const int passes = std::min<int>(tip.LoopCount, kMaxTonePasses);
    for (int pass = 0; pass < passes; ++pass) {
        for (const TonePair& t : tip.Pairs) {
            const int d = t.Duration * 10;
            if (d <= 4) continue;
            const int f = t.Tone * 10;
            if (f > 48)
                out.push_back({ToneStep::Tone, f, d});
            else
                out.push_back({ToneStep::Rest, 0, d});
        }
        if (tip.LoopInterval > 0) out.push_back({ToneStep::LoopPause, 0, tip.LoopInterval * 10});
    }
    return out;
}

int MsUntilStop(const std::vector<ToneStep>& steps, long long elapsedMs) {
    long long end = 0;
    for (const ToneStep& s : steps) {
        end += s.durationMs;
        if (end > elapsedMs) return s.kind == ToneStep::Tone ? static_cast<int>(end - elapsedMs) : 0;
    }
    return 0;
}

int ToneTipTotalMs(const ToneTipRecord& tip) {
    int total = 0;
    for (const TonePair& t : tip.Pairs)
        total += t.Duration * 10;
    return total;
}

std::vector<ToneBar> ToneTipBars(const ToneTipRecord& tip, int width, int height) {
    std::vector<ToneBar> out;
    // Only tones that are drawn share the width, so a hostile negative duration
    // cannot push bars past the edge.
    long total = 0;
    for (const TonePair& t : tip.Pairs)
        total += std::max<int>(t.Duration, 0);
    if (total < 1) return out;
    const double w = width - 100, h = height - 100;
    const int base = height - 50;
    int x = 50;
    for (size_t k = 0; k < tip.Pairs.size(); ++k) {
        const TonePair& t = tip.Pairs[k];
        if (t.Duration <= 0) continue;
        const int bw = static_cast<int>(std::lround(t.Duration * w / static_cast<double>(total)));
        const int f = std::clamp<int>(t.Tone, 0, 256);
        const int bh = static_cast<int>(std::lround(f * h / 256.0));
        // Tone k + 1 is odd for even k.
        out.push_back({x, base - bh, bw, bh, k % 2 == 0});
        x += bw;
    }
    return out;
}

} // namespace tarvane
