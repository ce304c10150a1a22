#pragma once
// What a tone tip sounds like and looks like, without a window: the tones and
// silences its playback produces, and the bars of its picture.
#include <vector>

#include "state/RadioImage.h"

namespace tarvane {

struct ToneStep {
    enum Kind { Tone, Rest, LoopPause };
    Kind kind = Tone;
    int frequencyHz = 0; // 0 for the silences
    int durationMs = 0;
    bool operator==(const ToneStep&) const = default;
};

// The most passes a tip plays. The radio counts passes in a byte, so a larger
// loop count would never end; it is cut to this.
inline constexpr int kMaxTonePasses = 255;

// Every pass plays tones 1..14: a tone whose duration is 4 ms or less is skipped,
// a frequency of 48 Hz or less is a rest of the tone's duration. After each pass
// comes the loop pause (LoopInterval x 10 ms) when it is above 0. No steps when
// LoopCount is 0 or less.
std::vector<ToneStep> ToneSequence(const ToneTipRecord& tip);
// How long the output must go on when Stop comes `elapsedMs` into the steps: the
// rest of the tone sounding then, 0 during a silence or after the end. Stop never
// cuts a tone short, and nothing after it is heard.
int MsUntilStop(const std::vector<ToneStep>& steps, long long elapsedMs);
// Sum of the durations in milliseconds (one pass, no pauses); Play needs above 4.
int ToneTipTotalMs(const ToneTipRecord& tip);

struct ToneBar {
    int left = 0, top = 0, width = 0, height = 0; // box in the picture's units, top-left origin
    bool red = false;                             // odd tones red, even tones blue
    bool operator==(const ToneBar&) const = default;
};

// The bars of the picture for a picture of that size: from x = 50 on, a tone with
// a duration above 0 takes duration x (width - 100) / total of its width and
// frequency x (height - 100) / 256 of height, standing on height - 50. A rest takes
// its width with no height. Nothing when the total duration is below 1.
std::vector<ToneBar> ToneTipBars(const ToneTipRecord& tip, int width, int height);

} // namespace tarvane
