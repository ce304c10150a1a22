// tarvane-cli simulate: a radio on a pseudo-terminal.
#include <cstdio>
#include <filesystem>

#include "base/NumberText.h"
#include "cli/Cli.h"
#include "doc/Startup.h"
#include "freq/Bands.h"
#include "image/CodeplugFile.h"
#include "image/ImageOps.h"
#include "image/InitialValues.h"
#include "memory/RadioMemory.h"
#include "sim/SimHost.h"
#include "state/Program.h"

namespace tarvane {

namespace {

// A count or address option: decimal, or hexadecimal with 0x.
bool NumberOf(const CliArgs& args, const std::string& name, int& out) {
    if (!args.Has(name)) return true;
    const std::string text = args.Get(name);
    try {
        size_t used = 0;
        const long v = std::stol(text, &used, 0);
        if (used != text.size() || v < 0 || v > 0xFFFF) return false;
        out = static_cast<int>(v);
        return true;
    } catch (...) {
        return false;
    }
}

// The program folder's initial codeplugs and language, as the other commands have them.
void StartProgram(Program& p) {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    StartUp(p, CurrentEnvironment(exe.string()), SetupAccess::ReadOnly);
    InstallCliPrompts(p, 0, nullptr);
}

// A radio as it leaves the factory: the memory a write of the band's new document leaves.
RadioMemory FactoryMemory(Program& p, int band) {
    SetModelType(p, band);
    p.RadioInfo.ModelType = static_cast<int16_t>(band);
    NewDocument(p);
    p.Image.Settings.Version.ModelType = static_cast<int16_t>(band);
    RadioMemory m{};
    EncodeRadioMemory(m, p.Image);
    return m;
}

// A memory file that exists and is not raw memory is taken for a codeplug: its
// radio memory is the start, and without --model-type its model type is the radio's.
bool StartMemory(SimOptions& o, bool typeGiven) {
    std::error_code ec;
    const bool exists = !o.memoryFile.empty() && std::filesystem::exists(o.memoryFile, ec);
    const bool raw = exists && std::filesystem::file_size(o.memoryFile, ec) == kRadioMemorySize;
    if (raw || (!exists && o.setup.modelType > kBandHAM)) return true;
    Program p;
    StartProgram(p);
    if (!exists) {
        o.startMemory = FactoryMemory(p, o.setup.modelType);
        return true;
    }
    if (OpenCodeplug(p, o.memoryFile) != OpenResult::Opened) return false; // the reason is on stderr
    RadioMemory m{};
    EncodeRadioMemory(m, p.Image);
    o.startMemory = m;
    o.memoryFromCodeplug = true;
    if (!typeGiven) o.setup.modelType = static_cast<uint8_t>(p.Model.ModelType);
    return true;
}

} // namespace

int CliSimulate(const CliArgs& args) {
    SimOptions o;
    o.link = args.Get("--link");
    o.memoryFile = args.Get("--memory");
    o.infoFile = args.Get("--info");
    o.traceFile = args.Get("--trace");
    o.echo = args.Has("--echo");
    o.paced = !args.Has("--unpaced");
    o.passwordSet = args.Has("--password");
    o.password = args.Get("--password");
    RadioSetup& s = o.setup;
    if (args.Has("--model-code")) s.modelCode = args.Get("--model-code");
    if (args.Has("--firmware")) s.firmwareVersion = args.Get("--firmware");
    s.ctcssDcs = !args.Has("--no-ctcss");
    const std::string type = args.Get("--model-type");
    int modelType = 0;
    if (BandOfName(type) >= 0) {
        modelType = BandOfName(type);
    } else if (!NumberOf(args, "--model-type", modelType) || modelType > 255) {
        std::fprintf(stderr, "--model-type must be CB, HF, HAM or a number 0..255\n");
        return kExitUsage;
    }
    s.modelType = static_cast<uint8_t>(modelType);
    RadioFaults& f = s.faults;
    const std::pair<const char*, int*> numbers[] = {
        {"--silence-every", &f.silenceEvery},
        {"--bad-checksum-every", &f.badChecksumEvery},
        {"--nak-every", &f.nakEvery},
        {"--wrong-address-every", &f.wrongAddressEvery},
        {"--late-every", &f.lateEvery},
        {"--late-ms", &f.lateMs},
        {"--split", &f.splitBytes},
        {"--ignore-handshakes", &f.ignoreHandshakes},
        {"--nak-address", &f.nakAddress},
        {"--nak-ends", &f.nakEnds},
        {"--silence-password", &f.silencePassword},
    };
    for (auto [name, target] : numbers) {
        if (!NumberOf(args, name, *target)) {
            std::fprintf(stderr, "%s needs a number\n", name);
            return kExitUsage;
        }
    }
    f.silentEnd = args.Has("--silent-end");
    if (!StartMemory(o, args.Has("--model-type"))) return kExitFailed;
    return RunSimulator(o);
}

} // namespace tarvane
