#include "features/tonetips/TonePlayer.h"

#include <cmath>
#include <numbers>

#include "features/tonetips/ToneOutput.h"
#include "ui/Modules.h"

namespace tarvane {

namespace {
constexpr double kAmplitude = 0.3 * 32767;
} // namespace

ToneGenerator::ToneGenerator(std::vector<ToneStep> steps, QObject* parent)
    : QIODevice(parent), steps_(std::move(steps)) {}

qint64 ToneGenerator::readData(char* data, qint64 maxlen) {
    auto* out = reinterpret_cast<int16_t*>(data);
    const qint64 samples = maxlen / 2;
    qint64 n = 0;
    while (n < samples && step_ < steps_.size()) {
        if (done_ == 0 && stop_) {
            step_ = steps_.size();
            break;
        }
        const ToneStep& s = steps_[step_];
        const qint64 length = static_cast<qint64>(s.durationMs) * kToneSampleRate / 1000;
        const qint64 take = std::min(samples - n, length - done_);
        const double inc = 2 * std::numbers::pi * s.frequencyHz / kToneSampleRate;
        for (qint64 i = 0; i < take; ++i) {
            if (s.kind == ToneStep::Tone) {
                out[n + i] = static_cast<int16_t>(kAmplitude * std::sin(phase_));
                phase_ = std::fmod(phase_ + inc, 2 * std::numbers::pi);
            } else {
                out[n + i] = 0;
            }
        }
        n += take;
        done_ += take;
        if (done_ >= length) {
            ++step_;
            done_ = 0;
        }
    }
    return n * 2;
}

qint64 ToneGenerator::bytesAvailable() const {
    return (step_ < steps_.size() ? 4096 : 0) + QIODevice::bytesAvailable();
}

TonePlayer::TonePlayer(std::string programFolder, QObject* parent)
    : QObject(parent), programFolder_(std::move(programFolder)) {
    cut_.setSingleShot(true);
    connect(&cut_, &QTimer::timeout, this, [this] { Finish(); });
}

TonePlayer::~TonePlayer() {
    if (output_) output_->Stop();
}

ToneOutput* TonePlayer::Output() {
    if (!loaded_) {
        loaded_ = true;
        output_.reset(LoadModule<ToneOutput>(programFolder_, "audio", kToneOutputEntry, moduleError_));
    }
    return output_.get();
}

bool TonePlayer::AudioAvailable() {
    ToneOutput* out = Output();
    return out && out->Available(kToneSampleRate);
}

bool TonePlayer::Play(std::vector<ToneStep> steps) {
    ToneOutput* out = Output();
    if (playing_ || steps.empty() || !out) return false;
    steps_ = std::move(steps);
    generator_ = new ToneGenerator(steps_, this);
    generator_->open(QIODevice::ReadOnly);
    playing_ = true;
    clock_.start();
    // About 50 ms ahead: a stop is heard soon.
    if (out->Start(*generator_, kToneSampleRate, kToneSampleRate / 10, [this] { Finish(); })) return true;
    Finish();
    return false;
}

void TonePlayer::Stop() {
    if (!playing_ || !generator_) return;
    generator_->RequestStop();
    // The generator runs ahead of what is heard: cut the output when the tone
    // sounding now ends, before anything after it is heard.
    cut_.start(MsUntilStop(steps_, clock_.elapsed()));
}

void TonePlayer::Finish() {
    if (!playing_) return;
    playing_ = false;
    cut_.stop();
    if (output_) output_->Stop();
    if (generator_) {
        generator_->deleteLater();
        generator_ = nullptr;
    }
    emit finished();
}

} // namespace tarvane
