// The radio commands of tarvane-cli: the same core flows as the windows, with
// the questions answered from the command line and progress on stderr.
#include <QCoreApplication>
#include <cstdio>
#include <unistd.h>

#include "app/NumberText.h"
#include "app/Program.h"
#include "app/lang/LangText.h"
#include "cli/Cli.h"
#include "exchange/ImageJson.h"
#include "image/CodeplugFile.h"
#include "image/ModelVersion.h"
#include "link/RadioLink.h"
#include "link/RadioOps.h"

namespace tarvane {

namespace {

std::string ForStderr(std::string text) {
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, "\n");
    return text;
}

// Progress on stderr: a bar on a terminal, a line every ten percent otherwise.
class ProgressPrinter {
  public:
    explicit ProgressPrinter(std::string caption) : caption_(std::move(caption)), tty_(isatty(STDERR_FILENO) != 0) {}
    void Show(int percent) {
        if (tty_) {
            const int filled = percent * 30 / 100;
            std::fprintf(stderr, "\r%s [%s%s] %3d%%", caption_.c_str(), std::string(static_cast<size_t>(filled), '#').c_str(),
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

  private:
    std::string caption_;
    bool tty_;
    bool open_ = false;
    int lastTenth_ = 0;
};

std::optional<int> NumberOption(const CliArgs& args, const std::string& name, int fallback) {
    if (!args.Has(name)) return fallback;
    auto v = ToInt16(args.Get(name));
    if (!v || *v < 0) return std::nullopt;
    return *v;
}

// Runs one transfer to its end on the event loop. True on success.
bool RunTransfer(Program& p, LinkOperation op, const CliArgs& args, ProgressPrinter* progress) {
    RadioLink link(p);
    link.setDevice(QString::fromStdString(args.Get("--port")));
    if (args.Has("--trace") && !link.setTraceFile(QString::fromStdString(args.Get("--trace")))) {
        std::fprintf(stderr, "%s\n", ForStderr(LangText(p, 9002_txt) + "\r\n" + args.Get("--trace")).c_str());
        return false;
    }
    if (!link.openRadioPort(op)) return false;
    PrepareTransferData(p, op);
    bool success = false;
    QObject::connect(&link, &RadioLink::progress, [progress](int percent) {
        if (progress) progress->Show(percent);
    });
    QObject::connect(&link, &RadioLink::transferClosed, [progress](LinkOperation, bool) {
        if (progress) progress->Done();
    });
    QObject::connect(&link, &RadioLink::finished, [&success](LinkOperation, bool ok) {
        success = ok;
        QCoreApplication::exit(0);
    });
    if (!link.start()) return false;
    QCoreApplication::exec();
    return success;
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
        default: return DefaultAnswer(buttons);
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
    auto retries = NumberOption(args, "--retries", 0);
    if (!retries) return kExitUsage;
    const std::string password = args.Get("--password");
    InstallCliPrompts(p, *retries, args.Has("--password") ? &password : nullptr);
    ProgressPrinter progress(LangText(p, 9027_txt));
    // The read starts from the new document start-up has made.
    if (!RunTransfer(p, LinkOperation::ReadRadio, args, &progress)) return kExitFailed;
    if (!PostReadStep(p)) return kExitFailed;
    return SaveCodeplug(p, args.Get("--out")) ? kExitOk : kExitFailed;
}

int CliWrite(Program& p, const CliArgs& args) {
    auto retries = NumberOption(args, "--retries", 0);
    if (!retries) return kExitUsage;
    const std::string password = args.Get("--password");
    InstallCliPrompts(p, *retries, args.Has("--password") ? &password : nullptr);
    if (OpenCodeplug(p, args.words[0]) != OpenResult::Opened) return kExitFailed;
    ProgressPrinter progress(LangText(p, 9028_txt));
    return RunTransfer(p, LinkOperation::WriteRadio, args, &progress) ? kExitOk : kExitFailed;
}

int CliInfo(Program& p, const CliArgs& args) {
    auto retries = NumberOption(args, "--retries", 0);
    if (!retries) return kExitUsage;
    InstallCliPrompts(p, *retries, nullptr);
    if (!RunTransfer(p, LinkOperation::ReadRadioInfo, args, nullptr)) return kExitFailed;
    if (args.Has("--json")) {
        std::fputs(WriteJson(RadioInfoJson(p)).c_str(), stdout);
        return kExitOk;
    }
    PrintRadioInfo(p, p.RadioInfo);
    return kExitOk;
}

} // namespace tarvane
