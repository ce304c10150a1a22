#pragma once
// The radio link as a state machine without I/O and without a clock. A host
// (the Qt serial adapter, the in-process line of the tests, the fuzzer) feeds
// it received bytes and wait-timer ticks and carries out what it asks through
// LinkHost. Questions and messages go through the program's prompts.
//
// One transfer: handshake, identification, (read/write) password block,
// the memory blocks, "END". Every wait ends by the 150 ms wait timer.
//
// Replies carry no tag, so a reply that comes after its time-out could be
// taken for the answer to a later packet. Against that: a read block is only
// stored when its address is the one asked for; after a time-out the line is
// left to settle (input discarded) before the packet goes again; and a write
// that saw a time-out, a late, extra or unexpected reply (or every write, with
// LinkState::VerifyWrite) reads the written range back before "END", writes
// the blocks that differ again and checks them, a bounded number of rounds.
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "link/LinkWire.h"
#include "state/LinkState.h"

namespace tarvane {

struct Program;

inline constexpr int kWaitTimeoutMs = 150;
inline constexpr int kMemoryEndAddress = 0x1CFF;
inline constexpr int kInfoEndAddress = 0x3EFF;
// A block refused this many times in a row gets the give-up question, as after
// its time-outs; without a bound a radio that refuses everything never ends.
inline constexpr int kRefusalLimit = 16;
// Rounds of writing again the blocks that the read-back found different.
inline constexpr int kRewriteRounds = 3;
// Input arriving while the line settles after a time-out extends the settling
// this many times at most.
inline constexpr int kSettleExtensions = 4;

// What the blocks of a transfer are doing, for the progress window.
enum class TransferPhase { Blocks, Check, Rewrite };

struct LinkHost {
    // Empty the input queue, then write the packet (never cutting short one still
    // going out). threshold = echo length + reply length: the engine classifies
    // a reply once that many bytes arrived.
    std::function<void(std::span<const uint8_t> packet, int threshold)> send;
    std::function<void()> armTimer; // (re)start the one-shot 150 ms wait timer
    std::function<void()> disarmTimer;
    std::function<void()> closePort;
    // The progress window follows: bar and "N%" label. 0 on a restart.
    std::function<void(int percent)> progress;
    // A write moves to reading back (Check) or writing again (Rewrite), or a
    // restart goes back to Blocks; the progress starts again from 0.
    std::function<void(TransferPhase phase)> phase;
    // The transfer is over and the port closed; called before the success message
    // (the progress window goes here).
    std::function<void(LinkOperation op, bool success)> transferClosed;
    // Last: the engine is idle again.
    std::function<void(LinkOperation op, bool success)> finished;
};

class LinkEngine {
  public:
    LinkEngine(Program& p, LinkHost host);

    // The transfer range and counters of an operation, as opening the port sets them.
    void Prepare(LinkOperation op);
    // HandshakeRetryCounter := 0 and the handshake. Prepare first.
    void Start();
    // Bytes taken from the port, in whatever pieces they came.
    void OnBytes(std::span<const uint8_t> bytes);
    // The wait timer fired.
    void OnTimeout();
    // Ends a running transfer as a failure (the port was lost, the host is
    // closing, the user cancelled): "END" sent, port closed. False when it
    // could not be done now (a question of the transfer is open).
    bool Abort();

    LinkOperation Operation() const { return op_; }
    LinkStep Step() const { return step_; }
    bool Running() const { return op_ != LinkOperation::Idle; }
    int BlockAddress() const { return blockAddress_; }
    int HandshakeRetryCounter() const { return handshakeRetries_; }
    int BlockRetryCounter(int address) const;
    int LastProgress() const { return lastProgress_; }
    bool ReceiveEnabled() const { return receiveEnabled_; }
    int Threshold() const { return threshold_; }
    TransferPhase Phase() const { return phase_; }
    // After a time-out: the line is left to go quiet before the packet goes again.
    bool Settling() const { return settling_; }
    // Naks in a row for the current packet (kRefusalLimit of them give up).
    int Refusals() const { return refusals_; }
    // The write saw a time-out or a reply it cannot trust: it is read back.
    bool Suspect() const { return suspect_; }
    // After a write: blocks that still differed after the last round (0 when
    // it was not checked or everything took).
    int BlocksNotTaken() const { return notTaken_; }
    // A handshake was answered in this transfer: NoEchoMode is the cable's.
    bool EchoModeConfirmed() const { return echoConfirmed_; }
    // The last write sent memory blocks: when it failed, the radio may hold a mix.
    bool WroteBlocks() const { return wroteBlocks_; }

  private:
    void Send(const Bytes& packet, int replyLength);
    void SendHandshake();
    void SendCurrentWriteBlock();
    void SendCurrentReadRequest();
    void Classify(std::span<const uint8_t> reply);
    void Advance();
    void NextReadBlock();
    void NextWriteBlock();
    void AfterLastBlock();
    void StartCheck(std::vector<int> blocks);
    void NextCheckBlock();
    void CheckBlock(const DataBlock& block);
    void StartRewrite();
    void NextRewriteBlock();
    void SendCurrentBlock();
    void EnterPhase(TransferPhase phase);
    void ResetRetries();
    void PhaseProgress(size_t done, size_t total);
    void MarkSuspect();
    void ExtendSettling();
    void StoreBlock(const DataBlock& block);
    void UpdateProgress();
    void GiveUp();
    void FinishTransfer(bool success);
    bool PasswordCheck(const DataBlock& block);
    bool IdentityCheck();
    void Disarm();

    Program& p_;
    LinkHost host_;
    LinkOperation op_ = LinkOperation::Idle;
    LinkStep step_ = LinkStep::AwaitHandshakeAck;
    int echoLength_ = 0;
    int threshold_ = 1;
    bool receiveEnabled_ = false;
    int blockAddress_ = -16;
    int endAddress_ = kMemoryEndAddress;
    std::vector<int16_t> blockRetries_;
    int16_t handshakeRetries_ = 0;
    int lastProgress_ = 0;
    bool featureWarned_ = false; // the CTCSS/DCS warning comes once per write
    int depth_ = 0;              // inside a handler: a nested call is dropped
    std::vector<uint8_t> pending_;
    bool replyTaken_ = false; // the reply to the last packet has been classified
    int refusals_ = 0;        // Naks in a row for the current packet
    bool settling_ = false;   // after a time-out: input is discarded until the timer fires
    int settleExtensions_ = 0;
    bool suspect_ = false;
    bool wroteBlocks_ = false;
    bool echoConfirmed_ = false;
    int notTaken_ = 0;
    TransferPhase phase_ = TransferPhase::Blocks;
    std::vector<int> phaseBlocks_; // Check/Rewrite: the block addresses, in order
    size_t phaseIndex_ = 0;
    std::vector<int> differing_; // Check: blocks found different so far
    int rewriteRound_ = 0;
};

// Decodes p.RadioInfoBlock into p.RadioInfo. False when the model type (low four
// bits of byte 0) names no band; the record is filled either way.
bool DecodeRadioInfo(Program& p);
// The radio password held in a password block's data (bytes 12..15).
std::string RadioPasswordOf(std::span<const uint8_t, kBlockSize> data);

} // namespace tarvane
