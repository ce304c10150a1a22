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

namespace tarvane {

namespace {

using Row = std::vector<std::string>;

const Row kOffOn{"Off", "On"};
const Row kDupTexts{"Off", "+", "-"};
const Row kScanTexts{"Del", "Add"};
const Row kModeTexts{"FM", "AM"};
// The key window's function list (codes 1..20) and its page choices.
const Row kKeyFunctions{"MOD", "RFG", "EMG", "VOL", "SQL", "POW", "DSP", "SCA", "MEM", "BND",
                        "DW",  "CAL", "NB",  "RB",  "HIC", "TSQ", "SPL", "5K",  "DIM", "NULL"};
const Row kKeyPages{"1&2", "1&3", "2&3", "1&2&3"};

constexpr TextId kOptionCaptions[kOptionListCount] = {
    16001_txt, 16002_txt, 16003_txt, 16004_txt, 16005_txt, 16006_txt, 16007_txt, 16008_txt,
    16009_txt, 16010_txt, 16011_txt, 16012_txt, 16013_txt, 16014_txt, 16015_txt, 16016_txt,
    16017_txt, 16018_txt, 16019_txt, 16020_txt, 16021_txt, 16022_txt, 16023_txt};

// The entry at a stored index, or the number itself when no entry has it.
std::string EntryAt(const Row& entries, int index) {
    return index >= 0 && index < static_cast<int>(entries.size()) ? entries[static_cast<size_t>(index)]
                                                                  : std::to_string(index);
}

std::string PowerText(Program& p, int amFm, int power) {
    return EntryAt(PowerEntries(p, amFm), power);
}

// A DTMF code reference: its number, or "None" for 0.
std::string CodeRef(Program& p, int code) {
    return code >= 1 ? std::to_string(code) : LangText(p, 14013_txt);
}

// The flags of a channel that are switched on, by the names of the edit dialog.
std::string ChannelFlags(Program& p, const ChannelRecord& r) {
    std::string out;
    auto add = [&out](const std::string& text) { out += (out.empty() ? "" : ", ") + text; };
    if (r.Public >= 1) add(LangText(p, 15005_txt));
    if (r.TSQ >= 1) add(LangText(p, 15007_txt));
    if (r.HI_CUT >= 1) add(LangText(p, 15009_txt));
    if (r.BUSY >= 1) add(LangText(p, 15010_txt));
    if (r.NB >= 1) add(LangText(p, 15011_txt));
    if (r.Add_Sub_5K >= 1) add(LangText(p, 15012_txt));
    if (r.RBTone >= 1 && r.RBTone <= 8) add(LangText(p, 15015_txt) + " " + std::to_string(r.RBTone));
    if (r.DTMF_BOT >= 1) add(LangText(p, 15016_txt) + " " + CodeRef(p, r.DTMF_BOT));
    if (r.DTMF_EOT >= 1) add(LangText(p, 15017_txt) + " " + CodeRef(p, r.DTMF_EOT));
    if (r.DTMF_Call >= 1) add(LangText(p, 15018_txt) + " " + CodeRef(p, r.DTMF_Call));
    return out;
}

Row ChannelColumns(Program& p) {
    return {LangText(p, 14001_txt), LangText(p, 14002_txt), LangText(p, 14004_txt), LangText(p, 14005_txt),
            LangText(p, 15019_txt), LangText(p, 15020_txt), LangText(p, 15013_txt), LangText(p, 15014_txt),
            LangText(p, 14008_txt), LangText(p, 33306_txt)};
}

// As the channel table shows it (the UK plan with its "125"); a damaged text shows nothing.
std::string FreqText(Program& p, const ChannelRecord& r, int group) {
    if (FreqToDisplaySilent(r.RxFreq.Raw()).empty()) return {};
    return FreqToGroupDisplay(p, r.RxFreq.Raw(), group, p.Model.ModelType);
}

Row ChannelCells(Program& p, const std::string& number, const ChannelRecord& r, int group) {
    const Row& tones = ToneNames();
    return {number,
            FreqText(p, r, group),
            EntryAt(kDupTexts, r.DUP),
            std::to_string(r.OffSetFre),
            EntryAt(tones, r.RDCT),
            EntryAt(tones, r.TDCT),
            EntryAt(kModeTexts, r.AM_FM),
            PowerText(p, r.AM_FM, r.Tx_Power),
            EntryAt(kScanTexts, r.Scan),
            ChannelFlags(p, r)};
}

void AddGroups(Program& p, Report& report) {
    const int band = p.Model.ModelType;
    const FeatureBlock& f = p.Image.Settings.Features;
    for (int g = 0; g <= 12; ++g) {
        const std::string name = GroupName(g, band);
        if (name.empty()) continue;
        ReportSection s;
        s.Title = FillIn(LangText(p, 33305_txt), {name});
        s.NewPage = true;
        s.Table.Columns = ChannelColumns(p);
        const int base = GroupBase(g, band), size = GroupSize(g, band);
        for (int n = 1; n <= size; ++n)
            if (int i = FindChannelSlot(p.Image, base + n); i >= 0)
                s.Table.Rows.push_back(
                    ChannelCells(p, std::to_string(n), p.Image.Channels[static_cast<size_t>(i)], g));
        if (s.Table.Rows.empty()) continue; // an empty group takes no page
        if (g <= HighestPlanGroup(band)) {
            const auto gi = static_cast<size_t>(g);
            auto sel = [&p](int selection) {
                return selection >= 0 ? std::to_string(selection + 1) : LangText(p, 14013_txt);
            };
            s.Lines.push_back(LangText(p, 14023_txt) + ": " + EntryAt(kOffOn, f.GroupEnabled[gi]) + "    " +
                              LangText(p, 14020_txt) + ": " + sel(f.WorkChannel[gi]) + "    " +
                              LangText(p, 14021_txt) + ": " + sel(f.GroupEmgChannel1[gi]) + "    " +
                              LangText(p, 14022_txt) + ": " + sel(f.GroupEmgChannel2[gi]));
        }
        report.Sections.push_back(std::move(s));
    }
}

void AddOptions(Program& p, Report& report) {
    const bool cb = p.Model.ModelType == kBandCB;
    const FeatureBlock& f = p.Image.Settings.Features;
    ReportSection s;
    s.Title = LangText(p, 16000_txt);
    s.NewPage = true;
    s.Table.Columns = {LangText(p, 33307_txt), LangText(p, 33308_txt)};
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
    s.Title = LangText(p, 16101_txt);
    s.Table.Columns = {LangText(p, 33307_txt), LangText(p, 33308_txt)};
    const ChannelRecord& c = p.Image.Settings.CommonChannel;
    if (!cb) add(LangText(p, 15006_txt), EntryAt(kDupTexts, c.DUP));
    add(LangText(p, 15007_txt), EntryAt(ToneNames(), c.RDCT));
    add(LangText(p, 15009_txt), EntryAt(kOffOn, c.HI_CUT));
    add(LangText(p, 15010_txt), EntryAt(kOffOn, c.BUSY));
    add(LangText(p, 15011_txt), EntryAt(kOffOn, c.NB));
    add(LangText(p, 15013_txt), EntryAt(kModeTexts, c.AM_FM));
    if (!cb) add(LangText(p, 15014_txt), PowerText(p, c.AM_FM, c.Tx_Power));
    add(LangText(p, 15015_txt), RogerBeepText(p, c.RBTone));
    add(LangText(p, 15016_txt), CodeRef(p, c.DTMF_BOT));
    add(LangText(p, 15017_txt), CodeRef(p, c.DTMF_EOT));
    add(LangText(p, 15018_txt), CodeRef(p, c.DTMF_Call));
    if (!cb) add(LangText(p, 15100_txt), std::to_string(c.OffSetFre));
    add(LangText(p, 15600_txt),
        f.Options[kOptSwrInUse] == 1 ? SwrText(f.Options[kOptSwrLimit]) : LangText(p, 16040_txt));
    report.Sections.push_back(std::move(s));
}

void AddDtmf(Program& p, Report& report) {
    const DtmfBlock& d = p.Image.Settings.Dtmf;
    ReportSection s;
    s.Title = LangText(p, 18000_txt);
    s.NewPage = true;
    s.Lines = {LangText(p, 18005_txt) + ": " + std::to_string(d.DtmfRate * 10),
               LangText(p, 18006_txt) + ": " + std::to_string(d.FirstDigitTime * 100),
               LangText(p, 18007_txt) + ": " + std::to_string(d.FirstDigitDelay * 100),
               LangText(p, 18008_txt) + ": " + std::to_string(d.StarHashTime * 100),
               LangText(p, 18009_txt) + ": " +
                   (d.DKeySetting >= 1 ? std::to_string(d.DKeySetting) + "s" : LangText(p, 18040_txt)),
               LangText(p, 18030_txt) + ": " + EntryAt(kOffOn, d.DtmfDisplay)};
    s.Table.Columns = {LangText(p, 14001_txt), LangText(p, 33309_txt)};
    for (size_t n = 0; n < d.Codes.size(); ++n) {
        const DtmfCodeEntry& e = d.Codes[n];
        if (!DtmfCodeDefined(e)) continue;
        std::string code(e.Code.Raw().substr(0, static_cast<size_t>(e.Length)));
        code = code.substr(0, code.find('\0'));
        s.Table.Rows.push_back({std::to_string(n + 1), code});
    }
    if (s.Table.Rows.empty()) {
        s.Lines.push_back(LangText(p, 33309_txt) + ": " + LangText(p, 14013_txt));
        s.Table.Columns.clear();
    }
    report.Sections.push_back(std::move(s));
}

void AddKeys(Program& p, Report& report) {
    const auto& keys = p.Image.Settings.KeyTable;
    ReportSection s;
    s.Title = LangText(p, 25000_txt);
    s.Lines = {LangText(p, 25007_txt) + ": " + EntryAt(kKeyPages, keys[0])};
    s.Table.Columns = {LangText(p, 25008_txt), "P1", "P2", "P3", "P4", "P5", "P6"};
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
    s.Title = LangText(p, 29000_txt);
    s.Table.Columns = {LangText(p, 29001_txt), LangText(p, 29002_txt), LangText(p, 29003_txt),
                       LangText(p, 29004_txt) + " / " + LangText(p, 29005_txt)};
    for (int n = 1; n <= 8; ++n) {
        if (!ToneTipInUse(st, n)) continue;
        const ToneTipRecord& tip = st.ToneTips[static_cast<size_t>(n - 1)];
        std::string tones;
        for (const TonePair& t : tip.Pairs) {
            if (t.Duration <= 0) continue;
            const std::string freq = t.Tone <= 0 ? LangText(p, 29201_txt) : std::to_string(t.Tone * 10);
            tones += (tones.empty() ? "" : ", ") + freq + "/" + std::to_string(t.Duration * 10);
        }
        s.Table.Rows.push_back(
            {std::to_string(n), std::to_string(tip.LoopCount), std::to_string(tip.LoopInterval * 10), tones});
    }
    if (s.Table.Rows.empty()) {
        s.Lines.push_back(LangText(p, 14013_txt));
        s.Table.Columns.clear();
    }
    report.Sections.push_back(std::move(s));
}

void AddEmergency(Program& p, Report& report) {
    const int band = p.Model.ModelType;
    ReportSection s;
    s.Title = LangText(p, 20000_txt);
    s.Table.Columns = ChannelColumns(p);
    s.Table.Columns.insert(s.Table.Columns.begin(), LangText(p, 15029_txt));
    s.Table.Columns[1] = LangText(p, 15001_txt);
    for (const EmergencyRecord& e : p.Image.Settings.Emergency) {
        if (e.EmgChannel < 1) {
            s.Table.Rows.push_back(
                {GroupName(e.EmgGroup, band), LangText(p, 14013_txt), "", "", "", "", "", "", "", "", ""});
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
    const std::string model = LangText(p, 33300_txt) + ": " + p.Model.ModelCode;
    const std::string band =
        LangText(p, 33301_txt) + ": " + TypeName(p.Model.ModelType) + " " + p.Model.BandText;
    const std::string file = LangText(p, 33302_txt) + ": " + fileName;
    const std::string printed = LangText(p, 33303_txt) + ": " + date;
    report.Title = LangText(p, 12000_txt);
    report.HeaderDetail = p.Model.ModelCode + "  " + TypeName(p.Model.ModelType) + "  " + fileName;
    report.Footer = printed;
    ReportSection summary;
    summary.Title = LangText(p, 33304_txt);
    summary.Lines = {model, band, file, printed,
                     LangText(p, 12001_txt) + ": " + std::to_string(p.Image.UsedCount())};
    report.Sections.push_back(std::move(summary));
    AddGroups(p, report);
    AddOptions(p, report);
    AddDtmf(p, report);
    AddKeys(p, report);
    AddToneTips(p, report);
    AddEmergency(p, report);
    return report;
}

} // namespace tarvane
