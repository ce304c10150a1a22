#include "sim/VirtualLine.h"

#include <algorithm>

#include "link/RadioOps.h"

namespace tarvane {

namespace {
constexpr double kByteMs = 1000.0 / 960.0; // one 10-bit character at 9600 baud
constexpr size_t kEventLimit = 5'000'000;  // far beyond any transfer: a runaway is a fault
} // namespace

VirtualLine::VirtualLine(Program& p, RadioResponder& radio, bool echoingCable, bool paced)
    : p_(p), radio_(radio), echo_(echoingCable), paced_(paced) {
    LinkHost host;
    host.send = [this](std::span<const uint8_t> packet, int) { OnSend(packet); };
    host.armTimer = [this] {
        timerArmed_ = true;
        ++timerGeneration_;
        events_.push(Event{now_ + kWaitTimeoutMs, seq_++, true, timerGeneration_, {}});
    };
    host.disarmTimer = [this] {
        timerArmed_ = false;
        ++timerGeneration_;
    };
    host.closePort = [this] {
        portOpen_ = false;
        ++closes;
    };
    host.progress = [this](int percent) { progress.push_back(percent); };
    host.phase = [this](TransferPhase phase) { phases.push_back(phase); };
    host.finished = [this](LinkOperation, bool success) { lastSuccess = success; };
    AskThroughPrompts(p_, host); // questions and messages as the programs word them
    engine_ = std::make_unique<LinkEngine>(LinkContextOf(p_), std::move(host));
}

void VirtualLine::Schedule(double at, Bytes bytes) {
    events_.push(Event{at, seq_++, false, 0, std::move(bytes)});
}

void VirtualLine::OnSend(std::span<const uint8_t> packet) {
    if (!portOpen_) return;
    Bytes bytes(packet.begin(), packet.end());
    sent.push_back(bytes);
    // The request needs its own wire time before the radio has all of it.
    const double arrived =
        paced_ ? std::max(now_, lineFreeAt_) + kByteMs * static_cast<double>(bytes.size()) : now_;
    if (echo_) Schedule(arrived, bytes);
    std::vector<SimReply> replies;
    if (!(tamper && tamper(bytes, replies))) replies = radio_.Feed(bytes);
    double t = arrived;
    for (const SimReply& r : replies) {
        t = std::max(t, arrived + r.delayMs);
        const size_t piece = r.pieceBytes > 0 ? static_cast<size_t>(r.pieceBytes) : r.bytes.size();
        for (size_t i = 0; i < r.bytes.size(); i += piece) {
            const size_t n = std::min(piece, r.bytes.size() - i);
            if (paced_) t += kByteMs * static_cast<double>(n);
            Schedule(
                t, Bytes(r.bytes.begin() + static_cast<long>(i), r.bytes.begin() + static_cast<long>(i + n)));
        }
    }
    lineFreeAt_ = t;
}

bool VirtualLine::Run(LinkOperation op) {
    sent.clear();
    progress.clear();
    phases.clear();
    lastSuccess = false;
    stalled_ = false;
    portOpen_ = true;
    engine_->Prepare(op);
    engine_->Start();
    return RunUntilIdle() && lastSuccess;
}

bool VirtualLine::RunUntilIdle() {
    size_t handled = 0;
    while (engine_->Running() && !events_.empty() && handled++ < kEventLimit) {
        if (betweenEvents) {
            betweenEvents();
            if (!engine_->Running()) break;
        }
        Event e = events_.top();
        events_.pop();
        now_ = std::max(now_, e.at);
        if (e.timer) {
            if (!timerArmed_ || e.timerGeneration != timerGeneration_) continue;
            timerArmed_ = false;
            if (!engine_->Settling()) ++timeouts;
            engine_->OnTimeout();
        } else if (portOpen_) {
            engine_->OnBytes(e.bytes);
        }
    }
    // Leftover events belong to a finished transfer.
    while (!events_.empty())
        events_.pop();
    stalled_ = engine_->Running();
    return !stalled_;
}

} // namespace tarvane
