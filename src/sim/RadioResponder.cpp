#include "sim/RadioResponder.h"

#include <algorithm>

namespace tarvane {

namespace {

const Bytes kProgram = HandshakePacket::encode();

bool Every(int n, int count) {
    return n > 0 && count % n == 0;
}

} // namespace

RadioResponder::RadioResponder(RadioSetup s) : setup(std::move(s)) {
    memory.fill(0xFF);
    info.fill(0xFF);
    info[0] = static_cast<uint8_t>(0xF0 | (setup.modelType & 0x0F));
    nakEndsLeft_ = setup.faults.nakEnds;
    passwordSilencesLeft_ = setup.faults.silencePassword;
}

void RadioResponder::SetPassword(const std::string& password) {
    for (size_t i = 0; i < 4; ++i) {
        if (password.empty())
            info[0x1C + i] = 0xFF;
        else
            info[0x1C + i] = i < password.size() ? static_cast<uint8_t>(password[i]) : 0x00;
    }
}

std::vector<SimReply> RadioResponder::Feed(std::span<const uint8_t> bytes) {
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
    std::vector<SimReply> out;
    while (!buffer_.empty() && TakeRequest(out)) {
    }
    return out;
}

SimReply RadioResponder::Reply(Bytes bytes, bool late) const {
    SimReply r;
    r.bytes = std::move(bytes);
    r.delayMs = late ? setup.faults.lateMs : 0;
    r.pieceBytes = setup.faults.splitBytes;
    return r;
}

uint8_t RadioResponder::ByteAt(int address) const {
    if (address >= 0 && address < kRadioMemorySize) return memory[static_cast<size_t>(address)];
    if (address >= kInfoBase && address < kInfoBase + kRadioInfoSize)
        return info[static_cast<size_t>(address - kInfoBase)];
    return 0xFF; // nothing there
}

Bytes RadioResponder::ReadBlockReply(int address, bool badChecksum) const {
    DataBlock b;
    b.address = static_cast<uint16_t>(address);
    for (int i = 0; i < kBlockSize; ++i)
        b.data[static_cast<size_t>(i)] = ByteAt(address + i);
    Bytes out = b.encode();
    if (badChecksum) out[out.size() - 2] = static_cast<uint8_t>(out[out.size() - 2] + 1);
    return out;
}

bool RadioResponder::TakeRequest(std::vector<SimReply>& out) {
    auto drop = [this](size_t n) { buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<long>(n)); };
    const RadioFaults& f = setup.faults;

    // Outside programming mode only "PROGRAM" means anything.
    if (!programMode || buffer_[0] == 'P') {
        const size_t n = std::min(buffer_.size(), kProgram.size());
        if (!std::equal(buffer_.begin(), buffer_.begin() + static_cast<long>(n), kProgram.begin())) {
            drop(1);
            return true;
        }
        if (n < kProgram.size()) return false;
        drop(kProgram.size());
        ++handshakes;
        const bool late = Every(f.lateEvery, ++requests);
        lastWasIdent_ = false;
        lastWasPassword_ = false;
        if (handshakes <= f.ignoreHandshakes) return true;
        programMode = true;
        out.push_back(Reply(HandshakeAck::encode(), late));
        return true;
    }

    switch (buffer_[0]) {
    case 0x02: {
        drop(1);
        const bool late = Every(f.lateEvery, ++requests);
        lastWasIdent_ = true;
        lastWasPassword_ = false;
        IdentReply id;
        id.modelCode = setup.modelCode;
        id.modelType = setup.modelType;
        id.firmwareVersion = setup.firmwareVersion;
        id.flags = setup.ctcssDcs ? kFlagCtcssDcs : 0;
        out.push_back(Reply(id.encode(), late));
        return true;
    }
    case 'R': {
        if (buffer_.size() < 4) return false;
        auto req = ReadRequest::parse(std::span<const uint8_t>(buffer_.data(), 4));
        drop(4);
        if (!req) return true;
        const bool late = Every(f.lateEvery, ++requests);
        // The password block right after the identification (and its re-sends)
        // is part of the opening exchange, not a memory block: only its own
        // fault touches it.
        const bool opening = (lastWasIdent_ || lastWasPassword_) && req->address == kPasswordBlockAddress;
        lastWasIdent_ = false;
        lastWasPassword_ = opening;
        if (opening) {
            if (passwordSilencesLeft_ > 0) {
                --passwordSilencesLeft_;
                return true;
            }
            out.push_back(Reply(ReadBlockReply(req->address, false), late));
            return true;
        }
        const int n = ++blockRequests;
        if (Every(f.silenceEvery, n)) return true;
        if (req->address == f.silenceAddress && silencedReads_ < f.silenceTimes) {
            ++silencedReads_;
            return true;
        }
        const int address = Every(f.wrongAddressEvery, n) ? req->address + kBlockSize : req->address;
        out.push_back(Reply(ReadBlockReply(address, Every(f.badChecksumEvery, n)), late));
        return true;
    }
    case 'W': {
        if (buffer_.size() < static_cast<size_t>(kBlockReplyLength)) return false;
        auto block = DataBlock::parse(std::span<const uint8_t>(buffer_.data(), kBlockReplyLength));
        lastWasIdent_ = false;
        lastWasPassword_ = false;
        if (!block) {
            // A damaged block: refuse it and resynchronise on the next byte.
            drop(1);
            out.push_back(Reply({kNak}));
            return true;
        }
        drop(kBlockReplyLength);
        const bool late = Every(f.lateEvery, ++requests);
        const int n = ++blockRequests;
        if (Every(f.silenceEvery, n)) return true;
        if (block->address == f.silenceAddress && silencedWrites_ < f.silenceTimes) {
            ++silencedWrites_;
            return true;
        }
        if (Every(f.nakEvery, n) || (block->address == f.nakAddress && !nakAddressUsed_)) {
            if (block->address == f.nakAddress) nakAddressUsed_ = true;
            out.push_back(Reply({kNak}, late));
            return true;
        }
        if (block->address + kBlockSize <= kRadioMemorySize) {
            std::copy(block->data.begin(), block->data.end(), memory.begin() + block->address);
            memoryChanged = true;
        }
        // The information area is read-only: acknowledged, never stored.
        ++blocksWritten;
        out.push_back(Reply({kAck}, late));
        return true;
    }
    case 'E': {
        if (buffer_.size() < 3) return false;
        if (buffer_[1] != 'N' || buffer_[2] != 'D') {
            drop(1);
            return true;
        }
        drop(3);
        ++ends;
        const bool late = Every(f.lateEvery, ++requests);
        lastWasIdent_ = false;
        lastWasPassword_ = false;
        if (nakEndsLeft_ > 0) {
            --nakEndsLeft_;
            out.push_back(Reply({kNak}));
            return true;
        }
        programMode = false;
        if (!f.silentEnd) out.push_back(Reply({kAck}, late));
        return true;
    }
    default:
        drop(1);
        return true;
    }
}

} // namespace tarvane
