// Fuzz target for the link engine's receive path: hostile byte streams, pieces of
// any size, proper replies mangled, time-outs at any moment, any answers to the
// questions. The engine must never crash, never stall (a time-out always ends a
// wait), and never touch the working image or, outside a read, the memory block.
//
/* With libFuzzer (clang): `scripts/fuzz.sh [SECONDS]` builds and runs it.

   Without clang the same target is built as a random-stream driver under the
   build's sanitizers (target link_engine_fuzz; ctest runs a short round):

     <build>/tests/link/link_engine_fuzz [iterations] [seed]
*/
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "link/LinkEngine.h"
#include "link/RadioOps.h"
#include "sim/RadioResponder.h"
#include "state/Program.h"

namespace {

using namespace tarvane;

class Input {
  public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Empty() const { return at_ >= size_; }
    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::vector<uint8_t> Take(size_t n) {
        n = std::min(n, size_ - std::min(at_, size_));
        std::vector<uint8_t> out(data_ + at_, data_ + at_ + n);
        at_ += n;
        return out;
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

void Fail(const char* what) {
    std::fprintf(stderr, "link engine fuzz: %s\n", what);
    std::abort();
}

void RunOne(const uint8_t* data, size_t size) {
    Input in(data, size);
    Program p;
    p.Versions.Firm.emplace_back("V100", "V100");
    const uint8_t head = in.Byte();
    const LinkOperation op = head % 3 == 0   ? LinkOperation::ReadRadio
                             : head % 3 == 1 ? LinkOperation::WriteRadio
                                             : LinkOperation::ReadRadioInfo;
    p.Link.NoEchoMode = (head & 0x04) != 0;
    p.Link.PasswordRetryCounter = static_cast<int16_t>((head >> 3) & 0x03);
    p.EnteredPassword = (head & 0x20) ? "AB" : "";
    p.Link.VerifyWrite = (head & 0x40) != 0; // the read-back and rewrite rounds too
    // Made once: a byte loop per input costs a tenth of the run under coverage.
    static const auto pattern = [] {
        decltype(Program::RadioMemoryBlock) m{};
        for (size_t i = 0; i < m.size(); ++i) m[i] = static_cast<uint8_t>(i * 13);
        return m;
    }();
    p.RadioMemoryBlock = pattern;
    const auto& memoryBefore = pattern;
    const RadioImage imageBefore = p.Image;

    // Questions take their answers from the input; once it is used up, Cancel.
    int questions = 0;
    p.Prompts.message = [&](const std::string&, MsgIcon, MsgButtons b, const std::string&) {
        ++questions;
        if (in.Empty()) return DefaultAnswer(b);
        switch (in.Byte() % 4) {
        case 0:
            return MsgAnswer::Ok;
        case 1:
            return MsgAnswer::Retry;
        case 2:
            return MsgAnswer::Yes;
        default:
            return MsgAnswer::Cancel;
        }
    };
    p.Prompts.password = [&](std::string& entry) {
        entry = (in.Byte() & 1) ? "AB" : "x";
        return !in.Empty();
    };
    p.Prompts.startProgram = [](const std::string&) { return false; };

    RadioSetup setup;
    setup.modelType = static_cast<uint8_t>(head >> 6);
    RadioResponder radio(setup);
    radio.SetPassword((head & 0x40) ? "AB" : "");
    Bytes lastPacket;
    bool timerArmed = false;
    bool portOpen = true;
    LinkHost host;
    host.send = [&](std::span<const uint8_t> packet, int threshold) {
        if (threshold < 0 || threshold > 64) Fail("threshold out of range");
        lastPacket.assign(packet.begin(), packet.end());
    };
    host.armTimer = [&] { timerArmed = true; };
    host.disarmTimer = [&] { timerArmed = false; };
    host.closePort = [&] { portOpen = false; };
    AskThroughPrompts(p, host);
    LinkEngine engine(LinkContextOf(p), host);
    engine.Prepare(op);
    engine.Start();

    int quietTimeouts = 0;
    while (engine.Running()) {
        if (!timerArmed) Fail("waiting with no timer armed");
        if (in.Empty()) {
            // Only time-outs from here: every wait must end.
            if (++quietTimeouts > 100000) Fail("no end after the input ran out");
            timerArmed = false;
            engine.OnTimeout();
            continue;
        }
        const uint8_t c = in.Byte();
        switch (c & 7) {
        case 0: // the wait timer fires
            timerArmed = false;
            engine.OnTimeout();
            break;
        default: { // the radio's proper reply, in pieces, echo first when expected
            std::vector<uint8_t> reply;
            if (!p.Link.NoEchoMode) reply = lastPacket;
            for (const SimReply& r : radio.Feed(lastPacket))
                reply.insert(reply.end(), r.bytes.begin(), r.bytes.end());
            const size_t piece = 1 + (c >> 3) % 23;
            for (size_t i = 0; i < reply.size() && engine.Running(); i += piece)
                engine.OnBytes(std::span<const uint8_t>(reply).subspan(i, std::min(piece, reply.size() - i)));
            break;
        }
        case 2: { // raw hostile bytes
            std::vector<uint8_t> junk = in.Take(static_cast<size_t>(c >> 3));
            engine.OnBytes(junk);
            break;
        }
        case 3: { // a proper reply with one byte changed
            std::vector<uint8_t> reply = p.Link.NoEchoMode ? std::vector<uint8_t>{} : lastPacket;
            for (const SimReply& r : radio.Feed(lastPacket))
                reply.insert(reply.end(), r.bytes.begin(), r.bytes.end());
            if (!reply.empty()) reply[in.Byte() % reply.size()] ^= static_cast<uint8_t>(1 + in.Byte() % 255);
            engine.OnBytes(reply);
            break;
        }
        case 4: { // too many bytes: a proper reply with a tail
            std::vector<uint8_t> reply = p.Link.NoEchoMode ? std::vector<uint8_t>{} : lastPacket;
            for (const SimReply& r : radio.Feed(lastPacket))
                reply.insert(reply.end(), r.bytes.begin(), r.bytes.end());
            std::vector<uint8_t> tail = in.Take(static_cast<size_t>(c >> 4));
            reply.insert(reply.end(), tail.begin(), tail.end());
            engine.OnBytes(reply);
            break;
        }
        }
    }
    if (portOpen) Fail("finished with the port open");
    if (!(p.Image == imageBefore)) Fail("the working image changed");
    if (op != LinkOperation::ReadRadio && p.RadioMemoryBlock != memoryBefore)
        Fail("memory block changed outside a read");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RunOne(data, size);
    return 0;
}

#ifndef TARVANE_LIBFUZZER
// The random-stream driver: random inputs of random length, biased towards
// proper replies so that transfers get deep into their blocks.
int main(int argc, char** argv) {
    const long iterations = argc > 1 ? std::atol(argv[1]) : 20000;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 20261208u;
    std::mt19937 rng(seed);
    for (long i = 0; i < iterations; ++i) {
        std::vector<uint8_t> data(rng() % 3000);
        const unsigned properShare = rng() % 100;
        for (auto& b : data)
            b = static_cast<uint8_t>(rng() % 100 < properShare ? (rng() & 0xF8) | 1 : rng());
        RunOne(data.data(), data.size());
    }
    std::printf("link engine fuzz: %ld inputs, seed %u, no fault\n", iterations, seed);
    return 0;
}
#endif
