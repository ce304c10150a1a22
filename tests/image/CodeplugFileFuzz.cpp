// Fuzz target for the file loader: any bytes as a codeplug file (the checked
// open, both initial-file loads) and as a version table. Opening must never
// crash; a refused file leaves the image and the baseline as they were and says
// why once; an opened file holds a valid count and band, saves, and opens and
// saves again to the same bytes; no version table stops the program opening
// its own format.
//
/* With libFuzzer (clang): `scripts/fuzz.sh [SECONDS]` builds and runs it.

   Without clang the same target is built as a random-file driver under the
   build's sanitizers (target codeplug_file_fuzz; ctest runs a short round):

     <build>/tests/image/codeplug_file_fuzz [iterations] [seed]
*/
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "RandomImages.h"
#include "image/CodeplugFile.h"
#include "image/ImageOps.h"
#include "image/InitialValues.h"
#include "image/ModelVersion.h"
#include "state/Program.h"

namespace {

using namespace tarvane;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "codeplug file fuzz: %s\n", what);
    std::abort();
}

struct Quiet {
    int messages = 0;
};

// A program as start-up leaves it, with no one to answer: every question gets the safe button.
// Made once and copied: building the initial image for every input would cost
// more than the checks themselves.
void Prepare(Program& p, Quiet& quiet) {
    static const Program made = [] {
        Program m;
        m.Versions.Firm = {{"V100", "V100"}, {"V200", "V201"}};
        m.Prompts.startProgram = [](const std::string&) { return false; };
        SetModelType(m, 0);
        InitBuiltInImage(m);
        return m;
    }();
    p = made;
    p.Prompts.message = [&quiet](const std::string&, MsgIcon, MsgButtons b, const std::string&) {
        ++quiet.messages;
        return DefaultAnswer(b);
    };
}

using Bytes = std::span<const uint8_t>;

void CheckOpen(Bytes bytes) {
    Program p;
    Quiet quiet;
    Prepare(p, quiet);
    const RadioImage image = p.Image, baseline = p.Baseline;
    switch (OpenCodeplugBytes(p, "input.dat", bytes)) {
    case OpenResult::Refused:
        if (!(p.Image == image) || !(p.Baseline == baseline)) Fail("a refused file changed the image");
        if (quiet.messages != 1) Fail("a refused file did not say why exactly once");
        return;
    case OpenResult::Quit:
        Fail("a question answered No ended the program");
    case OpenResult::Opened:
        break;
    }
    const SettingsRecord& s = p.Image.Settings;
    if (s.ChannelCount < 0 || s.ChannelCount > kMaxChannels) Fail("opened a channel count out of range");
    if (BandTextForType(p.Model.ModelType).empty()) Fail("opened a band that does not exist");
    if (quiet.messages != 0) Fail("an opened file showed a message");

    // Save, open what was saved, save again: the same bytes.
    const std::vector<uint8_t> first = EncodeCodeplug(SavedImage(p));
    Program again;
    Prepare(again, quiet);
    if (OpenCodeplugBytes(again, "first.dat", first) != OpenResult::Opened) Fail("a saved file did not open");
    if (EncodeCodeplug(SavedImage(again)) != first) Fail("save, open, save changed bytes");
}

void CheckInitialLoads(Bytes bytes) {
    Program p;
    Quiet quiet;
    Prepare(p, quiet);
    if (LoadInitFullBytes(p, bytes)) {
        if (p.Image.Settings.ChannelCount < 0 || p.Image.Settings.ChannelCount > kMaxChannels)
            Fail("an initial file gave a channel count out of range");
    } else if (!(p.Image == p.Baseline)) {
        Fail("a refused initial file left image and baseline apart");
    }
    Program q;
    Prepare(q, quiet);
    if (LoadInitSettingsBytes(q, bytes) && q.Image.Settings.ChannelCount != 0)
        Fail("settings-only load kept channels");
    if (quiet.messages != 0) Fail("an initial file showed a message");
}

void CheckVersionTable(Bytes bytes) {
    VersionTable table;
    ParseVersionTable(std::string(bytes.begin(), bytes.end()), table);
    if (!IsFormatSupported(table, kProgramFormatVersion, kProgramFormatVersion))
        Fail("a version table made the program refuse its own format");
}

// Files larger than the loader reads are refused before any of this.
void RunOne(const uint8_t* data, size_t size) {
    const Bytes bytes(data, std::min(size, kCodeplugReadLimit));
    CheckOpen(bytes);
    CheckInitialLoads(bytes);
    CheckVersionTable(bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RunOne(data, size);
    return 0;
}

#ifndef TARVANE_LIBFUZZER
namespace {

// A file the program opens (random but valid for its band), then spoiled in the
// places that decide whether and how it opens.
std::vector<uint8_t> RandomInput(test::Dice& d) {
    std::vector<uint8_t> bytes = EncodeCodeplug(test::RandomFileImage(d, d.In(0, 2)));
    auto put16 = [&](size_t at, int v) {
        if (at + 1 < bytes.size()) {
            bytes[at] = static_cast<uint8_t>(v);
            bytes[at + 1] = static_cast<uint8_t>(v >> 8);
        }
    };
    switch (d.In(0, 7)) {
    case 0:
        break; // as made
    case 1:
        put16(13, d.In(-3, 415));
        break; // channel count at and past its limits
    case 2:
        put16(7, d.In(-1, 4));
        break; // model type
    case 3:
        bytes[static_cast<size_t>(d.In(9, 12))] = static_cast<uint8_t>(d.In(0, 255));
        break; // format version
    case 4:
        bytes.resize(static_cast<size_t>(d.In(0, 26000)));
        break; // any length, short ones included
    case 5:
        bytes.resize(bytes.size() + static_cast<size_t>(d.In(1, 70000)), 0xFF);
        break; // long ones
    case 6: {  // text: a version table of sorts
        static const char* const kLines[] = {"[Version]\n",
                                             "[Firm]\n",
                                             "[Soft]\n",
                                             "SoftVersionCount=",
                                             "FirmVersionCount=",
                                             "Firm0=V100/V100\n",
                                             "Firm1=V200/V100\n",
                                             "32767\n",
                                             "1\n",
                                             "-1\n",
                                             "x\n"};
        std::string text;
        for (int i = d.In(0, 20); i > 0; --i)
            text += kLines[d.In(0, 10)];
        bytes.assign(text.begin(), text.end());
        break;
    }
    default:
        break;
    }
    // Anything anywhere, now and then.
    for (int flips = d.In(0, 3) == 0 ? d.In(1, 8) : 0; flips > 0 && !bytes.empty(); --flips)
        bytes[static_cast<size_t>(d.In(0, static_cast<int>(bytes.size()) - 1))] =
            static_cast<uint8_t>(d.In(0, 255));
    return bytes;
}

} // namespace

int main(int argc, char** argv) {
    const long iterations = argc > 1 ? std::atol(argv[1]) : 5000;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 20261208u;
    test::Dice d(seed);
    for (long i = 0; i < iterations; ++i) {
        const std::vector<uint8_t> bytes = RandomInput(d);
        RunOne(bytes.data(), bytes.size());
    }
    std::printf("codeplug file fuzz: %ld inputs, seed %u, no fault\n", iterations, seed);
    return 0;
}
#endif
