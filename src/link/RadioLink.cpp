#include "link/RadioLink.h"

#include <QFileInfo>
#include <cerrno>

#include "link/PortMap.h"
#include "link/RadioOps.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/SystemErrors.h"
#include "state/lang/TextIds.h"

namespace tarvane {

RadioLink::RadioLink(Program& p, QObject* parent) : QObject(parent), p_(p) {
    Build(LinkContextOf(p_), {});
}

RadioLink::RadioLink(Program& p, LinkContext context, const std::function<void(LinkHost&)>& adjust,
                     QObject* parent)
    : QObject(parent), p_(p) {
    Build(context, adjust);
}

void RadioLink::Build(LinkContext context, const std::function<void(LinkHost&)>& adjust) {
    wait_.setSingleShot(true);
    wait_.setTimerType(Qt::PreciseTimer); // a coarse timer fires anywhere in 143..157 ms
    wait_.setInterval(kWaitTimeoutMs);
    connect(&wait_, &QTimer::timeout, this, [this] { engine_->OnTimeout(); });
    connect(&port_, &QSerialPort::readyRead, this, &RadioLink::OnReadyRead);
    connect(&port_, &QSerialPort::errorOccurred, this, &RadioLink::OnError);

    LinkHost host;
    host.send = [this](std::span<const uint8_t> packet, int) { Send(packet); };
    host.armTimer = [this] { wait_.start(); };
    host.disarmTimer = [this] { wait_.stop(); };
    host.closePort = [this] { closePort(); };
    host.progress = [this](int percent) { emit progress(percent); };
    host.phase = [this](TransferPhase ph) { emit phase(ph); };
    host.transferClosed = [this](LinkOperation op, bool success) { emit transferClosed(op, success); };
    host.finished = [this](LinkOperation op, bool success) { emit finished(op, success); };
    AskThroughPrompts(p_, host);
    // Never again on a port that went away, not even when it went while the question was open.
    host.askRetry = [this, asked = host.askRetry](LinkOperation op) {
        if (!lostDevice_.empty()) return false;
        const bool again = retryQuestion_ ? retryQuestion_(op) : asked(op);
        return again && lostDevice_.empty();
    };
    if (adjust) adjust(host);
    engine_ = std::make_unique<LinkEngine>(context, std::move(host));
    clock_.start();
    abortLost_.setInterval(20);
    connect(&abortLost_, &QTimer::timeout, this, [this] {
        if (engine_->Abort()) abortLost_.stop();
    });
}

RadioLink::~RadioLink() {
    wait_.stop();
    if (port_.isOpen()) port_.close();
}

void RadioLink::setDevice(const QString& path) {
    device_ = path;
}

QString RadioLink::device() const {
    if (!device_.isEmpty()) return device_;
    return QString::fromStdString(PortDevicePath(p_, p_.Link.SerialPortNumber));
}

bool RadioLink::setTraceFile(const QString& path) {
    trace_.setFileName(path);
    return trace_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
}

void RadioLink::Trace(const char* direction, const QByteArray& bytes) {
    if (!trace_.isOpen()) return;
    QByteArray line = QByteArray::number(static_cast<double>(clock_.nsecsElapsed()) / 1e6, 'f', 3) + " " +
                      direction + " " + bytes.toHex(' ') + "\n";
    trace_.write(line);
    trace_.flush();
}

bool RadioLink::openRadioPort(LinkOperation op) {
    prepared_ = op;
    engine_->Prepare(op);
    return OpenPort();
}

bool RadioLink::OpenPort() {
    if (port_.isOpen()) port_.close();
    const QString path = device();
    port_.setPortName(path);
    port_.setBaudRate(QSerialPort::Baud9600);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (port_.open(QIODevice::ReadWrite)) {
        if (trace_.isOpen()) trace_.write("# open " + path.toUtf8() + "\n");
        return true;
    }
    const bool denied = port_.error() == QSerialPort::PermissionError;
    TellPortProblem(PortOpenFailureText(p_, path.toStdString(), portErrorText(), denied));
    return false;
}

std::string RadioLink::portErrorText() {
    // The serial library keeps its own codes, not errno: each stands for the
    // system refusal it is made from (a vanished device, a lock, a busy port).
    switch (port_.error()) {
    case QSerialPort::DeviceNotFoundError:
        return SystemErrorText(p_, ENOENT);
    case QSerialPort::PermissionError:
        return SystemErrorText(p_, EACCES);
    case QSerialPort::OpenError:
        return SystemErrorText(p_, EBUSY);
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
        return SystemErrorText(p_, portPresent() ? EIO : ENODEV);
    default:
        return port_.errorString().toStdString();
    }
}

bool RadioLink::portPresent() const {
    return QFileInfo::exists(device()); // through a link to the device it names
}

void RadioLink::setPortProblem(std::function<void(const std::string& text)> tell) {
    portProblem_ = std::move(tell);
}

void RadioLink::TellPortProblem(const std::string& text) {
    if (portProblem_)
        portProblem_(text);
    else
        Tell(p_, text, MsgIcon::Critical);
}

void RadioLink::closePort() {
    wait_.stop();
    if (!port_.isOpen()) return;
    // "END" of a failed transfer goes out before the port closes.
    if (port_.bytesToWrite() > 0) port_.waitForBytesWritten(100);
    port_.close();
    if (trace_.isOpen()) trace_.write("# close\n");
}

bool RadioLink::start() {
    if (prepared_ == LinkOperation::Idle) return false;
    lostDevice_.clear();
    if (!port_.isOpen() && !OpenPort()) return false;
    if (!engine_->Running()) engine_->Prepare(prepared_); // a second transfer of the same kind
    engine_->Start();
    return true;
}

void RadioLink::setRetryQuestion(std::function<bool(LinkOperation op)> ask) {
    retryQuestion_ = std::move(ask);
}

bool RadioLink::abort() {
    return engine_->Abort();
}

void RadioLink::Send(std::span<const uint8_t> packet) {
    if (!port_.isOpen()) return;
    // Stale input goes; the output queue is NOT emptied. A packet is only ever
    // followed by the next one after a reply or a time-out, so whatever is
    // still queued then is a packet the radio must get whole: when a late
    // reply is taken for the packet after it (replies carry no tag), emptying
    // the queue would drop a block the transfer then counts as written.
    port_.clear(QSerialPort::Input);
    const QByteArray bytes(reinterpret_cast<const char*>(packet.data()),
                           static_cast<qsizetype>(packet.size()));
    Trace("tx", bytes);
    port_.write(bytes);
    port_.flush(); // into the driver now, as a serial control's output would be
}

void RadioLink::OnReadyRead() {
    const QByteArray bytes = port_.readAll();
    if (bytes.isEmpty()) return;
    Trace("rx", bytes);
    engine_->OnBytes(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                              static_cast<size_t>(bytes.size())));
}

void RadioLink::OnError(QSerialPort::SerialPortError error) {
    // After a hang-up the port stays open and repeats these errors at full speed.
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError &&
        error != QSerialPort::WriteError)
        return;
    Trace("error", port_.errorString().toUtf8());
    wait_.stop(); // no time-out, and so no "does not answer" question, on a port that is gone
    if (port_.isOpen()) port_.close();
    if (!engine_->Running()) return;
    // Said once, by whoever follows the transfer's end (FailedTransferText); one
    // of many radios has its row told instead.
    lostDevice_ = device().toStdString();
    if (portProblem_)
        portProblem_(LangText(p_, txt::kConnectionRadioThroughSerial) + "\r\n" + lostDevice_ + ": " +
                     port_.errorString().toStdString());
    // Inside the transfer's own handler (a write that failed, an open question)
    // it cannot end this moment; it ends as soon as it can.
    if (!engine_->Abort()) abortLost_.start();
}

} // namespace tarvane
