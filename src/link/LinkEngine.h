#pragma once
// The radio link as a state machine without I/O and without a clock. A host
// (the Qt serial adapter, the in-process line of the tests, the fuzzer) feeds
// it received bytes and wait-timer ticks and carries out what it asks through
// LinkHost. The engine asks nobody itself: the questions (give up? password?)
// and the outcomes worth telling go to the host, which words them (RadioOps
// has the program's words for them) and answers.
//
// One transfer: handshake, identification, (read/write) password block,
// the memory blocks, "END". Every wait ends by the 150 ms wait timer.
//
// Replies carry no tag, so a reply that comes after its time-out could be
// taken for the answer to a later packet. Against that: a read block is only
// stored when its address is the one asked for; after a time-out the line is
// left to settle before the packet goes again (a reply that comes meanwhile is
// still taken; in the opening exchange too); and a write
// that saw a time-out, a late, extra or unexpected reply (or every write, with
// LinkState::VerifyWrite) reads the written range back before "END", writes
// the blocks that differ again and checks them, a bounded number of rounds
// (WriteVerifier).
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "link/LinkWire.h"
#include "link/WriteVerifier.h"
#include "state/LinkState.h"
#include "state/MemoryMap.h"
#include "state/VersionTable.h"

namespace tarvane {

inline constexpr int kWaitTimeoutMs = 150;
inline constexpr int kMemoryEndAddress = 0x1CFF;
inline constexpr int kInfoEndAddress = 0x3EFF;
// A block refused this many times in a row gets the give-up question, as after
// its time-outs; without a bound a radio that refuses everything never ends.
inline constexpr int kRefusalLimit = 16;
// Input arriving while the line settles after a time-out extends the settling
// this many times at most.
inline constexpr int kSettleExtensions = 4;

// What of the program the engine reads and writes, and nothing else. The
// references must outlive the engine.
struct LinkContext {
    RadioMemory& memory;                       // sent by a write, filled by a read
    std::array<uint8_t, kRadioInfoSize>& info; // filled by the information read
    LinkState& link;                           // echo mode, retries, verify choice, identity
    std::string& enteredPassword;              // compared with the radio's; the dialog replaces it
    const CurrentModel& model;                 // compared with the radio's identification
    const VersionTable& versions;              // which firmware formats this program takes
};

// Why the identification stops a transfer before any block.
enum class IdentityMismatch {
    ModelType, // same model and a supported version, but a write to another band type
    Version,   // same model, a firmware format this program version does not take
    Model,     // another model
};

// Outcomes the host tells the user; nothing to decide.
enum class LinkNotice {
    FeatureUnsupported, // a write to a radio without CTCSS/DCS (once per write, before the first block)
    PasswordFailure,    // the password was not given or wrong: the transfer ends
    BlocksNotTaken,     // blocks still differed after the last rewrite round: the write fails
};

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
    // The transfer is over and the port closed; called before succeeded (the
    // progress window goes here).
    std::function<void(LinkOperation op, bool success)> transferClosed;
    // After transferClosed, for a transfer that went through: the host takes the
    // result (the information area decoded) and says so.
    std::function<void(LinkOperation op)> succeeded;
    // Last: the engine is idle again.
    std::function<void(LinkOperation op, bool success)> finished;

    // Questions and outcomes. They are called from inside the engine's
    // handlers: input and ticks the host delivers while one is open are ignored.
    //
    // The radio stopped answering (or refused a block kRefusalLimit times):
    // true starts again from the handshake, false ends the transfer.
    std::function<bool(LinkOperation op)> askRetry;
    // The radio has a password other than the entered one. The entry comes
    // filled with the entered password; true when the user gave one.
    std::function<bool(std::string& entry)> askPassword;
    // The identification names a radio this program must not go on with
    // (another program version may handle it); the transfer then ends.
    std::function<void(IdentityMismatch mismatch, const RadioIdentity& radio)> identityMismatch;
    // count: the blocks not taken for BlocksNotTaken, else 0.
    std::function<void(LinkNotice notice, int count)> notice;
    // The identification reply as the radio gave it, for every operation (a
    // port poll needs no more than this); optional.
    std::function<void(const RadioIdentity& radio)> identified;
};

class LinkEngine {
  public:
    LinkEngine(LinkContext context, LinkHost host);

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
    TransferPhase Phase() const { return verifier_.Phase(); }
    // After a time-out: the line is left to go quiet before the packet goes again.
    bool Settling() const { return settling_; }
    // Naks in a row for the current packet (kRefusalLimit of them give up).
    int Refusals() const { return refusals_; }
    // The write saw a time-out or a reply it cannot trust: it is read back.
    bool Suspect() const { return verifier_.Suspect(); }
    // After a write: blocks that still differed after the last round (0 when
    // it was not checked or everything took).
    int BlocksNotTaken() const { return verifier_.NotTaken(); }
    // After a write: blocks the read-back found different and the rewrite mended.
    int BlocksMended() const { return verifier_.Mended(); }
    // A handshake was answered in this transfer: NoEchoMode is the cable's.
    bool EchoModeConfirmed() const { return echoConfirmed_; }
    // The last write sent memory blocks: when it failed, the radio may hold a mix.
    bool WroteBlocks() const { return wroteBlocks_; }
    // The transfer has ended, it was a write, it failed and it had sent memory
    // blocks: the radio may hold a mix of old and new settings. The one place
    // that decides it, for every way a write can end (silence, refusals, a
    // lost port, a cancel, blocks that did not take).
    bool LeftRadioMixed() const {
        return op_ == LinkOperation::Idle && endedOp_ == LinkOperation::WriteRadio && !endedWell_ &&
               wroteBlocks_;
    }

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
    void StartCheck();
    void NextCheckBlock();
    void CheckBlock(const DataBlock& block);
    void NextRewriteBlock();
    void SendCurrentBlock();
    void ShowPhase();
    void ResetRetries();
    void PhaseProgress();
    void MarkSuspect();
    void ExtendSettling();
    bool SettleOpening();
    void StoreBlock(const DataBlock& block);
    void UpdateProgress();
    void GiveUp();
    void FinishTransfer(bool success);
    bool PasswordCheck(const DataBlock& block);
    bool IdentityCheck();
    void Disarm();

    LinkContext ctx_;
    LinkHost host_;
    WriteVerifier verifier_;
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
    bool wroteBlocks_ = false;
    bool echoConfirmed_ = false;
    LinkOperation endedOp_ = LinkOperation::Idle; // the last transfer that ended, and how
    bool endedWell_ = false;
};

// The radio password held in a password block's data (bytes 12..15).
std::string RadioPasswordOf(std::span<const uint8_t, kBlockSize> data);

} // namespace tarvane
