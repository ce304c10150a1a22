// The radio commands of tarvane-cli: the same core flows as the windows, with
// the questions answered from the command line and progress on stderr.
#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/NumberText.h"
#include "base/SafeFile.h"
#include "cli/Cli.h"
#include "cli/CliSignals.h"
#include "doc/Backups.h"
#include "doc/Startup.h"
#include "exchange/ImageJson.h"
#include "image/CodeplugFile.h"
#include "image/ImageOps.h"
#include "image/InitialValues.h"
#include "image/ModelVersion.h"
#include "link/LinkSettings.h"
#include "link/RadioLink.h"
#include "link/RadioOps.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"

namespace tarvane {

namespace {

std::string ForStderr(std::string text) {
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;)
        text.replace(at, 2, "\n");
    return text;
}

// Qt names files by UTF-16 text, which cannot hold every byte string a Linux
// name may be. Such a name is opened here and given to Qt as its descriptor's
// path, so the file the user named is the one used.
class QtName {
  public:
    QtName(const std::string& path, int flags) {
        const QByteArray bytes = QByteArray::fromStdString(path);
        name_ = QFile::decodeName(bytes);
        if (QFile::encodeName(name_) == bytes) return;
        fd_ = open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
        if (fd_ >= 0) name_ = QString("/proc/self/fd/%1").arg(fd_);
    }
    ~QtName() {
        if (fd_ >= 0) close(fd_);
    }
    QtName(const QtName&) = delete;
    QtName& operator=(const QtName&) = delete;
    const QString& Name() const { return name_; }

  private:
    QString name_;
    int fd_ = -1;
};

// Progress on stderr: a bar on a terminal, a line every ten percent otherwise.
class ProgressPrinter {
  public:
    explicit ProgressPrinter(std::string caption)
        : caption_(std::move(caption)), tty_(isatty(STDERR_FILENO) != 0) {}
    void Show(int percent) {
        if (tty_) {
            const int filled = percent * 30 / 100;
            std::fprintf(stderr, "\r%s [%s%s] %3d%%", caption_.c_str(),
                         std::string(static_cast<size_t>(filled), '#').c_str(),
                         std::string(static_cast<size_t>(30 - filled), ' ').c_str(), percent);
            open_ = true;
        } else if (percent / 10 > lastTenth_ || percent == 0) {
            lastTenth_ = percent / 10;
            std::fprintf(stderr, "%s %d%%\n", caption_.c_str(), percent);
        }
        std::fflush(stderr);
    }
    void Done() {
        if (open_) std::fputc('\n', stderr);
        open_ = false;
    }
    // A new phase (reading back, writing again) counts from 0 under its own caption.
    void Restart(std::string caption) {
        Done();
        caption_ = std::move(caption);
        lastTenth_ = 0;
    }

  private:
    std::string caption_;
    bool tty_;
    bool open_ = false;
    int lastTenth_ = 0;
};

// Restarts after the give-up question when --retries is not given: one lost
// reply (the identification, the password block) must not end a transfer.
constexpr int kDefaultRetries = 2;

std::optional<int> NumberOption(const CliArgs& args, const std::string& name, int fallback) {
    if (!args.Has(name)) return fallback;
    auto v = ToInt16(args.Get(name));
    if (!v || *v < 0) return std::nullopt;
    return *v;
}

std::string Hex4(int address) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%04X", static_cast<unsigned>(address) & 0xFFFF);
    return buf;
}

// What the transfer was waiting for when it gave up, for the command line's message.
std::string WhatWasTried(Program& p, const LinkEngine& engine) {
    switch (engine.Step()) {
    case LinkStep::AwaitHandshakeAck:
        return LangText(p, txt::kWaitingHandshake);
    case LinkStep::AwaitIdentReply:
        return LangText(p, txt::kWaitingIdentification);
    case LinkStep::AwaitPasswordBlock:
        return LangText(p, txt::kWaitingPasswordBlock);
    case LinkStep::AwaitEndAck:
        return LangText(p, txt::kWaitingAnswerEND);
    case LinkStep::TransferBlocks:
        break;
    }
    if (engine.Refusals() >= kRefusalLimit)
        return FillIn(LangText(p, txt::kRadioRefusedBlockTimes),
                      {Hex4(engine.BlockAddress()), std::to_string(engine.Refusals())});
    return FillIn(LangText(p, txt::kWaitingBlock), {Hex4(engine.BlockAddress())});
}

struct TransferResult {
    bool success = false;
    int signal = 0;     // the transfer was interrupted by this signal
    bool mixed = false; // a write ended after it had sent blocks: the radio may hold a mix
};

// Runs one transfer to its end on the event loop.
TransferResult RunTransfer(Program& p, LinkOperation op, const CliArgs& args, int retries,
                           ProgressPrinter* progress) {
    TransferResult result;
    SignalCatcher catcher;
    const std::string device = args.Get("--port");
    RadioLink link(p);
    const QtName port(device, O_RDWR);
    link.setDevice(port.Name());
    const std::unique_ptr<QtName> trace =
        args.Has("--trace") ? std::make_unique<QtName>(args.Get("--trace"), O_WRONLY | O_CREAT | O_APPEND)
                            : nullptr;
    if (trace && !link.setTraceFile(trace->Name())) {
        std::fprintf(stderr, "%s\n",
                     ForStderr(LangText(p, txt::kFileCouldNotRead) + "\r\n" + args.Get("--trace")).c_str());
        return result;
    }
    // The echo expectation that worked on this device last time.
    if (auto noEcho = LoadNoEchoMode(p, device)) p.Link.NoEchoMode = *noEcho;
    if (!link.openRadioPort(op)) return result;
    PrepareTransferData(p, op);

    // The give-up question says what was tried and what to check instead of
    // asking; --retries decides the answer.
    int restarts = 0;
    link.setRetryQuestion([&](LinkOperation) {
        if (progress) progress->Done();
        const std::string what = WhatWasTried(p, link.engine());
        if (restarts < retries && !catcher.Signal()) {
            ++restarts;
            std::fprintf(stderr, "%s\n",
                         FillIn(LangText(p, txt::kRadioGaveNoUsable_32005),
                                {device, what, std::to_string(restarts), std::to_string(retries)})
                             .c_str());
            return true;
        }
        std::fprintf(
            stderr, "%s\n",
            FillIn(LangText(p, txt::kRadioGaveNoUsable_32006), {device, what, std::to_string(retries)})
                .c_str());
        return false;
    });

    QObject::connect(&link, &RadioLink::progress, [progress](int percent) {
        if (progress) progress->Show(percent);
    });
    QObject::connect(&link, &RadioLink::phase, [&p, progress](TransferPhase phase) {
        if (!progress) return;
        const TextId id = phase == TransferPhase::Check     ? txt::kCheckingWhatWritten
                          : phase == TransferPhase::Rewrite ? txt::kWritingDifferingBlocksAgain
                                                            : txt::kWritingRadio;
        progress->Restart(LangText(p, id));
    });
    QObject::connect(&link, &RadioLink::transferClosed, [progress](LinkOperation, bool) {
        if (progress) progress->Done();
    });
    QObject::connect(&link, &RadioLink::finished, [&result](LinkOperation, bool ok) {
        result.success = ok;
        QCoreApplication::exit(0);
    });
    // A question of the transfer may be open when the signal comes: try again shortly.
    QTimer retryAbort;
    retryAbort.setInterval(20);
    QObject::connect(&retryAbort, &QTimer::timeout, [&link, &retryAbort] {
        if (link.abort()) retryAbort.stop();
    });
    std::unique_ptr<QSocketNotifier> notifier;
    if (catcher.ReadFd() >= 0) {
        notifier = std::make_unique<QSocketNotifier>(catcher.ReadFd(), QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, [&catcher, &link, &retryAbort] {
            char buf[16];
            while (read(catcher.ReadFd(), buf, sizeof buf) > 0) {
            }
            if (!link.abort()) retryAbort.start();
        });
    }
    if (catcher.Signal()) {
        link.closePort();
    } else if (link.start()) {
        QCoreApplication::exec();
    }
    result.signal = catcher.Signal();
    if (result.signal) result.success = false;
    result.mixed = link.engine().LeftRadioMixed();
    if (!result.success && !result.signal) {
        // The port went away, the radio may hold a mix: said as the window says it.
        const std::string failure = FailedTransferText(p, link.engine(), link.lostDevice());
        if (!failure.empty()) std::fprintf(stderr, "%s\n", ForStderr(failure).c_str());
    }
    if (link.engine().EchoModeConfirmed() && !SaveNoEchoMode(p, device, p.Link.NoEchoMode))
        ReportSetupNotSaved(p);
    return result;
}

// What an interrupted command says before it ends.
int Interrupted(Program& p, const TransferResult& r) {
    std::string text = LangText(p, txt::kInterruptedTransferEndedEND) + "\n" +
                       LangText(p, r.mixed ? txt::kRadioMayHoldMix : txt::kNothingSaved);
    std::fprintf(stderr, "%s\n", text.c_str());
    return InterruptedStatus(r.signal);
}

// The output file must be writable before a 13-second transfer, not after it:
// the same rules as the save (a regular file or a new name, a link written
// through) and the real temporary file made, filled and synced beside it.
bool CheckWritable(Program& p, const std::string& path) {
    FileError error;
    if (CanReplaceFile(path, &error, kCodeplugFileSize)) return true;
    std::fprintf(stderr, "%s\n", ForStderr(FileFailureText(p, error)).c_str());
    return false;
}

// The radio's own band decides the document a read starts from: the fields the
// radio does not hold (current group, group emergency channels, unused slots)
// are those of that band's new document, not of the one start-up made.
void StartFromBandOfRadio(Program& p) {
    const int band = p.Link.Identity.RadioModelType;
    if (band == p.Model.ModelType || !SetModelType(p, band)) return;
    p.RadioInfo.ModelType = static_cast<int16_t>(band);
    NewDocument(p);
}

// Backups as the window program keeps them; false only when a write must not go
// on without one (the message says why).
bool KeepCliBackup(Program& p, const CliArgs& args, BackupKind kind) {
    if (args.Has("--no-backup")) return true;
    const std::string folder = BackupFolder();
    const std::string written = KeepBackup(p, kind, folder);
    if (!written.empty()) {
        std::fprintf(stderr, "%s\n", FillIn(LangText(p, txt::kBackupKeptAs), {written}).c_str());
        return true;
    }
    std::fprintf(stderr, "%s\n",
                 FillIn(LangText(p, kind == BackupKind::Read ? txt::kBackupConfigurationReadCould
                                                             : txt::kBackupWriteNotKept),
                        {folder})
                     .c_str());
    return kind == BackupKind::Read;
}

} // namespace

void InstallCliPrompts(Program& p, int retries, const std::string* password) {
    auto left = std::make_shared<int>(retries);
    p.Prompts.message = [left](const std::string& text, MsgIcon, MsgButtons buttons, const std::string&) {
        std::fprintf(stderr, "%s\n", ForStderr(text).c_str());
        switch (buttons) {
        case MsgButtons::OkCancel:
        case MsgButtons::RetryCancel:
            if (*left > 0) {
                --*left;
                return buttons == MsgButtons::OkCancel ? MsgAnswer::Ok : MsgAnswer::Retry;
            }
            return MsgAnswer::Cancel;
        default:
            return DefaultAnswer(buttons);
        }
    };
    std::optional<std::string> given;
    if (password) given = *password;
    p.Prompts.password = [given](std::string& entry) {
        if (!given) return false;
        entry = *given;
        return true;
    };
    p.Prompts.startProgram = [](const std::string&) { return false; };
}

int CliRead(Program& p, const CliArgs& args) {
    auto retries = NumberOption(args, "--retries", kDefaultRetries);
    if (!retries) return kExitUsage;
    const std::string password = args.Get("--password");
    InstallCliPrompts(p, *retries, args.Has("--password") ? &password : nullptr);
    const std::string out = args.Get("--out");
    if (!CheckWritable(p, out)) return kExitFailed;
    ProgressPrinter progress(LangText(p, txt::kReadingRadio));
    // The read starts from the new document start-up has made.
    const TransferResult r = RunTransfer(p, LinkOperation::ReadRadio, args, *retries, &progress);
    if (r.signal) return Interrupted(p, r);
    if (!r.success) return kExitFailed;
    StartFromBandOfRadio(p);
    if (!PostReadStep(p)) return kExitFailed;
    KeepCliBackup(p, args, BackupKind::Read);
    return SaveCodeplug(p, out) ? kExitOk : kExitFailed;
}

int CliWrite(Program& p, const CliArgs& args) {
    auto retries = NumberOption(args, "--retries", kDefaultRetries);
    if (!retries) return kExitUsage;
    const std::string password = args.Get("--password");
    InstallCliPrompts(p, *retries, args.Has("--password") ? &password : nullptr);
    if (OpenCodeplug(p, args.words[0]) != OpenResult::Opened) return kExitFailed;
    p.Link.VerifyWrite = args.Has("--verify");
    if (!KeepCliBackup(p, args, BackupKind::Write)) return kExitFailed;
    ProgressPrinter progress(LangText(p, txt::kWritingRadio));
    const TransferResult r = RunTransfer(p, LinkOperation::WriteRadio, args, *retries, &progress);
    if (r.signal) return Interrupted(p, r);
    return r.success ? kExitOk : kExitFailed;
}

int CliInfo(Program& p, const CliArgs& args) {
    auto retries = NumberOption(args, "--retries", kDefaultRetries);
    if (!retries) return kExitUsage;
    InstallCliPrompts(p, *retries, nullptr);
    const TransferResult t = RunTransfer(p, LinkOperation::ReadRadioInfo, args, *retries, nullptr);
    if (t.signal) return Interrupted(p, t);
    if (!t.success) return kExitFailed;
    if (args.Has("--json")) {
        std::fputs(WriteJson(RadioInfoJson(p)).c_str(), stdout);
        return kExitOk;
    }
    PrintRadioInfo(p, p.RadioInfo);
    return kExitOk;
}

} // namespace tarvane
