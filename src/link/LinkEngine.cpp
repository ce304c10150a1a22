#include "link/LinkEngine.h"

#include <algorithm>

#include "base/FixedText.h"
#include "base/NumberText.h"
#include "image/ModelVersion.h"
#include "state/Program.h"
#include "state/lang/LangText.h"

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

void ReplaceText(std::string& text, const std::string& mark, const std::string& by) {
    const size_t at = text.find(mark);
    if (at != std::string::npos) text.replace(at, mark.size(), by);
}

} // namespace

LinkEngine::LinkEngine(Program& p, LinkHost host) : p_(p), host_(std::move(host)) {}

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
    suspect_ = false;
    wroteBlocks_ = false;
    echoConfirmed_ = false;
    notTaken_ = 0;
    phase_ = TransferPhase::Blocks;
    phaseBlocks_.clear();
    differing_.clear();
    rewriteRound_ = 0;
    ResetRetries();
}

void LinkEngine::ResetRetries() {
    // Indexes 0..EndAddress/16 rounded half to even, each with three re-sends.
    const int last = static_cast<int>(RoundHalfEven(static_cast<double>(endAddress_) / kBlockSize));
    blockRetries_.assign(static_cast<size_t>(last) + 1, 3);
}

void LinkEngine::MarkSuspect() {
    if (op_ == LinkOperation::WriteRadio) suspect_ = true;
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
    echoLength_ = p_.Link.NoEchoMode ? 0 : static_cast<int>(packet.size());
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
    if (op_ == LinkOperation::WriteRadio && phase_ != TransferPhase::Check)
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
    std::copy_n(p_.RadioMemoryBlock.begin() + blockAddress_, kBlockSize, block.data.begin());
    Send(block.encode(), kAckLength);
}

void LinkEngine::OnBytes(std::span<const uint8_t> bytes) {
    if (op_ == LinkOperation::Idle || bytes.empty()) return;
    if (depth_ > 0) return; // a question is open: taken from the port and ignored
    // While the line settles after a time-out, a reply that comes late is
    // still classified as usual: a read block only counts for its own address
    // and a write that saw it is read back, so taking it is safe, and quicker
    // than sending the packet again and getting two answers.
    if (settling_) MarkSuspect();
    const bool inBlocks = step_ == LinkStep::TransferBlocks || step_ == LinkStep::AwaitEndAck;
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
    const bool checking = writing && step_ == LinkStep::TransferBlocks && phase_ == TransferPhase::Check;
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
        if (op_ != LinkOperation::ReadRadioInfo) {
            RadioIdentity& id = p_.Link.Identity;
            id.RadioModelCode = TrimField(ident->modelCode);
            id.RadioModelType = ident->modelType;
            id.RadioFirmwareVersion = ident->firmwareVersion;
            id.CtcssDcsSupported = (ident->flags & kFlagCtcssDcs) != 0;
        }
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
            p_.RadioMemoryBlock[static_cast<size_t>(address)] = block.data[static_cast<size_t>(i)];
        } else if (address >= kRadioInfoBase && address < kRadioInfoBase + kRadioInfoSize) {
            p_.RadioInfoBlock[static_cast<size_t>(address - kRadioInfoBase)] =
                block.data[static_cast<size_t>(i)];
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
            if (!p_.Link.Identity.CtcssDcsSupported && !featureWarned_) {
                featureWarned_ = true;
                Tell(p_, "CTCSS/DCS Function is invalid,\r\nSome features will not work.", MsgIcon::Warning);
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
        else if (phase_ == TransferPhase::Rewrite)
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
    if (op_ == LinkOperation::WriteRadio && (suspect_ || p_.Link.VerifyWrite)) {
        // Read back in the same session, before "END": a radio may restart after it.
        std::vector<int> all;
        for (int a = 0; a < endAddress_; a += kBlockSize)
            all.push_back(a);
        rewriteRound_ = 0;
        StartCheck(std::move(all));
        return;
    }
    step_ = LinkStep::AwaitEndAck;
    Send(EndPacket::encode(), kAckLength);
}

void LinkEngine::EnterPhase(TransferPhase phase) {
    phase_ = phase;
    lastProgress_ = 0;
    if (host_.phase) host_.phase(phase);
    if (host_.progress) host_.progress(0);
}

void LinkEngine::PhaseProgress(size_t done, size_t total) {
    if (total == 0) return;
    const int percent =
        static_cast<int>(RoundHalfEven(static_cast<double>(done) * 100.0 / static_cast<double>(total)));
    if (percent <= lastProgress_) return;
    lastProgress_ = percent;
    if (host_.progress) host_.progress(percent);
}

void LinkEngine::StartCheck(std::vector<int> blocks) {
    EnterPhase(TransferPhase::Check);
    phaseBlocks_ = std::move(blocks);
    phaseIndex_ = 0;
    differing_.clear();
    ResetRetries(); // each block of the check gets its own three re-sends
    NextCheckBlock();
}

void LinkEngine::CheckBlock(const DataBlock& block) {
    refusals_ = 0;
    const auto sent = p_.RadioMemoryBlock.begin() + blockAddress_;
    if (!std::equal(block.data.begin(), block.data.end(), sent)) differing_.push_back(blockAddress_);
    ++phaseIndex_;
    PhaseProgress(phaseIndex_, phaseBlocks_.size());
    NextCheckBlock();
}

void LinkEngine::NextCheckBlock() {
    if (phaseIndex_ < phaseBlocks_.size()) {
        blockAddress_ = phaseBlocks_[phaseIndex_];
        SendCurrentReadRequest();
        return;
    }
    if (differing_.empty()) {
        notTaken_ = 0;
        step_ = LinkStep::AwaitEndAck;
        Send(EndPacket::encode(), kAckLength);
        return;
    }
    if (rewriteRound_ >= kRewriteRounds) {
        notTaken_ = static_cast<int>(differing_.size());
        std::string text = LangText(p_, 32000_txt);
        ReplaceText(text, "%1", std::to_string(notTaken_));
        ReplaceText(text, "%2", std::to_string(kRewriteRounds));
        Tell(p_, text, MsgIcon::Critical, MsgButtons::Ok);
        FinishTransfer(false);
        return;
    }
    StartRewrite();
}

void LinkEngine::StartRewrite() {
    ++rewriteRound_;
    EnterPhase(TransferPhase::Rewrite);
    phaseBlocks_ = differing_;
    phaseIndex_ = 0;
    ResetRetries();
    blockAddress_ = phaseBlocks_[0];
    SendCurrentWriteBlock();
}

void LinkEngine::NextRewriteBlock() {
    ++phaseIndex_;
    PhaseProgress(phaseIndex_, phaseBlocks_.size());
    if (phaseIndex_ < phaseBlocks_.size()) {
        blockAddress_ = phaseBlocks_[phaseIndex_];
        SendCurrentWriteBlock();
        return;
    }
    StartCheck(phaseBlocks_);
}

void LinkEngine::OnTimeout() {
    if (op_ == LinkOperation::Idle || depth_ > 0) return;
    DepthGuard guard(depth_);
    Disarm();
    switch (step_) {
    case LinkStep::AwaitHandshakeAck:
        ++handshakeRetries_;
        if (handshakeRetries_ > 3) {
            GiveUp();
            return;
        }
        // The cable may or may not echo: try the other expectation.
        p_.Link.NoEchoMode = !p_.Link.NoEchoMode;
        SendHandshake();
        return;
    case LinkStep::AwaitIdentReply:
        GiveUp();
        return;
    case LinkStep::AwaitPasswordBlock: {
        if (op_ == LinkOperation::ReadRadioInfo) {
            GiveUp();
            return;
        }
        const int16_t before = p_.Link.PasswordRetryCounter;
        p_.Link.PasswordRetryCounter = static_cast<int16_t>(before - 1);
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

void LinkEngine::GiveUp() {
    receiveEnabled_ = false;
    if (op_ == LinkOperation::ReadRadioInfo) {
        // Retry repeats handshake and identification and goes on from the next
        // block; step back one so the block that timed out is read again.
        if (step_ == LinkStep::TransferBlocks) blockAddress_ -= kBlockSize;
        if (TellId(p_, 9008_txt, MsgIcon::Question, MsgButtons::RetryCancel) == MsgAnswer::Retry) {
            SendHandshake();
        } else {
            FinishTransfer(false);
        }
        return;
    }
    handshakeRetries_ = 0;
    p_.Link.PasswordRetryCounter = 3;
    settling_ = false;
    if (TellId(p_, 9008_txt, MsgIcon::Question, MsgButtons::OkCancel) == MsgAnswer::Ok) {
        blockAddress_ = -kBlockSize;
        refusals_ = 0;
        rewriteRound_ = 0;
        if (phase_ != TransferPhase::Blocks) EnterPhase(TransferPhase::Blocks);
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
    if (success) {
        if (op == LinkOperation::ReadRadioInfo) {
            if (!DecodeRadioInfo(p_)) Tell(p_, "Country Mode Error!");
        } else {
            TellId(p_, op == LinkOperation::ReadRadio ? 9009_txt : 9010_txt, MsgIcon::None, MsgButtons::Ok);
        }
    }
    Disarm();
    op_ = LinkOperation::Idle;
    step_ = LinkStep::AwaitHandshakeAck;
    pending_.clear();
    if (host_.finished) host_.finished(op, success);
}

bool LinkEngine::PasswordCheck(const DataBlock& block) {
    const std::string radio = RadioPasswordOf(block.data);
    if (radio.empty() || radio == p_.EnteredPassword) return true;
    std::string entry = p_.EnteredPassword;
    if (p_.Prompts.password && p_.Prompts.password(entry)) p_.EnteredPassword = TrimField(entry);
    if (radio == p_.EnteredPassword) return true;
    Tell(p_, "PassWord Failure!", MsgIcon::None, MsgButtons::Ok);
    FinishTransfer(false);
    return false;
}

bool LinkEngine::IdentityCheck() {
    const RadioIdentity& id = p_.Link.Identity;
    const bool typeOk = op_ != LinkOperation::WriteRadio || id.RadioModelType == p_.Model.ModelType;
    const bool modelOk = TrimField(p_.Model.ModelCode) == id.RadioModelCode;
    const bool versionOk = IsFormatSupported(p_.Versions, kProgramFormatVersion, id.RadioFirmwareVersion);
    if (typeOk && modelOk && versionOk) return true;
    if (modelOk) {
        if (versionOk) {
            TellId(p_, 9030_txt, MsgIcon::Warning, MsgButtons::Ok);
        } else if (Tell(p_, VersionMismatchText(p_, id.RadioFirmwareVersion), MsgIcon::None,
                        MsgButtons::YesNo) == MsgAnswer::Yes) {
            StartProgramFor(p_, id.RadioFirmwareVersion);
            p_.QuitRequested = true;
        }
        return false;
    }
    Tell(p_,
         LangText(p_, 9012_txt) + "\r\nPC is " + ModelDisplayName(p_.Model.ModelCode) + "\r\nRadio is " +
             ModelDisplayName(id.RadioModelCode),
         MsgIcon::None, MsgButtons::Ok);
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
