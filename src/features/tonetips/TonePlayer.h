#pragma once
// Plays the steps of a tone tip on the computer's audio output. The tones are
// generated as they play, so the window stays responsive; a stop lets the tone
// that is sounding finish and starts nothing after it.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <memory>
#include <vector>

#include "features/tonetips/ToneSequence.h"

class QAudioSink;

namespace tarvane {

class ToneGenerator;

class TonePlayer : public QObject {
    Q_OBJECT
  public:
    explicit TonePlayer(QObject* parent = nullptr);
    ~TonePlayer() override;

    // True when this machine has an audio output the player can use.
    static bool AudioAvailable();
    // Starts playing; false when there is nothing to play or no output.
    bool Play(std::vector<ToneStep> steps);
    void Stop();
    bool IsPlaying() const { return playing_; }

  signals:
    void finished();

  private:
    void Finish();

    std::vector<ToneStep> steps_;
    ToneGenerator* generator_ = nullptr;
    QAudioSink* sink_ = nullptr;
    QElapsedTimer clock_;
    QTimer cut_;
    bool playing_ = false;
};

} // namespace tarvane
