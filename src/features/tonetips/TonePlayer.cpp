#include "features/tonetips/TonePlayer.h"

#include <cmath>
#include <numbers>

#ifdef TARVANE_HAVE_MULTIMEDIA
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#endif

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

TonePlayer::TonePlayer(QObject* parent) : QObject(parent) {
    cut_.setSingleShot(true);
    connect(&cut_, &QTimer::timeout, this, [this] { Finish(); });
}

TonePlayer::~TonePlayer() {
#ifdef TARVANE_HAVE_MULTIMEDIA
    if (sink_) sink_->stop();
#endif
}

bool TonePlayer::AudioAvailable() {
#ifdef TARVANE_HAVE_MULTIMEDIA
    return !QMediaDevices::defaultAudioOutput().isNull();
#else
    return false;
#endif
}

bool TonePlayer::Play(std::vector<ToneStep> steps) {
#ifdef TARVANE_HAVE_MULTIMEDIA
    if (playing_ || steps.empty()) return false;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) return false;
    QAudioFormat format;
    format.setSampleRate(kToneSampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format)) return false;
    steps_ = std::move(steps);
    generator_ = new ToneGenerator(steps_, this);
    generator_->open(QIODevice::ReadOnly);
    sink_ = new QAudioSink(device, format, this);
    sink_->setBufferSize(kToneSampleRate / 10); // about 50 ms: a stop is heard soon
    connect(sink_, &QAudioSink::stateChanged, this, [this](QAudio::State s) {
        // The generator ran dry: every step has been played.
        if (s == QAudio::IdleState) Finish();
    });
    playing_ = true;
    clock_.start();
    sink_->start(generator_);
    if (sink_->error() != QAudio::NoError) {
        Finish();
        return false;
    }
    return true;
#else
    (void)steps;
    return false;
#endif
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
#ifdef TARVANE_HAVE_MULTIMEDIA
    if (sink_) {
        sink_->disconnect(this);
        sink_->stop();
        sink_->deleteLater();
        sink_ = nullptr;
    }
#endif
    if (generator_) {
        generator_->deleteLater();
        generator_ = nullptr;
    }
    emit finished();
}

} // namespace tarvane
