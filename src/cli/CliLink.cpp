// The radio commands of tarvane-cli: the same core flows as the windows, with
// the questions answered from the command line and progress on stderr.
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/NumberText.h"
#include "cli/Cli.h"
#include "cli/CliSignals.h"
#include "exchange/ImageJson.h"
#include "image/CodeplugFile.h"
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
    int signal = 0;           // the transfer was interrupted by this signal
    bool wroteBlocks = false; // a write sent memory blocks
};

// Runs one transfer to its end on the event loop.
TransferResult RunTransfer(Program& p, LinkOperation op, const CliArgs& args, int retries,
                           ProgressPrinter* progress) {
    TransferResult result;
    SignalCatcher catcher;
    const std::string device = args.Get("--port");
    RadioLink link(p);
    link.setDevice(QString::fromStdString(device));
    if (args.Has("--trace") && !link.setTraceFile(QString::fromStdString(args.Get("--trace")))) {
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
    result.wroteBlocks = link.engine().WroteBlocks();
    if (link.engine().EchoModeConfirmed()) SaveNoEchoMode(p, device, p.Link.NoEchoMode);
    return result;
}

// What an interrupted command says before it ends.
int Interrupted(Program& p, const TransferResult& r, LinkOperation op) {
    std::string text = LangText(p, txt::kInterruptedTransferEndedEND) + "\n" +
                       LangText(p, op == LinkOperation::WriteRadio && r.wroteBlocks ? txt::kRadioMayHoldMix
                                                                                    : txt::kNothingSaved);
    std::fprintf(stderr, "%s\n", text.c_str());
    return InterruptedStatus(r.signal);
}

// The output file must be writable before a 13-second transfer, not after it.
// Nothing is left behind: a file made for the test is removed again.
bool CheckWritable(Program& p, const std::string& path) {
    struct stat st {};
    int fd = -1;
    if (stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            errno = EISDIR;
        } else {
            // Non-blocking: a FIFO without a reader must not hold the command.
            fd = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        }
    } else if (errno == ENOENT) {
        fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) unlink(path.c_str());
    }
    if (fd >= 0) {
        close(fd);
        return true;
    }
    std::fprintf(stderr, "%s %s %s\n", path.c_str(), LangText(p, txt::kCannotWritten).c_str(),
                 std::strerror(errno));
    return false;
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
    if (r.signal) return Interrupted(p, r, LinkOperation::ReadRadio);
    if (!r.success) return kExitFailed;
    if (!PostReadStep(p)) return kExitFailed;
    return SaveCodeplug(p, out) ? kExitOk : kExitFailed;
}

int CliWrite(Program& p, const CliArgs& args) {
    auto retries = NumberOption(args, "--retries", kDefaultRetries);
    if (!retries) return kExitUsage;
    const std::string password = args.Get("--password");
    InstallCliPrompts(p, *retries, args.Has("--password") ? &password : nullptr);
    if (OpenCodeplug(p, args.words[0]) != OpenResult::Opened) return kExitFailed;
    p.Link.VerifyWrite = args.Has("--verify");
    ProgressPrinter progress(LangText(p, txt::kWritingRadio));
    const TransferResult r = RunTransfer(p, LinkOperation::WriteRadio, args, *retries, &progress);
    if (r.signal) return Interrupted(p, r, LinkOperation::WriteRadio);
    return r.success ? kExitOk : kExitFailed;
}

int CliInfo(Program& p, const CliArgs& args) {
    auto retries = NumberOption(args, "--retries", kDefaultRetries);
    if (!retries) return kExitUsage;
    InstallCliPrompts(p, *retries, nullptr);
    const TransferResult t = RunTransfer(p, LinkOperation::ReadRadioInfo, args, *retries, nullptr);
    if (t.signal) return Interrupted(p, t, LinkOperation::ReadRadioInfo);
    if (!t.success) return kExitFailed;
    if (args.Has("--json")) {
        std::fputs(WriteJson(RadioInfoJson(p)).c_str(), stdout);
        return kExitOk;
    }
    PrintRadioInfo(p, p.RadioInfo);
    return kExitOk;
}

} // namespace tarvane
