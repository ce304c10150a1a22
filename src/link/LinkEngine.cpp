#include "link/LinkEngine.h"

#include <algorithm>

#include "base/FixedText.h"
#include "base/NumberText.h"
#include "image/ModelVersion.h"

namespace tarvane {

namespace {

// Marks the engine busy for the length of a handler: a modal question shown
// from inside lets the event loop run, and input or a tick arriving then must
// not start a second classification half-way through the first.
struct DepthGuard {
    int& depth;
    explicit DepthGuard(int& d) : depth(d) { ++depth; }
    ~DepthGuard() { --depth; }
};

constexpr int kInfoStartAddress = kRadioInfoBase - kBlockSize; // 0x3DF0
constexpr int kPasswordOffset = 12;                            // in the password block's data

} // namespace

LinkEngine::LinkEngine(LinkContext context, LinkHost host) : ctx_(context), host_(std::move(host)) {}

void LinkEngine::Prepare(LinkOperation op) {
    Disarm();
    op_ = op;
    step_ = LinkStep::AwaitHandshakeAck;
    receiveEnabled_ = false;
    pending_.clear();
    if (op == LinkOperation::ReadRadioInfo) {
        blockAddress_ = kInfoStartAddress;
        endAddress_ = kInfoEndAddress;
    } else {
        blockAddress_ = -kBlockSize;
        endAddress_ = kMemoryEndAddress;
    }
    lastProgress_ = 0;
    handshakeRetries_ = 0;
    featureWarned_ = false;
    refusals_ = 0;
    settling_ = false;
    wroteBlocks_ = false;
    echoConfirmed_ = false;
    endedOp_ = LinkOperation::Idle;
    verifier_.Reset();
    ResetRetries();
}

void LinkEngine::ResetRetries() {
    // Indexes 0..EndAddress/16 rounded half to even, each with three re-sends.
    const int last = static_cast<int>(RoundHalfEven(static_cast<double>(endAddress_) / kBlockSize));
    blockRetries_.assign(static_cast<size_t>(last) + 1, 3);
}

void LinkEngine::MarkSuspect() {
    if (op_ == LinkOperation::WriteRadio) verifier_.MarkSuspect();
}

int LinkEngine::BlockRetryCounter(int address) const {
    if (address < 0 || static_cast<size_t>(address / kBlockSize) >= blockRetries_.size()) return -1;
    return blockRetries_[static_cast<size_t>(address / kBlockSize)];
}

void LinkEngine::Start() {
    if (op_ == LinkOperation::Idle) return;
    DepthGuard guard(depth_);
    handshakeRetries_ = 0;
    SendHandshake();
}

void LinkEngine::Disarm() {
    if (host_.disarmTimer) host_.disarmTimer();
}

void LinkEngine::Send(const Bytes& packet, int replyLength) {
    echoLength_ = ctx_.link.NoEchoMode ? 0 : static_cast<int>(packet.size());
    if (host_.armTimer) host_.armTimer();
    threshold_ = echoLength_ + replyLength;
    pending_.clear(); // the input queue is emptied before each packet
    replyTaken_ = false;
    settling_ = false;
    if (host_.send) host_.send(packet, threshold_);
}

void LinkEngine::SendHandshake() {
    step_ = LinkStep::AwaitHandshakeAck;
    receiveEnabled_ = true;
    Send(HandshakePacket::encode(), kHandshakeReplyLength);
}

void LinkEngine::SendCurrentReadRequest() {
    Send(ReadRequest{static_cast<uint16_t>(blockAddress_)}.encode(), kBlockReplyLength);
}

void LinkEngine::SendCurrentBlock() {
    if (op_ == LinkOperation::WriteRadio && verifier_.Phase() != TransferPhase::Check)
        SendCurrentWriteBlock();
    else
        SendCurrentReadRequest();
}

void LinkEngine::SendCurrentWriteBlock() {
    if (blockAddress_ >= endAddress_ || op_ != LinkOperation::WriteRadio) {
        Send(EndPacket::encode(), kAckLength);
        return;
    }
    if (blockAddress_ < 0 || blockAddress_ + kBlockSize > kRadioMemorySize) return;
    wroteBlocks_ = true;
    DataBlock block;
    block.address = static_cast<uint16_t>(blockAddress_);
    std::copy_n(ctx_.memory.begin() + blockAddress_, kBlockSize, block.data.begin());
    Send(block.encode(), kAckLength);
}

void LinkEngine::OnBytes(std::span<const uint8_t> bytes) {
    if (op_ == LinkOperation::Idle || bytes.empty()) return;
    if (depth_ > 0) return; // a question is open: taken from the port and ignored
    // While the line settles after a time-out, a reply that comes late is
    // still classified as usual: a read block only counts for its own address
    // and a write that saw it is read back, so taking it is safe, and quicker
    // than sending the packet again and getting two answers.
    const bool inBlocks = step_ == LinkStep::TransferBlocks || step_ == LinkStep::AwaitEndAck;
    if (settling_ && inBlocks) MarkSuspect();
    if (replyTaken_) {
        if (inBlocks) MarkSuspect(); // more than one reply to one packet
        ExtendSettling();
        return;
    }
    DepthGuard guard(depth_);
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    if (static_cast<int>(pending_.size()) < threshold_) {
        ExtendSettling();
        return;
    }
    if (static_cast<int>(pending_.size()) > threshold_ && inBlocks) MarkSuspect();
    // The first threshold-many bytes are the reply; the rest is dropped, also
    // what trickles in later: one reply per packet. Otherwise an echoing cable
    // met in no-echo mode delivers the echo, then the bare acknowledgement as a
    // second "reply", the handshake passes in the wrong mode and every
    // identification after it fails, restart after restart.
    std::vector<uint8_t> reply(pending_.begin(), pending_.begin() + threshold_);
    pending_.clear();
    replyTaken_ = true;
    if (!receiveEnabled_) return;
    // The echo is skipped, never compared: some cables garble it.
    Classify(std::span<const uint8_t>(reply).subspan(static_cast<size_t>(std::min(echoLength_, threshold_))));
    ExtendSettling(); // nothing taken: the line is still busy, wait a little longer
}

void LinkEngine::ExtendSettling() {
    if (!settling_ || settleExtensions_ >= kSettleExtensions || op_ == LinkOperation::Idle) return;
    ++settleExtensions_;
    if (host_.armTimer) host_.armTimer();
}

void LinkEngine::Classify(std::span<const uint8_t> reply) {
    const bool writing = op_ == LinkOperation::WriteRadio;
    const bool checking =
        writing && step_ == LinkStep::TransferBlocks && verifier_.Phase() == TransferPhase::Check;
    if (reply.size() == 1 && reply[0] == kAck) {
        if (checking) {
            MarkSuspect(); // a late acknowledgement, where a block read back was due
            return;
        }
        Advance();
        return;
    }
    if (reply.size() == 1 && reply[0] == kNak) {
        // Only a written block or "END" is ever answered with one byte; a Nak
        // during a read re-sends "END" but never writes into the radio.
        const bool blockSent = writing && step_ == LinkStep::TransferBlocks && !checking;
        if (!blockSent && step_ != LinkStep::AwaitEndAck) {
            MarkSuspect();
            return;
        }
        Disarm();
        if (++refusals_ >= kRefusalLimit) {
            GiveUp();
            return;
        }
        SendCurrentWriteBlock();
        return;
    }
    if (HandshakeAck::parse(reply)) {
        if (step_ != LinkStep::AwaitHandshakeAck) return;
        echoConfirmed_ = true;
        Advance();
        return;
    }
    if (auto ident = IdentReply::parse(reply)) {
        if (step_ != LinkStep::AwaitIdentReply) return;
        // Kept for every operation: the information read reports what the radio answered.
        RadioIdentity& id = ctx_.link.Identity;
        id.RadioModelCode = TrimField(ident->modelCode);
        id.RadioModelType = ident->modelType;
        id.RadioFirmwareVersion = ident->firmwareVersion;
        id.CtcssDcsSupported = (ident->flags & kFlagCtcssDcs) != 0;
        if (host_.identified) host_.identified(id);
        Advance();
        return;
    }
    auto block = DataBlock::parse(reply);
    if (block && block->address == kPasswordBlockAddress && step_ == LinkStep::AwaitPasswordBlock) {
        Disarm();
        if (PasswordCheck(*block)) Advance();
        return;
    }
    // A block counts only for the address asked for: a late reply to an
    // earlier request is never taken for this one.
    if (block && step_ == LinkStep::TransferBlocks && block->address == blockAddress_) {
        if (!writing) {
            StoreBlock(*block);
            Advance();
            return;
        }
        if (checking) {
            Disarm();
            CheckBlock(*block);
            return;
        }
    }
    // Anything else (a block for another address among them) waits for the time-out.
    MarkSuspect();
}

void LinkEngine::StoreBlock(const DataBlock& block) {
    for (int i = 0; i < kBlockSize; ++i) {
        const int address = block.address + i;
        if (address < kRadioMemorySize) {
            ctx_.memory[static_cast<size_t>(address)] = block.data[static_cast<size_t>(i)];
        } else if (address >= kRadioInfoBase && address < kRadioInfoBase + kRadioInfoSize) {
            ctx_.info[static_cast<size_t>(address - kRadioInfoBase)] = block.data[static_cast<size_t>(i)];
        }
    }
    if (op_ == LinkOperation::ReadRadio) UpdateProgress();
}

void LinkEngine::UpdateProgress() {
    const int percent =
        static_cast<int>(RoundHalfEven(static_cast<double>(blockAddress_) * 100.0 / endAddress_));
    if (percent <= lastProgress_) return;
    lastProgress_ = percent;
    if (host_.progress) host_.progress(percent);
}

void LinkEngine::Advance() {
    Disarm();
    refusals_ = 0;
    switch (step_) {
    case LinkStep::AwaitHandshakeAck:
        step_ = LinkStep::AwaitIdentReply;
        Send(IdentRequest::encode(), kIdentReplyLength);
        return;
    case LinkStep::AwaitIdentReply:
        if (op_ == LinkOperation::Identify) {
            step_ = LinkStep::AwaitEndAck;
            Send(EndPacket::encode(), kAckLength);
            return;
        }
        if (op_ == LinkOperation::ReadRadioInfo) {
            step_ = LinkStep::TransferBlocks;
            NextReadBlock();
            return;
        }
        step_ = LinkStep::AwaitPasswordBlock;
        Send(ReadRequest{static_cast<uint16_t>(kPasswordBlockAddress)}.encode(), kBlockReplyLength);
        return;
    case LinkStep::AwaitPasswordBlock:
        if (!IdentityCheck()) {
            FinishTransfer(false);
            return;
        }
        if (op_ == LinkOperation::WriteRadio) {
            if (!ctx_.link.Identity.CtcssDcsSupported && !featureWarned_) {
                featureWarned_ = true;
                if (host_.notice) host_.notice(LinkNotice::FeatureUnsupported, 0);
            }
            step_ = LinkStep::TransferBlocks;
            NextWriteBlock();
        } else {
            step_ = LinkStep::TransferBlocks;
            NextReadBlock();
        }
        return;
    case LinkStep::TransferBlocks:
        if (op_ != LinkOperation::WriteRadio)
            NextReadBlock();
        else if (verifier_.Phase() == TransferPhase::Rewrite)
            NextRewriteBlock();
        else
            NextWriteBlock();
        return;
    case LinkStep::AwaitEndAck:
        FinishTransfer(true);
        return;
    }
}

void LinkEngine::NextReadBlock() {
    blockAddress_ += kBlockSize;
    if (blockAddress_ >= endAddress_) {
        step_ = LinkStep::AwaitEndAck;
        Send(EndPacket::encode(), kAckLength);
        return;
    }
    SendCurrentReadRequest();
}

void LinkEngine::NextWriteBlock() {
    blockAddress_ += kBlockSize;
    if (blockAddress_ >= endAddress_) {
        AfterLastBlock();
        return;
    }
    UpdateProgress();
    SendCurrentWriteBlock();
}

void LinkEngine::AfterLastBlock() {
    if (op_ == LinkOperation::WriteRadio && verifier_.Wanted(ctx_.link.VerifyWrite)) {
        // Read back in the same session, before "END": a radio may restart after it.
        verifier_.BeginCheck(endAddress_);
        StartCheck();
        return;
    }
    step_ = LinkStep::AwaitEndAck;
    Send(EndPacket::encode(), kAckLength);
}

void LinkEngine::ShowPhase() {
    lastProgress_ = 0;
    if (host_.phase) host_.phase(verifier_.Phase());
    if (host_.progress) host_.progress(0);
}

void LinkEngine::PhaseProgress() {
    const size_t total = verifier_.Total();
    if (total == 0) return;
    const int percent = static_cast<int>(
        RoundHalfEven(static_cast<double>(verifier_.Done()) * 100.0 / static_cast<double>(total)));
    if (percent <= lastProgress_) return;
    lastProgress_ = percent;
    if (host_.progress) host_.progress(percent);
}

void LinkEngine::StartCheck() {
    ShowPhase();
    ResetRetries(); // each block of the check gets its own three re-sends
    NextCheckBlock();
}

void LinkEngine::CheckBlock(const DataBlock& block) {
    refusals_ = 0;
    const auto sent = ctx_.memory.begin() + blockAddress_;
    verifier_.Checked(std::equal(block.data.begin(), block.data.end(), sent));
    PhaseProgress();
    NextCheckBlock();
}

void LinkEngine::NextCheckBlock() {
    if (verifier_.Block() >= 0) {
        blockAddress_ = verifier_.Block();
        SendCurrentReadRequest();
        return;
    }
    switch (verifier_.CheckDone()) {
    case WriteVerifier::Next::End:
        step_ = LinkStep::AwaitEndAck;
        Send(EndPacket::encode(), kAckLength);
        return;
    case WriteVerifier::Next::NotTaken:
        if (host_.notice) host_.notice(LinkNotice::BlocksNotTaken, verifier_.NotTaken());
        FinishTransfer(false);
        return;
    case WriteVerifier::Next::Rewrite:
        ShowPhase();
        ResetRetries();
        blockAddress_ = verifier_.Block();
        SendCurrentWriteBlock();
        return;
    }
}

void LinkEngine::NextRewriteBlock() {
    verifier_.Rewritten();
    PhaseProgress();
    if (verifier_.Block() >= 0) {
        blockAddress_ = verifier_.Block();
        SendCurrentWriteBlock();
        return;
    }
    verifier_.RewriteDone();
    StartCheck();
}

void LinkEngine::OnTimeout() {
    if (op_ == LinkOperation::Idle || depth_ > 0) return;
    DepthGuard guard(depth_);
    Disarm();
    switch (step_) {
    case LinkStep::AwaitHandshakeAck:
        if (SettleOpening()) return;
        ++handshakeRetries_;
        if (handshakeRetries_ > 3) {
            GiveUp();
            return;
        }
        // The cable may or may not echo: try the other expectation.
        ctx_.link.NoEchoMode = !ctx_.link.NoEchoMode;
        SendHandshake();
        return;
    case LinkStep::AwaitIdentReply:
        if (SettleOpening()) return;
        GiveUp();
        return;
    case LinkStep::AwaitPasswordBlock: {
        if (op_ == LinkOperation::ReadRadioInfo) {
            GiveUp();
            return;
        }
        if (SettleOpening()) return;
        const int16_t before = ctx_.link.PasswordRetryCounter;
        ctx_.link.PasswordRetryCounter = static_cast<int16_t>(before - 1);
        if (before >= 2)
            Send(ReadRequest{static_cast<uint16_t>(kPasswordBlockAddress)}.encode(), kBlockReplyLength);
        else
            GiveUp();
        return;
    }
    case LinkStep::TransferBlocks: {
        if (op_ == LinkOperation::ReadRadioInfo) {
            GiveUp();
            return;
        }
        if (settling_) {
            // The line has been quiet (or a late reply has been dropped): again.
            SendCurrentBlock();
            return;
        }
        const size_t index = static_cast<size_t>(blockAddress_ / kBlockSize);
        if (blockAddress_ < 0 || index >= blockRetries_.size() || blockRetries_[index] < 1) {
            GiveUp();
            return;
        }
        --blockRetries_[index];
        // A reply may still be on its way: a re-sent packet now could be
        // answered by it, and its own answer taken for the next packet's.
        MarkSuspect();
        settling_ = true;
        settleExtensions_ = 0;
        if (host_.armTimer) host_.armTimer();
        return;
    }
    case LinkStep::AwaitEndAck:
        FinishTransfer(true);
        return;
    }
}

bool LinkEngine::SettleOpening() {
    // A reply to the opening exchange that comes a little after its time-out is
    // waited for and taken, as a memory block's is: sending again at once would
    // meet it (a handshake taking the identification's bytes, the echo
    // expectation turned the wrong way) and giving up would start over into the
    // same lateness. A clean line never gets here. No wait when a reply was
    // taken already (it was wrong, not late) or when a bare acknowledgement
    // shows that the cable does not echo: those act at once, as before.
    if (settling_) {
        settling_ = false; // the wait is over: the step's own time-out rule
        return false;
    }
    if (replyTaken_ || (step_ == LinkStep::AwaitHandshakeAck && HandshakeAck::parse(pending_))) return false;
    settling_ = true;
    settleExtensions_ = 0;
    if (host_.armTimer) host_.armTimer();
    return true;
}

void LinkEngine::GiveUp() {
    receiveEnabled_ = false;
    if (op_ == LinkOperation::Identify) {
        // Nobody to ask: a port that does not answer is a finding, not a question.
        FinishTransfer(false);
        return;
    }
    if (op_ == LinkOperation::ReadRadioInfo) {
        // Retry repeats handshake and identification and goes on from the next
        // block; step back one so the block that timed out is read again.
        if (step_ == LinkStep::TransferBlocks) blockAddress_ -= kBlockSize;
        if (host_.askRetry && host_.askRetry(op_)) {
            SendHandshake();
        } else {
            FinishTransfer(false);
        }
        return;
    }
    handshakeRetries_ = 0;
    ctx_.link.PasswordRetryCounter = 3;
    settling_ = false;
    if (host_.askRetry && host_.askRetry(op_)) {
        blockAddress_ = -kBlockSize;
        refusals_ = 0;
        const bool checking = verifier_.Phase() != TransferPhase::Blocks;
        verifier_.Restart();
        if (checking) ShowPhase();
        lastProgress_ = 0;
        if (host_.progress) host_.progress(0);
        SendHandshake();
    } else {
        FinishTransfer(false);
    }
}

bool LinkEngine::Abort() {
    if (op_ == LinkOperation::Idle) return true;
    // From inside a handler (a question is open) the time-outs end it instead.
    if (depth_ > 0) return false;
    DepthGuard guard(depth_);
    FinishTransfer(false);
    return true;
}

void LinkEngine::FinishTransfer(bool success) {
    const LinkOperation op = op_;
    if (!success && host_.send) host_.send(EndPacket::encode(), 0); // not waited for
    receiveEnabled_ = false;
    settling_ = false;
    Disarm();
    if (host_.closePort) host_.closePort();
    if (host_.transferClosed) host_.transferClosed(op, success);
    if (success && host_.succeeded) host_.succeeded(op);
    Disarm();
    endedOp_ = op;
    endedWell_ = success;
    op_ = LinkOperation::Idle;
    step_ = LinkStep::AwaitHandshakeAck;
    pending_.clear();
    if (host_.finished) host_.finished(op, success);
}

bool LinkEngine::PasswordCheck(const DataBlock& block) {
    const std::string radio = RadioPasswordOf(block.data);
    if (radio.empty() || radio == ctx_.enteredPassword) return true;
    std::string entry = ctx_.enteredPassword;
    if (host_.askPassword && host_.askPassword(entry)) ctx_.enteredPassword = TrimField(entry);
    if (radio == ctx_.enteredPassword) return true;
    if (host_.notice) host_.notice(LinkNotice::PasswordFailure, 0);
    FinishTransfer(false);
    return false;
}

bool LinkEngine::IdentityCheck() {
    const RadioIdentity& id = ctx_.link.Identity;
    const bool typeOk = op_ != LinkOperation::WriteRadio || id.RadioModelType == ctx_.model.ModelType;
    const bool modelOk = TrimField(ctx_.model.ModelCode) == id.RadioModelCode;
    const bool versionOk = IsFormatSupported(ctx_.versions, kProgramFormatVersion, id.RadioFirmwareVersion);
    if (typeOk && modelOk && versionOk) return true;
    const IdentityMismatch mismatch = !modelOk    ? IdentityMismatch::Model
                                      : versionOk ? IdentityMismatch::ModelType
                                                  : IdentityMismatch::Version;
    if (host_.identityMismatch) host_.identityMismatch(mismatch, id);
    return false;
}

std::string RadioPasswordOf(std::span<const uint8_t, kBlockSize> data) {
    std::string text;
    for (int i = kPasswordOffset; i < kBlockSize; ++i) {
        const uint8_t b = data[static_cast<size_t>(i)];
        if (b == 0x00 || b == 0xFF) break;
        text += static_cast<char>(b);
    }
    return TrimField(text);
}

} // namespace tarvane
