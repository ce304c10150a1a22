#pragma once
// Plays the steps of a tone tip on the computer's audio output. The tones are
// generated as they play, so the window stays responsive; a stop lets the tone
// that is sounding finish and starts nothing after it.
#include <QElapsedTimer>
#include <QIODevice>
#include <QObject>
#include <QTimer>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "features/tonetips/ToneSequence.h"

namespace tarvane {

class ToneOutput;

inline constexpr int kToneSampleRate = 48000; // mono, signed 16-bit

// Produces the samples of the steps as the output asks for them; once a stop is
// asked for, it ends at the next step boundary.
class ToneGenerator : public QIODevice {
  public:
    ToneGenerator(std::vector<ToneStep> steps, QObject* parent);
    void RequestStop() { stop_ = true; }

  protected:
    qint64 readData(char* data, qint64 maxlen) override;
    qint64 writeData(const char*, qint64) override { return -1; }
    qint64 bytesAvailable() const override;

  private:
    std::vector<ToneStep> steps_;
    size_t step_ = 0;
    qint64 done_ = 0; // samples of the current step already produced
    double phase_ = 0;
    std::atomic<bool> stop_{false};
};

class TonePlayer : public QObject {
    Q_OBJECT
  public:
    // The audio output is the module of the program folder `programFolder`.
    explicit TonePlayer(std::string programFolder, QObject* parent = nullptr);
    ~TonePlayer() override;

    // True when this machine has an audio output the player can use; loads the
    // audio module the first time.
    bool AudioAvailable();
    // Why the audio module could not be loaded; empty when it could.
    const QString& ModuleError() const { return moduleError_; }
    // Starts playing; false when there is nothing to play or no output.
    bool Play(std::vector<ToneStep> steps);
    void Stop();
    bool IsPlaying() const { return playing_; }

  signals:
    void finished();

  private:
    void Finish();
    ToneOutput* Output();

    std::string programFolder_;
    std::unique_ptr<ToneOutput> output_;
    bool loaded_ = false;
    QString moduleError_;
    std::vector<ToneStep> steps_;
    ToneGenerator* generator_ = nullptr;
    QElapsedTimer clock_;
    QTimer cut_;
    bool playing_ = false;
};

} // namespace tarvane
