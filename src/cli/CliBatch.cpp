// Many radios from the command line: write one file through several cables at
// once, go on radio after radio (--repeat), keep a CSV log (--log), and clone
// one radio into the others. RadioBatch does the work; this prints its rows.
#include <QCoreApplication>
#include <QSocketNotifier>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>

#include "base/NumberText.h"
#include "base/SafeFile.h"
#include "batch/RadioBatch.h"
#include "cli/Cli.h"
#include "cli/CliSignals.h"
#include "doc/Backups.h"
#include "image/CodeplugFile.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"

namespace tarvane {

namespace {

void Say(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}

std::string Joined(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& s : items)
        out += (out.empty() ? "" : ", ") + s;
    return out;
}

std::string Seconds(double s) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", s);
    return text;
}

const char* StageWord(Program& p, BatchStage stage, std::string& holder) {
    switch (stage) {
    case BatchStage::Info:
        holder = LangText(p, txt::kBatchReadingInfo);
        break;
    case BatchStage::Write:
        holder = LangText(p, txt::kBatchWriting);
        break;
    case BatchStage::Check:
        holder = LangText(p, txt::kCheckingWhatWritten);
        break;
    case BatchStage::Rewrite:
        holder = LangText(p, txt::kWritingDifferingBlocksAgain);
        break;
    default:
        return nullptr;
    }
    return holder.c_str();
}

// Runs the batch on the event loop until it finishes; Ctrl+C stops it.
// Returns the exit status.
int RunBatch(Program& p, RadioBatch& batch, bool repeat, const std::function<bool()>& begin) {
    SignalCatcher catcher;
    std::vector<BatchStage> shown;
    QObject::connect(&batch, &RadioBatch::rowChanged, [&](int i) {
        if (static_cast<size_t>(i) >= shown.size())
            shown.resize(static_cast<size_t>(i) + 1, BatchStage::Idle);
        const BatchStage now = batch.stage(i);
        if (shown[static_cast<size_t>(i)] == now) return;
        shown[static_cast<size_t>(i)] = now;
        std::string holder;
        if (const char* word = StageWord(p, now, holder)) Say(batch.row(i).port + ": " + word);
        if (now == BatchStage::Waiting) Say(batch.row(i).port + ": " + LangText(p, txt::kBatchWaiting));
    });
    QObject::connect(&batch, &RadioBatch::rowDone, [&](int i) {
        const BatchRow& r = batch.row(i);
        if (!r.model.empty())
            Say(FillIn(LangText(p, txt::kBatchRadioLine),
                       {r.port, r.model, r.band, r.firmware, r.serial.empty() ? "-" : r.serial}));
        switch (r.result) {
        case BatchResult::Written:
            Say(FillIn(LangText(p, txt::kBatchHoldsFile),
                       {r.port, Seconds(r.seconds), std::to_string(r.mended)}));
            if (!r.reason.empty()) Say(r.port + ": " + r.reason);
            break;
        case BatchResult::Refused:
            Say(FillIn(LangText(p, txt::kBatchRefused), {r.port, r.reason}));
            break;
        default:
            Say(FillIn(LangText(p, txt::kBatchFailed), {r.port, r.reason}));
            break;
        }
    });
    QObject::connect(&batch, &RadioBatch::finished, [] { QCoreApplication::exit(0); });
    std::unique_ptr<QSocketNotifier> notifier;
    if (catcher.ReadFd() >= 0) {
        notifier = std::make_unique<QSocketNotifier>(catcher.ReadFd(), QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, [&catcher, &batch] {
            char buf[16];
            while (read(catcher.ReadFd(), buf, sizeof buf) > 0) {
            }
            batch.stop();
        });
    }
    if (repeat) Say(LangText(p, txt::kWaitingNextRadio));
    if (begin() && (batch.running())) QCoreApplication::exec();
    if (!batch.cloneFailure().empty()) {
        Say(FillIn(LangText(p, txt::kCloneReadFailed), {batch.cloneFailure()}));
        return catcher.Signal() ? InterruptedStatus(catcher.Signal()) : kExitFailed;
    }
    int written = 0;
    for (const BatchRow& r : batch.done())
        if (r.result == BatchResult::Written) ++written;
    Say(FillIn(LangText(p, txt::kBatchSummary),
               {std::to_string(written), std::to_string(repeat ? batch.done().size() : batch.portCount())}));
    const std::vector<std::string> mix = batch.mayHoldMix();
    if (batch.endedTransfers()) Say(LangText(p, txt::kInterruptedTransferEndedEND));
    if (!mix.empty()) Say(FillIn(LangText(p, txt::kBatchMayHoldMix), {Joined(mix)}));
    if (!batch.logFailure().empty()) Say(FillIn(LangText(p, txt::kLogNotWritten), {batch.logFailure()}));
    // With --repeat Ctrl+C is the way to end: what counts is whether every radio met holds the file.
    if (catcher.Signal() && (!repeat || !mix.empty())) return InterruptedStatus(catcher.Signal());
    return batch.allWritten() && batch.logFailure().empty() ? kExitOk : kExitFailed;
}

// The devices of a repeatable option; a device named twice is wrong usage.
bool Devices(const CliArgs& args, const std::string& option, std::vector<std::string>& out) {
    out = args.All(option);
    std::set<std::string> seen;
    for (const std::string& d : out)
        if (!seen.insert(d).second) {
            std::fprintf(stderr, "%s: '%s' is given more than once\n", option.c_str(), d.c_str());
            return false;
        }
    return !out.empty();
}

std::optional<int> Retries(const CliArgs& args) {
    if (!args.Has("--retries")) return 2;
    auto v = ToInt16(args.Get("--retries"));
    if (!v || *v < 0) return std::nullopt;
    return *v;
}

void Configure(RadioBatch& batch, const CliArgs& args, int retries) {
    batch.setRetries(retries);
    batch.setRepeat(args.Has("--repeat"));
    batch.setLogPath(args.Get("--log"));
    batch.setBackupFolder(BackupFolder());
}

} // namespace

bool UsesBatch(const CliArgs& args) {
    return args.All("--port").size() > 1 || args.Has("--log") || args.Has("--repeat");
}

int CliBatchWrite(Program& p, const CliArgs& args) {
    std::vector<std::string> ports;
    auto retries = Retries(args);
    if (!Devices(args, "--port", ports) || !retries) return kExitUsage;
    const std::string password = args.Get("--password");
    InstallCliPrompts(p, 0, args.Has("--password") ? &password : nullptr);
    const std::string file = args.words[0];
    if (OpenCodeplug(p, file) != OpenResult::Opened) return kExitFailed;
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(file, bytes)) return kExitFailed;
    RadioBatch batch(p);
    Configure(batch, args, *retries);
    batch.setSource(p.Image, p.Model, std::filesystem::path(file).filename().string(), bytes);
    return RunBatch(p, batch, args.Has("--repeat"), [&] { return batch.start(ports); });
}

int CliClone(Program& p, const CliArgs& args) {
    std::vector<std::string> targets;
    auto retries = Retries(args);
    if (!Devices(args, "--to", targets) || !retries) return kExitUsage;
    const std::string from = args.Get("--from");
    for (const std::string& t : targets)
        if (t == from) {
            std::fprintf(stderr, "--to: '%s' is the radio read (--from)\n", t.c_str());
            return kExitUsage;
        }
    const std::string password = args.Get("--password");
    InstallCliPrompts(p, 0, args.Has("--password") ? &password : nullptr);
    RadioBatch batch(p);
    Configure(batch, args, *retries);
    bool told = false;
    QObject::connect(&batch, &RadioBatch::rowChanged, [&](int) {
        if (told || batch.backupPath().empty()) return;
        told = true;
        Say(FillIn(LangText(p, txt::kCloneBackupKept), {batch.backupPath()}));
    });
    Say(from + ": " + LangText(p, txt::kBatchCloning));
    return RunBatch(p, batch, args.Has("--repeat"), [&] { return batch.startClone(from, targets); });
}

} // namespace tarvane
