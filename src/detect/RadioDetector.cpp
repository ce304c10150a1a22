#include "detect/RadioDetector.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QTimer>

#include "link/LinkEngine.h"
#include "link/PortMap.h"
#include "state/Program.h"

namespace tarvane {

std::vector<std::string> DetectionCandidates(const Program& p) {
    std::vector<std::string> present;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        present.push_back(info.systemLocation().toStdString());
    std::vector<std::string> mapped;
    for (const std::string& path : LoadPortMap(p))
        if (!path.empty()) mapped.push_back(path);
    return CandidatePorts(ByIdLinks(), present, mapped);
}

// One device: its port, its wait timer and an engine over a context of its own,
// so that the echo mode found on one cable is not taken for another's.
struct RadioDetector::Probe {
    Probe(const VersionTable& versions, int index, RadioDetector* owner)
        : engine(LinkContext{memory, info, link, password, model, versions}, Host(index, owner)) {
        wait.setSingleShot(true);
        wait.setTimerType(Qt::PreciseTimer);
        wait.setInterval(kWaitTimeoutMs);
    }
    LinkHost Host(int index, RadioDetector* owner) {
        LinkHost h;
        h.send = [this](std::span<const uint8_t> packet, int) {
            if (!port.isOpen()) return;
            // The identification is in when "END" follows it.
            if (engine.Step() == LinkStep::AwaitEndAck && replyMs < 0)
                replyMs = static_cast<int>(clock.elapsed());
            port.clear(QSerialPort::Input);
            port.write(reinterpret_cast<const char*>(packet.data()), static_cast<qint64>(packet.size()));
            port.flush();
        };
        h.armTimer = [this] { wait.start(); };
        h.disarmTimer = [this] { wait.stop(); };
        h.closePort = [this] {
            wait.stop();
            if (!port.isOpen()) return;
            if (port.bytesToWrite() > 0) port.waitForBytesWritten(100);
            port.close();
        };
        h.finished = [this, index, owner](LinkOperation, bool success) {
            PortFinding f = FindingOfExchange(device, success, engine.EchoModeConfirmed(), link.Identity,
                                              link.NoEchoMode, replyMs, owner->view);
            // Reported once the engine's handler has returned: the owner may stop then.
            QTimer::singleShot(0, owner, [owner, index, f = std::move(f), run = owner->run_]() mutable {
                owner->Done(run, index, std::move(f));
            });
        };
        return h;
    }

    std::string device;
    QSerialPort port;
    QTimer wait;
    RadioMemory memory{};
    std::array<uint8_t, kRadioInfoSize> info{};
    LinkState link;
    std::string password;
    CurrentModel model;
    LinkEngine engine;
    QElapsedTimer clock;
    int replyMs = -1;
};

RadioDetector::RadioDetector(const VersionTable& versions, QObject* parent)
    : QObject(parent), versions_(versions) {}

RadioDetector::~RadioDetector() {
    stop();
}

void RadioDetector::start(const std::vector<std::string>& devices) {
    stop();
    probes_.clear();
    ++run_; // what an earlier run still reports is dropped
    findings_.assign(devices.size(), PortFinding{});
    left_ = static_cast<int>(devices.size());
    if (devices.empty()) {
        emit finished();
        return;
    }
    for (size_t i = 0; i < devices.size(); ++i) {
        const int index = static_cast<int>(i);
        auto probe = std::make_unique<Probe>(versions_, index, this);
        Probe& pr = *probe;
        probes_.push_back(std::move(probe));
        pr.device = devices[i];
        connect(&pr.wait, &QTimer::timeout, this, [&pr] { pr.engine.OnTimeout(); });
        connect(&pr.port, &QSerialPort::readyRead, this, [&pr] {
            const QByteArray bytes = pr.port.readAll();
            pr.engine.OnBytes(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                                       static_cast<size_t>(bytes.size())));
        });
        connect(&pr.port, &QSerialPort::errorOccurred, this, [&pr](QSerialPort::SerialPortError error) {
            // A device that hangs up floods these: close it, the exchange ends.
            if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError) return;
            if (pr.port.isOpen()) pr.port.close();
            pr.engine.Abort();
        });
    }
    // Opened one after the other, then all started: they run side by side.
    for (size_t i = 0; i < probes_.size(); ++i) {
        Probe& pr = *probes_[i];
        pr.port.setPortName(QString::fromStdString(pr.device));
        pr.port.setBaudRate(QSerialPort::Baud9600);
        pr.port.setDataBits(QSerialPort::Data8);
        pr.port.setParity(QSerialPort::NoParity);
        pr.port.setStopBits(QSerialPort::OneStop);
        pr.port.setFlowControl(QSerialPort::NoFlowControl);
        if (pr.port.open(QIODevice::ReadWrite)) continue;
        const OpenFailure failure =
            pr.port.error() == QSerialPort::DeviceNotFoundError ? OpenFailure::NotFound
            : pr.port.error() == QSerialPort::PermissionError   ? OpenFailure::Permission
                                                                : OpenFailure::Other;
        const int index = static_cast<int>(i);
        QTimer::singleShot(
            0, this,
            [this, index, failure, reason = pr.port.errorString().toStdString(), device = pr.device,
             run = run_] { Done(run, index, FindingOfOpenFailure(device, failure, reason, view)); });
    }
    for (auto& probe : probes_) {
        if (!probe->port.isOpen()) continue;
        probe->engine.Prepare(LinkOperation::Identify);
        probe->clock.start();
        probe->engine.Start();
    }
}

void RadioDetector::stop() {
    for (auto& probe : probes_) {
        probe->engine.Abort();
        probe->wait.stop();
        if (probe->port.isOpen()) probe->port.close();
    }
    left_ = 0;
}

void RadioDetector::Done(int run, int index, PortFinding finding) {
    if (run != run_ || index < 0 || static_cast<size_t>(index) >= findings_.size() || left_ <= 0) return;
    findings_[static_cast<size_t>(index)] = std::move(finding);
    emit found(index);
    if (--left_ == 0) emit finished();
}

} // namespace tarvane
