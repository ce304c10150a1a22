#pragma once
// The serial adapter: drives LinkEngine with a QSerialPort (9600 8N1, no flow
// control) and a precise 150 ms QTimer. One RadioLink per window or command;
// it lives on the user-interface thread like everything else.
//
// Use from the windows (the read command as an example):
//   RadioLink link(p);                          // device: the one mapped to p.Link.SerialPortNumber
//   if (!link.openRadioPort(LinkOperation::ReadRadio)) return;   // 9003 shown
//   link.closePort();
//   if (TellId(p, txt::kReadWholeConfigurationRadio, ...) != MsgAnswer::Ok) return;
//   PrepareTransferData(p, LinkOperation::ReadRadio);           // RadioLink does not touch the image
//   connect(&link, &RadioLink::progress, bar, ...);             // "N%" and the bar
//   connect(&link, &RadioLink::transferClosed, ...);            // close FrmProgress here
//   connect(&link, &RadioLink::finished, ...);                  // read: start ReadOKTimer -> PostReadStep(p)
//   link.start();                                               // reopens the port, sends the handshake
// The radio information read is the same without question and progress; on
// success p.RadioInfo holds the decoded area (show FrmRadioInfo). The password
// dialog and every question of the transfer come through p.Prompts, worded by
// RadioOps (AskThroughPrompts); setRetryQuestion answers the give-up question
// some other way.
// The signals are emitted from inside the transfer's handlers: delete the link
// with deleteLater(), never from a slot directly. After finished, check
// p.QuitRequested (the version question was answered Yes: the program ends).
// A port that goes away mid-transfer (a cable pulled, a radio switched off)
// is closed and the transfer ends as a failure at once, with no question in
// between; lostDevice() then names the port, for the one message that says so
// (FailedTransferText, RadioOps).
#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QSerialPort>
#include <QTimer>
#include <functional>
#include <memory>

#include "link/LinkEngine.h"
#include "state/lang/TextIds.h"

namespace tarvane {

struct Program;

class RadioLink : public QObject {
    Q_OBJECT
  public:
    explicit RadioLink(Program& p, QObject* parent = nullptr);
    // One of several radios at once: the engine works on its own context (its
    // own link state and information area), and `adjust` may replace the
    // host's questions and outcomes after the program's words filled them.
    RadioLink(Program& p, LinkContext context, const std::function<void(LinkHost&)>& adjust,
              QObject* parent = nullptr);
    ~RadioLink() override;

    // A device path used instead of the one mapped to p.Link.SerialPortNumber.
    void setDevice(const QString& path);
    QString device() const;
    // Every byte exchanged, with a timestamp and a direction, appended to a file.
    bool setTraceFile(const QString& path);

    // Sets the transfer range of the operation, then (re)opens the port. On
    // failure shows 9003 with the device and the reason and returns false.
    bool openRadioPort(LinkOperation op);
    void closePort();
    bool isPortOpen() const { return port_.isOpen(); }
    // Opens the port if needed (with the range openRadioPort set) and sends
    // the handshake. False when the port cannot be opened (9003 shown).
    bool start();
    // Ends a running transfer as a failure ("END" sent, port closed). False
    // when a question of the transfer is open and it cannot end now.
    bool abort();
    bool isRunning() const { return engine_->Running(); }
    // Answers the give-up question instead of asking it through p.Prompts:
    // true starts the transfer again, false ends it.
    void setRetryQuestion(std::function<bool(LinkOperation op)> ask);
    LinkEngine& engine() { return *engine_; }
    // The port that went away during the last transfer; empty when it did not.
    std::string lostDevice() const { return lostDevice_; }
    // The device is there (again): a transfer can be offered.
    bool portPresent() const;
    // Why the port refused or failed, in the user's language where the language
    // files have the words (SystemErrorText), else in the serial library's.
    std::string portErrorText();
    // A port that cannot be opened or hangs up is told here instead of in a
    // message box (one of many radios must not stop the others with a question).
    void setPortProblem(std::function<void(const std::string& text)> tell);

  signals:
    void progress(int percent);
    // A write reads back what it wrote (Check) or writes differing blocks again (Rewrite).
    void phase(tarvane::TransferPhase phase);
    // The transfer is over and the port closed; comes before the success message.
    void transferClosed(tarvane::LinkOperation op, bool success);
    void finished(tarvane::LinkOperation op, bool success);

  private:
    void Build(LinkContext context, const std::function<void(LinkHost&)>& adjust);
    void TellPortProblem(const std::string& text);
    bool OpenPort();
    void Send(std::span<const uint8_t> packet);
    void OnReadyRead();
    void OnError(QSerialPort::SerialPortError error);
    void Trace(const char* direction, const QByteArray& bytes);

    Program& p_;
    QSerialPort port_;
    QTimer wait_;
    std::unique_ptr<LinkEngine> engine_;
    QString device_;
    LinkOperation prepared_ = LinkOperation::Idle;
    std::function<bool(LinkOperation op)> retryQuestion_;
    std::function<void(const std::string& text)> portProblem_;
    QFile trace_;
    QElapsedTimer clock_;
    std::string lostDevice_;
    QTimer abortLost_; // a lost port met while a question of the transfer was open
};

} // namespace tarvane
