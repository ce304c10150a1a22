// The file commands of tarvane-cli: show a codeplug, make a new one; and the
// printing of the radio information. Values are printed by the names the
// windows show, from the language files, never as raw numbers.
#include <cstdio>

#include "cli/Cli.h"
#include "exchange/ImageJson.h"
#include "features/keys/KeysArea.h"
#include "features/options/OptionFields.h"
#include "freq/Bands.h"
#include "freq/ChannelCodec.h"
#include "freq/FreqCodec.h"
#include "image/CodeplugFile.h"
#include "image/ImageOps.h"
#include "image/InitialValues.h"
#include "image/ModelVersion.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"

namespace tarvane {

namespace {

// An entry of a list by position; a stored value the list does not have is
// shown as the number it is, so a damaged file stays visible.
std::string Entry(const std::vector<std::string>& entries, int v) {
    return v >= 0 && static_cast<size_t>(v) < entries.size() ? entries[static_cast<size_t>(v)]
                                                             : "?" + std::to_string(v);
}

std::string DuplexText(const ChannelRecord& c) {
    if (c.DUP == 0) return "Off";
    if (c.DUP == 1 || c.DUP == 2)
        return std::string(c.DUP == 1 ? "+" : "-") + std::to_string(c.OffSetFre) + " kHz";
    return "?" + std::to_string(c.DUP);
}

std::string ModeText(int amFm) {
    return amFm == 0 ? "FM" : amFm == 1 ? "AM" : "?" + std::to_string(amFm);
}

std::string ToneText(int code) {
    const std::string name = ToneName(code);
    return name.empty() ? "?" + std::to_string(code) : name;
}

std::string FreqText(Program& p, const ChannelRecord& c, int group) {
    const std::string raw = c.RxFreq.Trimmed();
    if (IsNoFreq(raw)) return "-";
    // A frequency text that is not a number (a damaged file) is shown as it is.
    if (FreqToDisplaySilent(raw).empty()) return raw;
    return group >= 0 ? FreqToGroupDisplay(p, raw, group, p.Model.ModelType) : FreqToDisplaySilent(raw);
}

void Line(Program& p, TextId caption, const std::string& value) {
    std::printf("%s: %s\n", LangText(p, caption).c_str(), value.c_str());
}

void ShowChannel(Program& p, const ChannelRecord& c) {
    const int band = p.Model.ModelType;
    const int group = GroupOfSlot(c.SlotNumber, band);
    const std::string groupName = group >= 0 ? GroupName(group, band) : "-";
    const int channel = group >= 0 ? c.SlotNumber - GroupBase(group, band) : 0;
    std::printf("%5d  %-5s %4d  %-15s %-10s %-4s %-7s %-4s %-17s %-17s %s%s\n", c.SlotNumber,
                groupName.c_str(), channel, FreqText(p, c, group).c_str(), DuplexText(c).c_str(),
                ModeText(c.AM_FM).c_str(), Entry(PowerEntries(p, c.AM_FM), c.Tx_Power).c_str(),
                c.Scan == 1   ? "Add"
                : c.Scan == 0 ? "Del"
                              : "?",
                ToneText(c.RDCT).c_str(), ToneText(c.TDCT).c_str(), RogerBeepText(p, c.RBTone).c_str(),
                c.IsBlank ? ("  " + LangText(p, txt::kBlank)).c_str() : "");
}

void ShowDefaultChannel(Program& p, const ChannelRecord& c) {
    std::printf("\n[%s]\n", LangText(p, txt::kDefaultChannel).c_str());
    Line(p, txt::kEditDuplex, DuplexText(c));
    Line(p, txt::kEditModulation, ModeText(c.AM_FM));
    Line(p, txt::kEditTransmitPower, Entry(PowerEntries(p, c.AM_FM), c.Tx_Power));
    Line(p, txt::kEditRogerBeep, RogerBeepText(p, c.RBTone));
    Line(p, txt::kEditReceiveCTCSSDCS, ToneText(c.RDCT));
    Line(p, txt::kTransmitCTCSSDCS_32625, ToneText(c.TDCT));
}

void ShowKeys(Program& p, const SettingsRecord& s) {
    std::printf("\n[%s]\n", LangText(p, txt::kProgrammableKeys).c_str());
    Line(p, txt::kPagesUse, KeyPagesText(s.KeyTable[0]));
    for (int k = 0; k < kKeyTableSize - 1; ++k) {
        const std::string name = KeyFunctionText(s.KeyTable[static_cast<size_t>(k + 1)]);
        std::printf("%s %d P%d: %s\n", LangText(p, txt::kKeyPage).c_str(), k / 6 + 1, k % 6 + 1,
                    name.c_str());
    }
}

} // namespace

void PrintRadioInfo(Program& p, const RadioInfoRecord& r) {
    // The labels of the radio-information window, in its order.
    Line(p, txt::kInfoModel, ModelDisplayName(r.ModelCode));
    Line(p, txt::kInfoType, TypeName(r.ModelType));
    Line(p, txt::kInfoBand, BandTextForType(r.ModelType));
    Line(p, txt::kSoftwareVersion, r.SoftVersion);
    Line(p, txt::kSerialNumber, r.TextC);
    Line(p, txt::kDealer, r.Head16[0].Trimmed());
    Line(p, txt::kProductionDate, r.Head16[1].Trimmed());
    Line(p, txt::kProgrammingDate, r.Head16[2].Trimmed());
    Line(p, txt::kHardware, r.TextA.Trimmed());
    Line(p, txt::kBatch, r.TextB.Trimmed());
    Line(p, txt::kFactoryText1, r.Tail16[0].Trimmed());
    Line(p, txt::kFactoryText2, r.Tail16[1].Trimmed());
    Line(p, txt::kFactoryText3, r.Tail16[2].Trimmed());
    Line(p, txt::kFactoryText4, r.Tail16[3].Trimmed());
    Line(p, txt::kRemark, r.TextG.Trimmed());
}

int CliShow(Program& p, const CliArgs& args) {
    InstallCliPrompts(p, 0, nullptr);
    if (OpenCodeplug(p, args.words[0]) != OpenResult::Opened) return kExitFailed;
    if (args.Has("--json")) {
        std::fputs(WriteJson(DocumentJson(p)).c_str(), stdout);
        return kExitOk;
    }
    const SettingsRecord& s = p.Image.Settings;
    const FeatureBlock& f = s.Features;
    Line(p, txt::kModel_32610, ModelDisplayName(p.Model.ModelCode));
    Line(p, txt::kModelType_32611, TypeName(p.Model.ModelType));
    Line(p, txt::kBand_32612, p.Model.BandText);
    Line(p, txt::kFormatVersion, VersionDisplay(s.Version.FormatVersion.Trimmed()));
    Line(p, txt::kChannels, std::to_string(p.Image.UsedCount()));
    const int current = GroupOfSlot(GroupBase(f.CurrentGroup, p.Model.ModelType) + 1, p.Model.ModelType);
    Line(p, txt::kCurrentGroup,
         current == f.CurrentGroup ? GroupName(f.CurrentGroup, p.Model.ModelType)
                                   : "?" + std::to_string(f.CurrentGroup));

    std::printf("\n[%s]\n", LangText(p, txt::kOptionalFeatures).c_str());
    for (int i = 0; i < kOptionListCount; ++i)
        Line(p, kOptionCaptions[i], OptionValueText(p, i, OptionValue(f, i)));
    Line(p, txt::kSWRLimit, f.Options[kOptSwrInUse] ? SwrText(f.Options[kOptSwrLimit]) : "Off");
    ShowDefaultChannel(p, s.CommonChannel);
    ShowKeys(p, s);

    std::printf("\n");
    Line(p, txt::kDTMFRate, std::to_string(s.Dtmf.DtmfRate));
    for (size_t i = 0; i < s.Dtmf.Codes.size(); ++i) {
        const DtmfCodeEntry& d = s.Dtmf.Codes[i];
        if (d.Length <= 0 || d.Length > 16) continue;
        std::printf("%s %zu: %s\n", LangText(p, txt::kDTMFCode_32619).c_str(), i + 1,
                    std::string(d.Code.Raw().substr(0, static_cast<size_t>(d.Length))).c_str());
    }
    std::printf("\n%5s  %-5s %4s  %-15s %-10s %-4s %-7s %-4s %-17s %-17s %s\n",
                LangText(p, txt::kSlot).c_str(), LangText(p, txt::kGroup_32622).c_str(),
                LangText(p, txt::kNo).c_str(), LangText(p, txt::kFrequencyMHz).c_str(),
                LangText(p, txt::kTableDuplex).c_str(), LangText(p, txt::kMode).c_str(),
                LangText(p, txt::kPower).c_str(), LangText(p, txt::kTableScan).c_str(),
                LangText(p, txt::kEditReceiveCTCSSDCS).c_str(),
                LangText(p, txt::kTransmitCTCSSDCS_32625).c_str(), LangText(p, txt::kEditRogerBeep).c_str());
    for (int i = 0; i < p.Image.UsedCount(); ++i)
        ShowChannel(p, p.Image.Channels[static_cast<size_t>(i)]);
    return kExitOk;
}

int CliNew(Program& p, const CliArgs& args) {
    InstallCliPrompts(p, 0, nullptr);
    const std::string type = args.Get("--type");
    const int t = BandOfName(type);
    if (t < 0) {
        std::fprintf(stderr, "--type: '%s' is not CB, HF or HAM\n", type.c_str());
        return kExitUsage;
    }
    SetModelType(p, t);
    p.RadioInfo.ModelType = static_cast<int16_t>(t);
    NewDocument(p);
    p.Image.Settings.Version.ModelType = static_cast<int16_t>(t);
    return SaveCodeplug(p, args.Get("--out")) ? kExitOk : kExitFailed;
}

} // namespace tarvane
