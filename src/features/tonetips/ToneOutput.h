#pragma once
// The computer's audio output as the tone player uses it. The output lives in
// the module "audio" (ToneOutputModule.cpp), so Qt Multimedia and the sound
// server's libraries are loaded when tones are first played, not at start-up.
#include <functional>

class QIODevice;
class QObject;

namespace tarvane {

class ToneOutput {
  public:
    static constexpr int kVersion = 1;
    virtual ~ToneOutput() = default;
    // True when there is an output that plays mono signed 16-bit samples at `sampleRate`.
    virtual bool Available(int sampleRate) = 0;
    // Plays what `source` produces, holding about `bufferBytes` ahead; `ranDry` is
    // called once the source has nothing more. False when the output does not start.
    virtual bool Start(QIODevice& source, int sampleRate, int bufferBytes, std::function<void()> ranDry) = 0;
    virtual void Stop() = 0;
};

// The module's entry, `ToneOutput* entry(int version)`: a new output, or nullptr
// for another version.
inline constexpr const char* kToneOutputEntry = "tarvane_tone_output";

} // namespace tarvane
