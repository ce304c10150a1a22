#pragma once
// The link engine and the radio responder joined by a line with virtual time:
// deterministic, thousands of transfers a second. Optionally paced at the
// 9600-baud byte rate (960 bytes a second) so wire times can be checked.
// The engine's questions and messages go through the program's prompts, worded
// as the programs word them (RadioOps), so tests script and read them there.
#include <cstdint>
#include <functional>
#include <memory>
#include <queue>
#include <vector>

#include "link/LinkEngine.h"
#include "sim/RadioResponder.h"

namespace tarvane {

struct Program;

class VirtualLine {
  public:
    VirtualLine(Program& p, RadioResponder& radio, bool echoingCable = false, bool paced = false);

    // Prepares and starts the operation and runs until the engine is idle.
    // False when the transfer failed or the line went quiet with the engine
    // still waiting (which would be a hang).
    bool Run(LinkOperation op);
    // Runs events until the engine is idle or nothing is left; true when idle.
    bool RunUntilIdle();

    LinkEngine& Engine() { return *engine_; }
    double NowMs() const { return now_; }
    bool Stalled() const { return stalled_; }

    // Every packet the program sent, in order, and every progress value shown.
    std::vector<Bytes> sent;
    std::vector<int> progress;
    std::vector<TransferPhase> phases;
    int timeouts = 0; // reply time-outs; the settling after one is not counted
    int closes = 0;
    bool lastSuccess = false;
    // Called between two events, outside the engine's handlers: where a user's
    // Cancel or a signal reaches the engine.
    std::function<void()> betweenEvents;
    // Replaces the radio's reply to a packet (return true to use `reply`).
    std::function<bool(const Bytes& packet, std::vector<SimReply>& reply)> tamper;

  private:
    struct Event {
        double at;
        uint64_t seq;
        bool timer;
        uint64_t timerGeneration;
        Bytes bytes;
        bool operator>(const Event& o) const { return at != o.at ? at > o.at : seq > o.seq; }
    };
    void Schedule(double at, Bytes bytes);
    void OnSend(std::span<const uint8_t> packet);

    Program& p_;
    RadioResponder& radio_;
    bool echo_;
    bool paced_;
    std::unique_ptr<LinkEngine> engine_;
    std::priority_queue<Event, std::vector<Event>, std::greater<Event>> events_;
    double now_ = 0;
    double lineFreeAt_ = 0; // paced: when the radio's transmitter is free again
    uint64_t seq_ = 0;
    uint64_t timerGeneration_ = 0;
    bool timerArmed_ = false;
    bool portOpen_ = false;
    bool stalled_ = false;
};

} // namespace tarvane
