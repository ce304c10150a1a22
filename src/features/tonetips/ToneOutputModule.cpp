// The module "audio": the tone player's output on Qt Multimedia. Built as its own
// shared library, so only a program that plays tones loads Qt Multimedia.
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <memory>

#include "features/tonetips/ToneOutput.h"

namespace tarvane {

namespace {

QAudioFormat ToneFormat(int sampleRate) {
    QAudioFormat format;
    format.setSampleRate(sampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

class SinkOutput : public ToneOutput {
  public:
    ~SinkOutput() override { Stop(); }

    bool Available(int sampleRate) override {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        return !device.isNull() && device.isFormatSupported(ToneFormat(sampleRate));
    }

    bool Start(QIODevice& source, int sampleRate, int bufferBytes, std::function<void()> ranDry) override {
        Stop();
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull() || !device.isFormatSupported(ToneFormat(sampleRate))) return false;
        sink_ = std::make_unique<QAudioSink>(device, ToneFormat(sampleRate));
        sink_->setBufferSize(bufferBytes);
        QObject::connect(sink_.get(), &QAudioSink::stateChanged, sink_.get(),
                         [ranDry = std::move(ranDry)](QAudio::State s) {
                             // The source ran dry: everything has been played.
                             if (s == QAudio::IdleState) ranDry();
                         });
        sink_->start(&source);
        if (sink_->error() == QAudio::NoError) return true;
        Stop();
        return false;
    }

    void Stop() override {
        if (!sink_) return;
        sink_->disconnect();
        sink_->stop();
        // Called from the sink's own signal as well: deleted once that is over.
        sink_.release()->deleteLater();
    }

  private:
    std::unique_ptr<QAudioSink> sink_;
};

} // namespace

} // namespace tarvane

extern "C" Q_DECL_EXPORT tarvane::ToneOutput* tarvane_tone_output(int version) {
    if (version != tarvane::ToneOutput::kVersion) return nullptr;
    return new tarvane::SinkOutput();
}
