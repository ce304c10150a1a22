#pragma once
// The radio side of the link: what a radio answers to each packet, with faults
// on demand. No I/O and no clock: a host feeds it the bytes the program sent and
// carries out the replies (the pty host of "tarvane-cli simulate", the virtual
// line of the tests). The cable's echo is the host's business, not the radio's.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "link/LinkWire.h"
#include "state/RadioImage.h"

namespace tarvane {

struct RadioFaults {
    int silenceEvery = 0;      // every Nth block request ("R" or "W") gets no reply
    int badChecksumEvery = 0;  // every Nth block request, if a read, is answered with a wrong checksum
    int nakEvery = 0;          // every Nth block request, if a write, is refused with a Nak
    int wrongAddressEvery = 0; // every Nth block request, if a read, is answered for the next block
    int lateEvery =
        0; // every Nth request of any kind ("PROGRAM" and the identification too) is answered lateMs late
    int lateMs = 200;
    int splitBytes = 0;       // replies go out in pieces of this many bytes (0: whole)
    int ignoreHandshakes = 0; // the first K handshakes get no answer
    int nakAddress = -1;      // the first write of this address is refused with a Nak
    int nakEnds = 0;          // the first K "END"s are answered with a Nak
    bool silentEnd = false;   // "END" gets no answer
    int silencePassword = 0;  // the first K password block requests get no answer
    int silenceAddress = -1;  // the first silenceTimes writes and the first silenceTimes
    int silenceTimes = 0;     // reads of this address get no answer
};

struct RadioSetup {
    std::string modelCode = "Tarvane";
    uint8_t modelType = 0;
    std::string firmwareVersion = "V100";
    bool ctcssDcs = true;
    RadioFaults faults;
};

struct SimReply {
    Bytes bytes;
    int delayMs = 0;    // after the request has arrived
    int pieceBytes = 0; // 0: in one piece
};

class RadioResponder {
  public:
    static constexpr int kMemorySize = kRadioMemorySize;
    static constexpr int kInfoBase = kRadioInfoBase;

    explicit RadioResponder(RadioSetup setup = {});

    // Bytes the program sent, in any pieces; the replies of every request now complete.
    std::vector<SimReply> Feed(std::span<const uint8_t> bytes);

    // The password at 0x3E1C..0x3E1F: up to four characters, NUL padded; empty erases it.
    void SetPassword(const std::string& password);

    std::array<uint8_t, kRadioMemorySize> memory{};
    std::array<uint8_t, kRadioInfoSize> info{};
    RadioSetup setup;

    // What happened, for tests and the trace.
    int handshakes = 0;
    int requests = 0; // of every kind, answered or not
    int blockRequests = 0;
    int blocksWritten = 0;
    int ends = 0;
    bool programMode = false;
    bool memoryChanged = false; // a block was stored since the flag was last cleared

  private:
    // Handles the request at the front of the buffer; false when more bytes are needed.
    bool TakeRequest(std::vector<SimReply>& out);
    SimReply Reply(Bytes bytes, bool late = false) const;
    Bytes ReadBlockReply(int address, bool badChecksum) const;
    uint8_t ByteAt(int address) const;

    std::vector<uint8_t> buffer_;
    bool lastWasIdent_ = false;
    bool lastWasPassword_ = false; // a re-send of the password request is one too
    int passwordSilencesLeft_ = 0;
    bool nakAddressUsed_ = false;
    int nakEndsLeft_ = 0;
    int silencedWrites_ = 0, silencedReads_ = 0; // of faults.silenceAddress
};

} // namespace tarvane
