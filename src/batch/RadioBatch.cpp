#include "batch/RadioBatch.h"

#include <QElapsedTimer>
#include <QTimer>
#include <ctime>
#include <filesystem>

#include "base/FixedText.h"
#include "base/SafeFile.h"
#include "doc/Backups.h"
#include "image/CodeplugFile.h"
#include "image/ModelVersion.h"
#include "link/LinkSettings.h"
#include "link/RadioInfoArea.h"
#include "link/RadioLink.h"
#include "memory/RadioMemory.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"

namespace tarvane {

namespace {

// A port waits this long between polls for the next radio.
constexpr int kPollIntervalMs = 1000;

std::string Hex4(int address) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%04X", static_cast<unsigned>(address) & 0xFFFF);
    return buf;
}

std::string DealerTexts(const RadioInfoRecord& r) {
    std::string out;
    for (const auto& text : r.Head16) {
        const std::string t = text.Trimmed();
        if (!t.empty()) out += (out.empty() ? "" : " / ") + t;
    }
    return out;
}

} // namespace

struct RadioBatch::Port {
    std::string device;
    LinkState link;
    std::array<uint8_t, kRadioInfoSize> info{};
    std::unique_ptr<RadioLink> radio;
    BatchStage stage = BatchStage::Idle;
    bool polling = false;
    BatchRow row;
    int progress = 0;
    int restarts = 0;
    std::optional<RadioIdentity> answered; // the identification of this transfer
    std::string reason;                    // set by a refusal during the transfer
    bool refused = false;
    bool lost = false; // the port could not be opened or hung up
    NextRadioWait wait;
    QTimer pollTimer;
    QElapsedTimer clock;
};

RadioBatch::RadioBatch(Program& p, QObject* parent) : QObject(parent), p_(p), model_(p.Model) {}

RadioBatch::~RadioBatch() = default;

void RadioBatch::setSource(const RadioImage& image, const CurrentModel& model, const std::string& fileName,
                           std::span<const uint8_t> fileBytes) {
    RadioImage copy = image;
    EncodeRadioMemory(memory_, copy);
    model_ = model;
    fileName_ = fileName;
    checksum_ = Checksum(fileBytes);
}

const BatchRow& RadioBatch::row(int port) const {
    return ports_.at(static_cast<size_t>(port))->row;
}

BatchStage RadioBatch::stage(int port) const {
    return ports_.at(static_cast<size_t>(port))->stage;
}

int RadioBatch::progress(int port) const {
    return ports_.at(static_cast<size_t>(port))->progress;
}

std::vector<std::string> RadioBatch::mayHoldMix() const {
    return mix_;
}

bool RadioBatch::allWritten() const {
    if (done_.empty() || !cloneFailure_.empty()) return false;
    for (const BatchRow& r : done_)
        if (r.result != BatchResult::Written) return false;
    // Without repeat every port must have had its radio.
    if (!repeat_)
        for (const auto& port : ports_)
            if (port->row.result != BatchResult::Written) return false;
    return true;
}

void RadioBatch::Adjust(Port& port, LinkHost& host) {
    host.askRetry = [this, &port](LinkOperation) {
        if (port.polling || stopping_ || port.restarts >= retries_) return false;
        ++port.restarts;
        return true;
    };
    host.identityMismatch = [this, &port](IdentityMismatch mismatch, const RadioIdentity& radio) {
        port.refused = true;
        switch (mismatch) {
        case IdentityMismatch::ModelType:
            port.reason = FillIn(LangText(p_, txt::kAnotherBandType),
                                 {TypeName(radio.RadioModelType), TypeName(model_.ModelType)});
            return;
        case IdentityMismatch::Version:
            port.reason = FillIn(LangText(p_, txt::kFirmwareNotTaken), {radio.RadioFirmwareVersion});
            return;
        case IdentityMismatch::Model:
            port.reason = FillIn(LangText(p_, txt::kAnotherModel), {ModelDisplayName(radio.RadioModelCode),
                                                                    ModelDisplayName(model_.ModelCode)});
            return;
        }
    };
    host.notice = [this, &port](LinkNotice notice, int count) {
        switch (notice) {
        case LinkNotice::FeatureUnsupported:
            port.reason = LangText(p_, txt::kNoCtcssDcs);
            return;
        case LinkNotice::PasswordFailure:
            port.refused = true;
            port.reason = LangText(p_, txt::kWrongPassword);
            return;
        case LinkNotice::BlocksNotTaken:
            port.reason = FillIn(LangText(p_, txt::kBlocksDidNotTake),
                                 {std::to_string(count), std::to_string(kRewriteRounds)});
            return;
        }
    };
    host.succeeded = [](LinkOperation) {};
    host.identified = [this, &port](const RadioIdentity& radio) {
        port.answered = radio;
        // A poll needs no more than the identification: "END" at once.
        if (port.polling) QTimer::singleShot(0, this, [&port] { port.radio->abort(); });
    };
}

bool RadioBatch::start(const std::vector<std::string>& devices) {
    if (devices.empty() || running_) return false;
    ports_.clear();
    done_.clear();
    mix_.clear();
    ended_ = false;
    stopping_ = false;
    running_ = true;
    for (const std::string& device : devices) {
        auto port = std::make_unique<Port>();
        Port& ref = *port;
        ref.device = device;
        ref.row.port = device;
        ref.link.VerifyWrite = true; // every radio of a batch is read back
        ref.link.PasswordRetryCounter = 3;
        if (auto noEcho = LoadNoEchoMode(p_, device)) ref.link.NoEchoMode = *noEcho;
        LinkContext context{memory_, ref.info, ref.link, p_.EnteredPassword, model_, p_.Versions};
        ref.radio =
            std::make_unique<RadioLink>(p_, context, [this, &ref](LinkHost& host) { Adjust(ref, host); });
        ref.radio->setDevice(QString::fromStdString(device));
        ref.radio->setPortProblem([&ref](const std::string& text) {
            ref.reason = text;
            ref.lost = true;
        });
        connect(ref.radio.get(), &RadioLink::progress, this, [this, &ref](int percent) {
            ref.progress = percent;
            emit rowChanged(PortIndex(ref));
        });
        connect(ref.radio.get(), &RadioLink::phase, this, [this, &ref](TransferPhase phase) {
            ref.stage = phase == TransferPhase::Check     ? BatchStage::Check
                        : phase == TransferPhase::Rewrite ? BatchStage::Rewrite
                                                          : BatchStage::Write;
            emit rowChanged(PortIndex(ref));
        });
        // Queued: the link is done with its handlers before the next transfer starts.
        connect(
            ref.radio.get(), &RadioLink::finished, this,
            [this, &ref](LinkOperation op, bool success) { OnFinished(ref, op, success); },
            Qt::QueuedConnection);
        ref.pollTimer.setSingleShot(true);
        ref.pollTimer.setInterval(kPollIntervalMs);
        connect(&ref.pollTimer, &QTimer::timeout, this, [this, &ref] { Poll(ref); });
        ports_.push_back(std::move(port));
    }
    for (auto& port : ports_)
        BeginRadio(*port);
    return true;
}

int RadioBatch::PortIndex(const Port& port) const {
    for (size_t i = 0; i < ports_.size(); ++i)
        if (ports_[i].get() == &port) return static_cast<int>(i);
    return -1;
}

void RadioBatch::BeginRadio(Port& port) {
    port.row = BatchRow{};
    port.row.port = port.device;
    port.row.started = std::time(nullptr);
    port.row.file = fileName_;
    port.row.checksum = checksum_;
    port.reason.clear();
    port.refused = false;
    port.answered.reset();
    port.restarts = 0;
    port.progress = 0;
    port.polling = false;
    port.info.fill(0xFF);
    port.clock.start();
    port.stage = BatchStage::Info;
    emit rowChanged(PortIndex(port));
    if (!port.radio->openRadioPort(LinkOperation::ReadRadioInfo) || !port.radio->start())
        EndRadio(port, BatchResult::Failed, port.reason);
}

void RadioBatch::OnFinished(Port& port, LinkOperation op, bool success) {
    if (port.radio->engine().EchoModeConfirmed()) SaveNoEchoMode(p_, port.device, port.link.NoEchoMode);
    if (port.polling) {
        AfterPoll(port);
        return;
    }
    if (op == LinkOperation::ReadRadioInfo) {
        if (!success) {
            if (stopping_) {
                port.stage = BatchStage::Done;
                emit rowChanged(PortIndex(port));
                CheckFinished();
                return;
            }
            EndRadio(port, BatchResult::Failed, GaveUpReason(port));
            return;
        }
        RadioInfoRecord info;
        DecodeRadioInfo(port.info, info);
        port.row.serial = TrimField(info.TextC);
        port.row.dealer = DealerTexts(info);
        if (port.answered) {
            port.row.model = port.answered->RadioModelCode;
            port.row.band = TypeName(port.answered->RadioModelType);
            port.row.firmware = port.answered->RadioFirmwareVersion;
        }
        port.restarts = 0;
        port.stage = BatchStage::Write;
        emit rowChanged(PortIndex(port));
        if (stopping_ || !port.radio->openRadioPort(LinkOperation::WriteRadio) || !port.radio->start())
            EndRadio(port, BatchResult::Failed, port.reason);
        return;
    }
    // The write: the identification it parsed names the radio.
    const RadioIdentity& id = port.link.Identity;
    if (port.answered) {
        port.row.model = id.RadioModelCode;
        port.row.band = TypeName(id.RadioModelType);
        port.row.firmware = id.RadioFirmwareVersion;
    }
    LinkEngine& engine = port.radio->engine();
    port.row.mended = engine.BlocksMended();
    if (success) {
        EndRadio(port, BatchResult::Written, port.reason);
    } else if (port.refused) {
        EndRadio(port, BatchResult::Refused, port.reason);
    } else if (stopping_) {
        if (engine.WroteBlocks()) mix_.push_back(port.device);
        EndRadio(port, BatchResult::Interrupted,
                 LangText(p_, engine.WroteBlocks() ? txt::kRadioMayHoldMix : txt::kNothingWritten));
    } else {
        if (engine.WroteBlocks()) mix_.push_back(port.device);
        EndRadio(port, BatchResult::Failed, port.reason.empty() ? GaveUpReason(port) : port.reason);
    }
}

std::string RadioBatch::GaveUpReason(const Port& port) const {
    const LinkEngine& engine = port.radio->engine();
    if (!port.answered) return LangText(p_, txt::kNoRadioAnswered);
    if (engine.Refusals() >= kRefusalLimit)
        return FillIn(LangText(p_, txt::kRadioRefusedBlockTimes),
                      {Hex4(engine.BlockAddress()), std::to_string(engine.Refusals())});
    if (engine.Step() == LinkStep::TransferBlocks)
        return FillIn(LangText(p_, txt::kWaitingBlock), {Hex4(engine.BlockAddress())});
    return LangText(p_, txt::kRadioStoppedAnswering);
}

void RadioBatch::EndRadio(Port& port, BatchResult result, const std::string& reason) {
    port.row.result = result;
    port.row.reason = reason;
    port.row.seconds = static_cast<double>(port.clock.elapsed()) / 1000.0;
    // With repeat, a port where nothing ever answered has no radio yet: no row.
    const bool aRadio = port.answered.has_value() || !repeat_;
    if (aRadio) {
        done_.push_back(port.row);
        if (!logPath_.empty() && !AppendLogRow(logPath_, port.row)) logFailure_ = logPath_;
        emit rowDone(PortIndex(port));
    }
    WaitOrEnd(port);
}

void RadioBatch::WaitOrEnd(Port& port) {
    if (repeat_ && !stopping_) {
        port.wait.Done(port.answered);
        port.stage = BatchStage::Waiting;
        port.pollTimer.start();
    } else {
        port.stage = BatchStage::Done;
    }
    emit rowChanged(PortIndex(port));
    CheckFinished();
}

void RadioBatch::Poll(Port& port) {
    if (stopping_) return;
    port.polling = true;
    port.lost = false;
    port.answered.reset();
    // A device that is gone (the cable pulled, the radio's port closed) counts as silence.
    if (!port.radio->openRadioPort(LinkOperation::ReadRadioInfo) || !port.radio->start()) AfterPoll(port);
}

void RadioBatch::AfterPoll(Port& port) {
    port.polling = false;
    if (stopping_) {
        port.stage = BatchStage::Done;
        emit rowChanged(PortIndex(port));
        CheckFinished();
        return;
    }
    // A port that hung up under the poll lost its radio, whatever answered before.
    if (port.wait.Polled(port.lost ? std::nullopt : port.answered)) {
        BeginRadio(port);
        return;
    }
    port.pollTimer.start();
}

void RadioBatch::stop() {
    if (!running_) return;
    stopping_ = true;
    if (cloneLink_ && cloneLink_->isRunning()) {
        ended_ = true;
        if (!cloneLink_->abort()) QTimer::singleShot(20, this, [this] { stop(); });
        return;
    }
    bool again = false;
    for (auto& port : ports_) {
        port->pollTimer.stop();
        if (port->radio->isRunning()) {
            if (!port->polling) ended_ = true;
            if (!port->radio->abort()) again = true; // a question is open: try shortly
        } else if (port->stage == BatchStage::Waiting) {
            port->stage = BatchStage::Done;
            emit rowChanged(PortIndex(*port));
        }
    }
    if (again) QTimer::singleShot(20, this, [this] { stop(); });
    CheckFinished();
}

void RadioBatch::CheckFinished() {
    if (!running_) return;
    for (const auto& port : ports_)
        if (port->stage != BatchStage::Done) return;
    running_ = false;
    emit finished();
}

bool RadioBatch::startClone(const std::string& from, const std::vector<std::string>& to) {
    if (to.empty() || running_) return false;
    running_ = true;
    stopping_ = false;
    cloneTargets_ = to;
    cloneFailure_.clear();
    cloneState_.PasswordRetryCounter = 3;
    if (auto noEcho = LoadNoEchoMode(p_, from)) cloneState_.NoEchoMode = *noEcho;
    // The read names no model of its own: the radio's is taken as it answers.
    LinkContext context{memory_, cloneInfo_, cloneState_, p_.EnteredPassword, model_, p_.Versions};
    int restarts = 0;
    cloneLink_ = std::make_unique<RadioLink>(p_, context, [this, restarts](LinkHost& host) mutable {
        host.askRetry = [this, restarts](LinkOperation) mutable {
            return !stopping_ && restarts++ < retries_;
        };
        host.succeeded = [](LinkOperation) {};
        host.identified = [this](const RadioIdentity& radio) {
            // A clone copies whatever model the source radio is.
            model_.ModelCode = radio.RadioModelCode;
            model_.ModelType = radio.RadioModelType;
        };
        host.identityMismatch = [this](IdentityMismatch, const RadioIdentity& radio) {
            cloneFailure_ = FillIn(LangText(p_, txt::kFirmwareNotTaken), {radio.RadioFirmwareVersion});
        };
        host.notice = [this](LinkNotice notice, int) {
            if (notice == LinkNotice::PasswordFailure) cloneFailure_ = LangText(p_, txt::kWrongPassword);
        };
    });
    cloneLink_->setDevice(QString::fromStdString(from));
    cloneLink_->setPortProblem([this](const std::string& text) { cloneFailure_ = text; });
    connect(cloneLink_.get(), &RadioLink::progress, this, &RadioBatch::cloneProgress);
    connect(
        cloneLink_.get(), &RadioLink::finished, this,
        [this](LinkOperation, bool success) { OnCloneRead(success); }, Qt::QueuedConnection);
    memory_.fill(0);
    if (!cloneLink_->openRadioPort(LinkOperation::ReadRadio) || !cloneLink_->start()) {
        running_ = false;
        QTimer::singleShot(0, this, [this] { emit finished(); });
    }
    return true;
}

void RadioBatch::OnCloneRead(bool success) {
    if (cloneLink_->engine().EchoModeConfirmed())
        SaveNoEchoMode(p_, cloneLink_->device().toStdString(), cloneState_.NoEchoMode);
    RadioImage image = p_.Image;
    const bool decoded = success && DecodeRadioMemory(memory_, image, cloneState_.Identity.RadioModelType);
    if (!decoded) {
        if (cloneFailure_.empty())
            cloneFailure_ = LangText(p_, success ? txt::kNoRadioAnswered : txt::kRadioStoppedAnswering);
        if (stopping_) cloneFailure_ = LangText(p_, txt::kNothingWritten);
        running_ = false;
        emit finished();
        return;
    }
    // The read is kept before anything is written with it.
    image.Settings.Version.ModelCode.Assign(model_.ModelCode);
    image.Settings.Version.ModelType = model_.ModelType;
    image.Settings.Version.FormatVersion.Assign(kProgramFormatVersion);
    const std::vector<uint8_t> bytes = EncodeCodeplug(image);
    std::error_code ec;
    std::filesystem::create_directories(backupFolder_, ec);
    std::tm local{};
    const std::time_t now = std::time(nullptr);
    localtime_r(&now, &local);
    const std::string path =
        (std::filesystem::path(backupFolder_) /
         BackupFileName(local, model_.ModelCode, TypeName(model_.ModelType), BackupKind::Read))
            .string();
    if (backupFolder_.empty() || !WriteFileAtomic(path, bytes)) {
        cloneFailure_ = FillIn(LangText(p_, txt::kBackupConfigurationReadCould), {path});
        running_ = false;
        emit finished();
        return;
    }
    PruneBackups(backupFolder_);
    backupPath_ = path;
    fileName_ = std::filesystem::path(path).filename().string();
    checksum_ = Checksum(bytes);
    model_.BandText = BandTextForType(model_.ModelType);
    running_ = false;
    start(cloneTargets_);
}

} // namespace tarvane
