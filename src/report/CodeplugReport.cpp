#include "report/CodeplugReport.h"

#include "features/dtmf/DtmfArea.h"
#include "features/options/OptionFields.h"
#include "features/tonetips/ToneTipReferences.h"
#include "freq/Bands.h"
#include "freq/ChannelCodec.h"
#include "freq/ChannelEdit.h"
#include "freq/ChannelSlots.h"
#include "freq/FreqCodec.h"
#include "image/ImageOps.h"
#include "image/ModelVersion.h"
#include "state/History.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"

namespace tarvane {

namespace {

using Row = std::vector<std::string>;

const Row kModeTexts{"FM", "AM"};
// The key window's function list (codes 1..20) and its page choices.
const Row kKeyFunctions{"MOD", "RFG", "EMG", "VOL", "SQL", "POW", "DSP", "SCA", "MEM", "BND",
                        "DW",  "CAL", "NB",  "RB",  "HIC", "TSQ", "SPL", "5K",  "DIM", "NULL"};
const Row kKeyPages{"1&2", "1&3", "2&3", "1&2&3"};

// The words of the windows' lists, in the current language.
Row OffOn(Program& p) {
    return {LangText(p, txt::kOff), LangText(p, txt::kOn)};
}
Row DupTexts(Program& p) {
    return {LangText(p, txt::kOff), "+", "-"};
}
Row ScanTexts(Program& p) {
    return {LangText(p, txt::kDel), LangText(p, txt::kAdd)};
}

// The entry at a stored index, or the number itself when no entry has it.
std::string EntryAt(const Row& entries, int index) {
    return index >= 0 && index < static_cast<int>(entries.size()) ? entries[static_cast<size_t>(index)]
                                                                  : std::to_string(index);
}

// A tone code by its name; no tone is a word of the language, as the windows show it.
std::string ToneText(Program& p, int code) {
    return code == 0 ? LangText(p, txt::kOff) : EntryAt(ToneNames(), code);
}

std::string PowerText(Program& p, int amFm, int power) {
    return EntryAt(PowerEntries(p, amFm), power);
}

// A DTMF code reference: its number, or "None" for 0.
std::string CodeRef(Program& p, int code) {
    return code >= 1 ? std::to_string(code) : LangText(p, txt::kTableNone);
}

// The flags of a channel that are switched on, by the names of the edit dialog.
std::string ChannelFlags(Program& p, const ChannelRecord& r) {
    std::string out;
    auto add = [&out](const std::string& text) { out += (out.empty() ? "" : ", ") + text; };
    if (r.Public >= 1) add(LangText(p, txt::kEditCommonData));
    if (r.TSQ >= 1) add(LangText(p, txt::kEditToneSquelch));
    if (r.HI_CUT >= 1) add(LangText(p, txt::kEditHighCut));
    if (r.BUSY >= 1) add(LangText(p, txt::kEditBusyLockOut));
    if (r.NB >= 1) add(LangText(p, txt::kEditNoiseBlanker));
    if (r.Add_Sub_5K >= 1) add(LangText(p, txt::kEditN5KHz));
    if (r.RBTone >= 1 && r.RBTone <= 8)
        add(LangText(p, txt::kEditRogerBeep) + " " + std::to_string(r.RBTone));
    if (r.DTMF_BOT >= 1) add(LangText(p, txt::kEditDTMFStart) + " " + CodeRef(p, r.DTMF_BOT));
    if (r.DTMF_EOT >= 1) add(LangText(p, txt::kEditDTMFEnd) + " " + CodeRef(p, r.DTMF_EOT));
    if (r.DTMF_Call >= 1) add(LangText(p, txt::kEditDTMFCall) + " " + CodeRef(p, r.DTMF_Call));
    return out;
}

Row ChannelColumns(Program& p) {
    return {LangText(p, txt::kNo),
            LangText(p, txt::kFrequencyMHz),
            LangText(p, txt::kTableDuplex),
            LangText(p, txt::kTableOffsetKHz),
            LangText(p, txt::kEditReceiveCTCSSDCS),
            LangText(p, txt::kEditTransmitCTCSSDCS),
            LangText(p, txt::kEditModulation),
            LangText(p, txt::kEditTransmitPower),
            LangText(p, txt::kTableScan),
            LangText(p, txt::kOtherSettings)};
}

// As the channel table shows it (the UK plan with its "125"); a damaged text shows nothing.
std::string FreqText(Program& p, const ChannelRecord& r, int group) {
    if (FreqToDisplaySilent(r.RxFreq.Raw()).empty()) return {};
    return FreqToGroupDisplay(p, r.RxFreq.Raw(), group, p.Model.ModelType);
}

Row ChannelCells(Program& p, const std::string& number, const ChannelRecord& r, int group) {
    return {number,
            FreqText(p, r, group),
            EntryAt(DupTexts(p), r.DUP),
            std::to_string(r.OffSetFre),
            ToneText(p, r.RDCT),
            ToneText(p, r.TDCT),
            EntryAt(kModeTexts, r.AM_FM),
            PowerText(p, r.AM_FM, r.Tx_Power),
            EntryAt(ScanTexts(p), r.Scan),
            ChannelFlags(p, r)};
}

void AddGroups(Program& p, Report& report) {
    const int band = p.Model.ModelType;
    const FeatureBlock& f = p.Image.Settings.Features;
    bool firstGroup = true;
    for (int g = 0; g <= 12; ++g) {
        const std::string name = GroupName(g, band);
        if (name.empty()) continue;
        ReportSection s;
        s.Title = FillIn(LangText(p, txt::kChannelsGroup), {name});
        // The first group follows the summary on page 1; every further one has a page of its own.
        s.NewPage = !firstGroup;
        s.Table.Columns = ChannelColumns(p);
        const int base = GroupBase(g, band), size = GroupSize(g, band);
        for (int n = 1; n <= size; ++n)
            if (int i = FindChannelSlot(p.Image, base + n); i >= 0)
                s.Table.Rows.push_back(
                    ChannelCells(p, std::to_string(n), p.Image.Channels[static_cast<size_t>(i)], g));
        if (s.Table.Rows.empty()) continue; // an empty group takes no page
        firstGroup = false;
        if (g <= HighestPlanGroup(band)) {
            const auto gi = static_cast<size_t>(g);
            auto sel = [&p](int selection) {
                return selection >= 0 ? std::to_string(selection + 1) : LangText(p, txt::kTableNone);
            };
            s.Lines.push_back(
                LangText(p, txt::kGroupSwitched) + ": " + EntryAt(OffOn(p), f.GroupEnabled[gi]) + "    " +
                LangText(p, txt::kWorkingChannel) + ": " + sel(f.WorkChannel[gi]) + "    " +
                LangText(p, txt::kEmergencyChannel1) + ": " + sel(f.GroupEmgChannel1[gi]) + "    " +
                LangText(p, txt::kEmergencyChannel2) + ": " + sel(f.GroupEmgChannel2[gi]));
        }
        report.Sections.push_back(std::move(s));
    }
}

void AddOptions(Program& p, Report& report) {
    const bool cb = p.Model.ModelType == kBandCB;
    const FeatureBlock& f = p.Image.Settings.Features;
    ReportSection s;
    s.Title = LangText(p, txt::kOptOptionalFeatures);
    s.NewPage = true;
    s.Table.Columns = {LangText(p, txt::kSetting), LangText(p, txt::kValue)};
    auto add = [&s](const std::string& name, const std::string& value) {
        s.Table.Rows.push_back({name, value});
    };
    for (int i = 0; i < kOptionListCount; ++i) {
        const int v = OptionValue(f, i);
        std::string value = OptionShowsNumber(i) ? std::to_string(v) : EntryAt(OptionEntries(p, i), v);
        if (cb && i == kOptActiveGroupList) {
            // The CB window shows the country lists instead of the group list.
            const auto [first, second] = CountryTexts(v);
            value = second.empty() ? first : first + " / " + second;
        }
        add(LangText(p, kOptionCaptions[i]), value);
    }
    report.Sections.push_back(std::move(s));
    // The common channel data as the window's second frame shows it.
    s = ReportSection{};
    s.Title = LangText(p, txt::kCommonChannelData);
    s.Table.Columns = {LangText(p, txt::kSetting), LangText(p, txt::kValue)};
    const ChannelRecord& c = p.Image.Settings.CommonChannel;
    if (!cb) add(LangText(p, txt::kEditDuplex), EntryAt(DupTexts(p), c.DUP));
    add(LangText(p, txt::kEditToneSquelch), ToneText(p, c.RDCT));
    add(LangText(p, txt::kEditHighCut), EntryAt(OffOn(p), c.HI_CUT));
    add(LangText(p, txt::kEditBusyLockOut), EntryAt(OffOn(p), c.BUSY));
    add(LangText(p, txt::kEditNoiseBlanker), EntryAt(OffOn(p), c.NB));
    add(LangText(p, txt::kEditModulation), EntryAt(kModeTexts, c.AM_FM));
    if (!cb) add(LangText(p, txt::kEditTransmitPower), PowerText(p, c.AM_FM, c.Tx_Power));
    add(LangText(p, txt::kEditRogerBeep), RogerBeepText(p, c.RBTone));
    add(LangText(p, txt::kEditDTMFStart), CodeRef(p, c.DTMF_BOT));
    add(LangText(p, txt::kEditDTMFEnd), CodeRef(p, c.DTMF_EOT));
    add(LangText(p, txt::kEditDTMFCall), CodeRef(p, c.DTMF_Call));
    if (!cb) add(LangText(p, txt::kEditOffsetKHz), std::to_string(c.OffSetFre));
    add(LangText(p, txt::kSWRLimit),
        f.Options[kOptSwrInUse] == 1 ? SwrText(f.Options[kOptSwrLimit]) : LangText(p, txt::kOptOff));
    report.Sections.push_back(std::move(s));
}

void AddDtmf(Program& p, Report& report) {
    const DtmfBlock& d = p.Image.Settings.Dtmf;
    ReportSection s;
    s.Title = LangText(p, txt::kDtmfDTMF);
    s.NewPage = true;
    s.Lines = {LangText(p, txt::kDigitTimeMs) + ": " + std::to_string(d.DtmfRate * 10),
               LangText(p, txt::kFirstDigitTimeMs) + ": " + std::to_string(d.FirstDigitTime * 100),
               LangText(p, txt::kFirstDigitDelayMs) + ": " + std::to_string(d.FirstDigitDelay * 100),
               LangText(p, txt::kTimeMs) + ": " + std::to_string(d.StarHashTime * 100),
               LangText(p, txt::kDKey) + ": " +
                   (d.DKeySetting >= 1 ? std::to_string(d.DKeySetting) + "s" : LangText(p, txt::kDtmfOff)),
               LangText(p, txt::kShowDTMFCodesDisplay) + ": " + EntryAt(OffOn(p), d.DtmfDisplay)};
    s.Table.Columns = {LangText(p, txt::kNo), LangText(p, txt::kDTMFCode_33309)};
    for (size_t n = 0; n < d.Codes.size(); ++n) {
        const DtmfCodeEntry& e = d.Codes[n];
        if (!DtmfCodeDefined(e)) continue;
        std::string code(e.Code.Raw().substr(0, static_cast<size_t>(e.Length)));
        code = code.substr(0, code.find('\0'));
        s.Table.Rows.push_back({std::to_string(n + 1), code});
    }
    if (s.Table.Rows.empty()) {
        s.Lines.push_back(LangText(p, txt::kDTMFCode_33309) + ": " + LangText(p, txt::kTableNone));
        s.Table.Columns.clear();
    }
    report.Sections.push_back(std::move(s));
}

void AddKeys(Program& p, Report& report) {
    const auto& keys = p.Image.Settings.KeyTable;
    ReportSection s;
    s.Title = LangText(p, txt::kKeyProgrammableKeys);
    s.Lines = {LangText(p, txt::kPagesUse) + ": " + EntryAt(kKeyPages, keys[0])};
    s.Table.Columns = {LangText(p, txt::kKeyPage), "P1", "P2", "P3", "P4", "P5", "P6"};
    for (int page = 0; page < 3; ++page) {
        Row row{std::to_string(page + 1)};
        for (int k = 0; k < 6; ++k)
            row.push_back(EntryAt(kKeyFunctions, keys[static_cast<size_t>(page * 6 + k + 1)] - 1));
        s.Table.Rows.push_back(row);
    }
    report.Sections.push_back(std::move(s));
}

void AddToneTips(Program& p, Report& report) {
    const SettingsRecord& st = p.Image.Settings;
    ReportSection s;
    s.Title = LangText(p, txt::kTipToneTips);
    s.Table.Columns = {LangText(p, txt::kTip), LangText(p, txt::kLoops), LangText(p, txt::kPauseMs),
                       LangText(p, txt::kFrequencyHz) + " / " + LangText(p, txt::kDurationMs)};
    for (int n = 1; n <= 8; ++n) {
        if (!ToneTipInUse(st, n)) continue;
        const ToneTipRecord& tip = st.ToneTips[static_cast<size_t>(n - 1)];
        std::string tones;
        for (const TonePair& t : tip.Pairs) {
            if (t.Duration <= 0) continue;
            const std::string freq = t.Tone <= 0 ? LangText(p, txt::kRest) : std::to_string(t.Tone * 10);
            tones += (tones.empty() ? "" : ", ") + freq + "/" + std::to_string(t.Duration * 10);
        }
        s.Table.Rows.push_back(
            {std::to_string(n), std::to_string(tip.LoopCount), std::to_string(tip.LoopInterval * 10), tones});
    }
    if (s.Table.Rows.empty()) {
        s.Lines.push_back(LangText(p, txt::kTableNone));
        s.Table.Columns.clear();
    }
    report.Sections.push_back(std::move(s));
}

void AddEmergency(Program& p, Report& report) {
    const int band = p.Model.ModelType;
    ReportSection s;
    s.Title = LangText(p, txt::kEmergencyChannels);
    s.Table.Columns = ChannelColumns(p);
    s.Table.Columns.insert(s.Table.Columns.begin(), LangText(p, txt::kEditGroup));
    s.Table.Columns[1] = LangText(p, txt::kEditChannel_15001);
    for (const EmergencyRecord& e : p.Image.Settings.Emergency) {
        if (e.EmgChannel < 1) {
            s.Table.Rows.push_back({GroupName(e.EmgGroup, band), LangText(p, txt::kTableNone), "", "", "", "",
                                    "", "", "", "", ""});
            continue;
        }
        Row row = ChannelCells(p, std::to_string(e.EmgChannel), e.Channel, e.EmgGroup);
        row.insert(row.begin(), GroupName(e.EmgGroup, band));
        s.Table.Rows.push_back(std::move(row));
    }
    report.Sections.push_back(std::move(s));
}

} // namespace

Report BuildCodeplugReport(Program& p, const std::string& fileName, const std::string& date) {
    Report report;
    const std::string model = LangText(p, txt::kModel_33300) + ": " + p.Model.ModelCode;
    const std::string band =
        LangText(p, txt::kBand_33301) + ": " + TypeName(p.Model.ModelType) + " " + p.Model.BandText;
    const std::string file = LangText(p, txt::kFile) + ": " + fileName;
    const std::string printed = LangText(p, txt::kPrinted) + ": " + date;
    report.Title = LangText(p, txt::kMainTarvaneCPS);
    report.HeaderDetail = p.Model.ModelCode + "  " + TypeName(p.Model.ModelType) + "  " + fileName;
    report.Footer = printed;
    ReportSection summary;
    summary.Title = LangText(p, txt::kDocument);
    summary.Lines = {model, band, file, printed,
                     LangText(p, txt::kMainChannels) + ": " + std::to_string(p.Image.UsedCount())};
    report.Sections.push_back(std::move(summary));
    AddGroups(p, report);
    AddOptions(p, report);
    AddDtmf(p, report);
    AddKeys(p, report);
    AddToneTips(p, report);
    AddEmergency(p, report);
    for (ReportSection& s : report.Sections)
        if (!s.Table.Columns.empty())
            s.ContinuedTitle = FillIn(LangText(p, txt::kSectionContinued), {s.Title});
    return report;
}

} // namespace tarvane
