// The file commands of tarvane-cli: show a codeplug, make a new one.
#include <cstdio>

#include "app/Program.h"
#include "cli/Cli.h"
#include "exchange/ImageJson.h"
#include "freq/Bands.h"
#include "freq/FreqCodec.h"
#include "image/CodeplugFile.h"
#include "image/ImageOps.h"
#include "image/InitialValues.h"
#include "image/ModelVersion.h"

namespace tarvane {

namespace {

const char* const kOptionNames[kOptionCount] = {
    "Beep",           "Time-out timer",      "Backlight",        "Volume",       "Squelch",          "ASQ",
    "ASQ level",      "Gain control",        "Channel display",  "Scan type",    "Scan time",        "Squelch step back",
    "ASQ step back",  "Auto power on",       "Memory edit",      "SWR in use",   "SWR limit"};

std::string Tone(int code) {
    if (code <= 0) return "-";
    if (code <= 38) return "CT" + std::to_string(code);
    if (code <= 142) return "DCS" + std::to_string(code - 38);
    return "?" + std::to_string(code);
}

void ShowChannel(Program& p, const ChannelRecord& c) {
    const int group = GroupOfSlot(c.SlotNumber, p.Model.ModelType);
    const std::string freq = FreqToDisplaySilent(c.RxFreq.Raw());
    std::printf("%5d  %-10s %-10s %-5s %-5d %-5s %-6s %-6s %s\n", c.SlotNumber,
                group >= 0 ? GroupName(group, p.Model.ModelType).c_str() : "-", freq.empty() ? "-" : freq.c_str(),
                c.AM_FM == 1 ? "AM" : "FM", c.Tx_Power, c.Scan ? "scan" : "-", Tone(c.RDCT).c_str(),
                Tone(c.TDCT).c_str(), c.IsBlank ? "blank" : "");
}

} // namespace

int CliShow(Program& p, const CliArgs& args) {
    InstallCliPrompts(p, 0, nullptr);
    if (OpenCodeplug(p, args.words[0]) != OpenResult::Opened) return kExitFailed;
    if (args.Has("--json")) {
        std::fputs(WriteJson(DocumentJson(p)).c_str(), stdout);
        return kExitOk;
    }
    const SettingsRecord& s = p.Image.Settings;
    std::printf("Model: %s\n", ModelDisplayName(p.Model.ModelCode).c_str());
    std::printf("Model type: %s\n", TypeName(p.Model.ModelType).c_str());
    std::printf("Band: %s\n", p.Model.BandText.c_str());
    std::printf("Format version: %s\n", VersionDisplay(s.Version.FormatVersion.Trimmed()).c_str());
    std::printf("Channels: %d\n", p.Image.UsedCount());
    std::printf("Current group: %d\n", s.Features.CurrentGroup);
    std::printf("Active group: %d\n", s.Features.ActiveGroup);
    for (int i = 0; i < kOptionCount; ++i)
        std::printf("%s: %d\n", kOptionNames[i], s.Features.Options[static_cast<size_t>(i)]);
    std::printf("Key mode: %d\n", s.KeyTable[0]);
    std::printf("DTMF rate: %d\n", s.Dtmf.DtmfRate);
    for (size_t i = 0; i < s.Dtmf.Codes.size(); ++i) {
        const DtmfCodeEntry& d = s.Dtmf.Codes[i];
        if (d.Length <= 0 || d.Length > 16) continue;
        std::printf("DTMF code %zu: %s\n", i + 1, std::string(d.Code.Raw().substr(0, static_cast<size_t>(d.Length))).c_str());
    }
    std::printf("\n Slot  Group      Frequency  Mode  Power Scan  Rx     Tx\n");
    for (int i = 0; i < p.Image.UsedCount(); ++i) ShowChannel(p, p.Image.Channels[static_cast<size_t>(i)]);
    return kExitOk;
}

int CliNew(Program& p, const CliArgs& args) {
    InstallCliPrompts(p, 0, nullptr);
    const std::string type = args.Get("--type");
    const int t = type == "CB" ? 0 : type == "HF" ? 1 : type == "HAM" ? 2 : -1;
    if (t < 0) {
        std::fprintf(stderr, "--type must be CB, HF or HAM\n");
        return kExitUsage;
    }
    SetModelType(p, t);
    p.RadioInfo.ModelType = static_cast<int16_t>(t);
    NewDocument(p);
    p.Image.Settings.Version.ModelType = static_cast<int16_t>(t);
    return SaveCodeplug(p, args.Get("--out")) ? kExitOk : kExitFailed;
}

} // namespace tarvane
