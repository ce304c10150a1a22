#include "exchange/ChannelImport.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "base/FieldHelpers.h"
#include "base/NumberText.h"
#include "base/SafeFile.h"
#include "channels/ChannelRules.h"
#include "exchange/ChannelColumns.h"
#include "exchange/CsvFile.h"
#include "features/dtmf/DtmfArea.h"
#include "features/tonetips/ToneTipReferences.h"
#include "freq/Bands.h"
#include "freq/ChannelCodec.h"
#include "freq/ChannelEdit.h"
#include "freq/ChannelSlots.h"
#include "freq/FreqCodec.h"
#include "image/ImageOps.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"

namespace tarvane {
namespace {

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// "27.60125" from 10 Hz units: the text the channel table would be given.
std::string UnitsText(int64_t units) {
    std::string fraction = std::to_string(units % 100000);
    return std::to_string(units / 100000) + "." + std::string(5 - fraction.size(), '0') + fraction;
}

// 10 Hz units of the frequency a record shows in its group; -1 for none.
int64_t ShownUnits(Program& p, std::string_view raw, int group) {
    std::string shown = FreqToGroupDisplay(p, raw, group, p.Model.ModelType);
    if (shown.empty()) return -1;
    auto v = ParseDouble(shown);
    return v ? static_cast<int64_t>(RoundHalfEven(*v * 100000)) : -1;
}

bool LooksLikeFormula(const std::string& cell) {
    const std::string t = Trim(cell);
    if (t.empty()) return false;
    if (t[0] == '=' || t[0] == '@') return true;
    // Signed numbers and the cross modes "->Tone" and "->DTCS" are values, not formulas.
    return (t[0] == '+' || t[0] == '-') && t.size() > 1 && !IsNumeric(t) && !t.starts_with("->");
}

struct RowPlan {
    ChannelValues v;
    int Group = -1, Channel = 0;
    int Rx = -1, Tx = -1; // tone codes to set; -1 leaves them
    int AmFm = -1, Dup = -1, Scan = -1;
};

class Importer {
  public:
    Importer(const Program& p, const ImportOptions& o) : s_(p), options_(o) {
        s_.Prompts.message = [](const std::string&, MsgIcon, MsgButtons b, const std::string&) {
            return DefaultAnswer(b);
        };
        band_ = s_.Model.ModelType;
        fillGroup_ = options_.Group >= 0 ? options_.Group : DisplayedGroup(s_);
        next_ = options_.First;
    }

    ImportResult Run(std::string_view text) {
        ImportResult result;
        const CsvTable table = ReadCsv(text);
        if (!table.Ok()) {
            result.FileError = CsvErrorText(table);
            return result;
        }
        if (table.Records.empty() || !MapHeader(table.Records[0].Fields)) {
            result.FileError = T(txt::kFirstLineNamesNo);
            return result;
        }
        for (size_t i = 1; i < table.Records.size(); ++i) {
            const CsvRecord& rec = table.Records[i];
            if (std::all_of(rec.Fields.begin(), rec.Fields.end(), [](auto& f) { return Trim(f).empty(); }))
                continue; // spreadsheets leave empty rows behind
            result.Rows.push_back(Row(rec));
        }
        if (result.Rows.empty()) result.FileError = T(txt::kFileHoldsNoChannels);
        result.Image = s_.Image;
        return result;
    }

    Program& Scratch() { return s_; }

  private:
    std::string T(TextId id, const std::vector<std::string>& args = {}) {
        return FillIn(LangText(s_, id), args);
    }

    std::string CsvErrorText(const CsvTable& t) {
        if (t.Error == CsvError::TooLarge)
            return T(txt::kFileLargerThanMB, {std::to_string(kCsvMaxBytes >> 20)});
        TextId why = txt::kHoldsBinaryData;
        switch (t.Error) {
        case CsvError::NotUtf8:
            why = txt::kNotUTF8Text;
            break;
        case CsvError::OpenQuote:
            why = txt::kQuotedFieldNeverClosed;
            break;
        case CsvError::AfterQuote:
            why = txt::kTextFollowsClosingQuote;
            break;
        case CsvError::TooManyFields:
            why = txt::kRowTooManyFields;
            break;
        case CsvError::FieldTooLong:
            why = txt::kFieldTooLong;
            break;
        default:
            break;
        }
        return T(txt::kFileNotChannelList, {std::to_string(t.ErrorLine), LangText(s_, why)});
    }

    bool MapHeader(const std::vector<std::string>& header) {
        headerSize_ = header.size();
        columnOf_.assign(header.size(), -1);
        std::vector<bool> seen(ChannelColumns().size(), false);
        for (size_t i = 0; i < header.size(); ++i) {
            std::string name = header[i];
            const int c = FindChannelColumn(name);
            if (c < 0 || seen[static_cast<size_t>(c)]) continue; // unknown or repeated: ignored
            seen[static_cast<size_t>(c)] = true;
            columnOf_[i] = c;
        }
        const auto has = [&](const char* n) { return seen[static_cast<size_t>(FindChannelColumn(n))]; };
        hasRTone_ = has("rToneFreq");
        hasCTone_ = has("cToneFreq");
        return has("Frequency");
    }

    ImportRow Row(const CsvRecord& rec) {
        ImportRow row;
        row.Line = rec.Line;
        auto refuse = [&row](std::string why) {
            row.Outcome = RowOutcome::Refused;
            row.Notes.push_back(std::move(why));
            return row;
        };
        const size_t n = rec.Fields.size();
        const bool extraEmpty = std::all_of(rec.Fields.begin() + static_cast<long>(std::min(n, headerSize_)),
                                            rec.Fields.end(), [](auto& f) { return Trim(f).empty(); });
        if (n < headerSize_ || !extraEmpty)
            return refuse(T(txt::kRowFieldsFirstLine, {std::to_string(n), std::to_string(headerSize_)}));
        for (const std::string& cell : rec.Fields)
            if (LooksLikeFormula(cell)) return refuse(T(txt::kCellLooksLikeSpreadsheet, {Trim(cell)}));

        RowPlan plan;
        for (size_t i = 0; i < headerSize_; ++i) {
            const int c = columnOf_[i];
            if (c < 0) continue;
            const ColumnDef& def = ChannelColumns()[static_cast<size_t>(c)];
            if (Trim(rec.Fields[i]).empty() && !def.EmptyIsValue) continue;
            if (!def.Read(rec.Fields[i], plan.v))
                return refuse(T(txt::kNotValueColumn, {Trim(rec.Fields[i]), def.Name}));
        }
        ChannelValues& v = plan.v;
        // A file with only one of the two tone columns means the same tone for both.
        if (hasRTone_ && !hasCTone_) v.CToneTenths = v.RToneTenths;
        if (hasCTone_ && !hasRTone_) v.RToneTenths = v.CToneTenths;

        // Where the row goes.
        const bool own = v.Group && v.GroupChannel;
        if (own) {
            plan.Group = GroupByName(*v.Group, band_);
            if (plan.Group < 0) return refuse(T(txt::kThereNoGroupRadio, {*v.Group}));
            plan.Channel = *v.GroupChannel;
        } else {
            plan.Group = fillGroup_;
            plan.Channel = next_;
        }
        row.Group = plan.Group;
        row.Channel = plan.Channel;
        if (plan.Channel < 1 || plan.Channel > GroupSize(plan.Group, band_))
            return refuse(
                T(txt::kGroupNoChannel, {GroupName(plan.Group, band_), std::to_string(plan.Channel)}));
        if (!v.FreqHz) return refuse(T(txt::kRowNoFrequency));
        const int slot = GroupBase(plan.Group, band_) + plan.Channel;
        if (auto first = filledBy_.find(slot); first != filledBy_.end())
            return refuse(T(txt::kLineAlreadyFillsChannel, {std::to_string(first->second)}));

        if (std::string why = Check(plan); !why.empty()) return refuse(why);
        if (!Apply(plan, row)) return row;
        filledBy_[slot] = row.Line;
        if (!own) ++next_;
        if (!row.Notes.empty()) row.Outcome = RowOutcome::Adjusted;
        return row;
    }

    static int64_t Hz(double mhz) { return std::llround(mhz * 1e6); }

    // The frequencies a channel of the group can hold, in hertz: what the channel
    // table takes without moving the value to a band edge.
    std::pair<int64_t, int64_t> RangeOf(int group) {
        if (band_ == kBandCB && group == kCbMemGroup) {
            // Memory channels take a country plan's frequency: the plans' span.
            if (!planSpan_) {
                planSpan_ = {Hz(s_.Model.LowerLimit), Hz(s_.Model.UpperLimit)};
                bool any = false;
                for (int i = 0; i < s_.Image.UsedCount(); ++i) {
                    const ChannelRecord& r = s_.Image.Channels[static_cast<size_t>(i)];
                    const int g = r.SlotNumber <= 360 ? GroupOfSlot(r.SlotNumber, band_) : -1;
                    const int64_t units = g < 0 ? -1 : ShownUnits(s_, r.RxFreq.Raw(), g);
                    if (units < 0) continue;
                    auto& [low, high] = *planSpan_;
                    low = any ? std::min(low, units * 10) : units * 10;
                    high = any ? std::max(high, units * 10) : units * 10;
                    any = true;
                }
            }
            return *planSpan_;
        }
        if (band_ == kBandCB && group == kCbMemGroup + 1) return {Hz(26.96), Hz(27.405)};
        // Memory and emergency channels of an HF or HAM radio may lie 5 kHz below the band.
        const double lowOffset = band_ != kBandCB && group > 10 ? 0.005 : 0.0;
        return {Hz(s_.Model.LowerLimit - lowOffset), Hz(s_.Model.UpperLimit)};
    }

    // Everything that refuses a row, before anything of it is applied.
    std::string Check(RowPlan& plan) {
        ChannelValues& v = plan.v;
        const int slot = GroupBase(plan.Group, band_) + plan.Channel;
        if (band_ != kBandCB || plan.Group > HighestPlanGroup(band_)) {
            // Outside the band the row is refused: moved to the edge it would be another channel.
            const auto [low, high] = RangeOf(plan.Group);
            if (*v.FreqHz < low || *v.FreqHz > high)
                return T(txt::kFrequencyOutsideChannelRange,
                         {MHzText(*v.FreqHz), MHzText(low), MHzText(high)});
        }
        if (band_ == kBandCB && plan.Group <= HighestPlanGroup(band_)) {
            // The channel table never lets a country plan's frequency be typed.
            const int index = FindChannelSlot(s_.Image, slot);
            const std::string name = GroupName(plan.Group, band_);
            if (index < 0) return T(txt::kPlanNoChannelCountry, {name, std::to_string(plan.Channel)});
            const auto& r = s_.Image.Channels[static_cast<size_t>(index)];
            if (ShownUnits(s_, r.RxFreq.Raw(), plan.Group) * 10 != *v.FreqHz)
                return T(txt::kChannelsCountryPlanKeep,
                         {MHzText(*v.FreqHz), std::to_string(plan.Channel), name});
        }
        if (v.Duplex) {
            if (*v.Duplex == "")
                plan.Dup = 0;
            else if (*v.Duplex == "+")
                plan.Dup = 1;
            else if (*v.Duplex == "-")
                plan.Dup = 2;
            else
                return T(txt::kDuplexNotOfferedRadio, {*v.Duplex});
        }
        if (v.ToneMode) {
            if (std::string why = Tones(plan); !why.empty()) return why;
        }
        if (v.Mode) {
            const std::string m = *v.Mode;
            if (m == "FM" || m == "NFM")
                plan.AmFm = 0;
            else if (m == "AM")
                plan.AmFm = 1;
            else
                return T(txt::kModeNotOfferedRadio, {m});
        }
        if (v.Skip) {
            if (*v.Skip == "S")
                plan.Scan = 0;
            else if (*v.Skip == "" || *v.Skip == "P")
                plan.Scan = 1;
            else
                return T(txt::kSkipNotOfferedRadio, {*v.Skip});
        }
        return "";
    }

    std::string Tones(RowPlan& plan) {
        const ChannelValues& v = plan.v;
        const std::string mode = *v.ToneMode;
        const std::string polarity = v.DtcsPolarity.value_or("NN");
        const int rtone = v.RToneTenths.value_or(885), ctone = v.CToneTenths.value_or(885);
        const int dtcs = v.DtcsCode.value_or(23), rxDtcs = v.RxDtcsCode.value_or(23);
        std::string why;
        auto ctcss = [&](int tenths) {
            const int code = CtcssCodeOfTenths(tenths);
            if (code < 0 && why.empty())
                why = T(txt::kToneHzNotOffered,
                        {std::to_string(tenths / 10) + "." + std::to_string(tenths % 10)});
            return code;
        };
        auto dcs = [&](int octal, size_t polarityAt) {
            const int code = DcsCodeOfOctal(octal);
            char buf[8];
            std::snprintf(buf, sizeof buf, "%03d", octal);
            if (code < 0 && why.empty()) why = T(txt::kDCSCodeNotOffered, {buf});
            if ((polarity.size() != 2 || polarity[polarityAt] != 'N') && why.empty())
                why = T(txt::kDCSPolarityRadioSends, {polarity});
            return code;
        };
        int rx = 0, tx = 0;
        if (mode == "") {
        } else if (mode == "Tone") {
            tx = ctcss(rtone);
        } else if (mode == "TSQL") {
            rx = tx = ctcss(ctone);
        } else if (mode == "DTCS") {
            rx = tx = dcs(dtcs, 0);
            if (why.empty()) dcs(dtcs, 1);
        } else if (mode == "Cross") {
            const std::string cross = v.CrossMode.value_or("Tone->Tone");
            const size_t arrow = cross.find("->");
            if (arrow == std::string::npos) return T(txt::kCrossModeNotOffered, {cross});
            const std::string t = cross.substr(0, arrow), r = cross.substr(arrow + 2);
            if ((t != "" && t != "Tone" && t != "DTCS") || (r != "" && r != "Tone" && r != "DTCS") ||
                (t.empty() && r.empty()))
                return T(txt::kCrossModeNotOffered, {cross});
            if (t == "Tone") tx = ctcss(rtone);
            if (t == "DTCS") tx = dcs(dtcs, 0);
            if (r == "Tone") rx = ctcss(ctone);
            if (r == "DTCS") rx = dcs(rxDtcs, 1);
        } else {
            return T(txt::kToneModeNotOffered, {mode});
        }
        plan.Rx = rx;
        plan.Tx = tx;
        return why;
    }

    void Set(const RowPlan& plan, int column, int value) {
        SetChannelField(s_, plan.Group, plan.Channel, column, std::to_string(value));
    }

    ChannelRecord* Record(const RowPlan& plan) {
        const int index = FindChannelSlot(s_.Image, GroupBase(plan.Group, band_) + plan.Channel);
        return index < 0 ? nullptr : &s_.Image.Channels[static_cast<size_t>(index)];
    }

    bool Apply(const RowPlan& plan, ImportRow& row) {
        const ChannelValues& v = plan.v;
        const int group = plan.Group, channel = plan.Channel;
        auto note = [&row](std::string text) { row.Notes.push_back(std::move(text)); };

        // Frequency first: it creates the channel. The same text as shown is left
        // alone, as the channel table does with an untouched cell.
        const int64_t units = *v.FreqHz / 10;
        ChannelRecord* r = Record(plan);
        if (!r || ShownUnits(s_, r->RxFreq.Raw(), group) != units || *v.FreqHz % 10 != 0) {
            const std::string typed = UnitsText(units);
            const std::string checked = CheckFreq(s_, typed, group, band_);
            const int64_t takenUnits = ShownUnits(s_, DisplayToFreq(checked), group);
            if (takenUnits * 10 != *v.FreqHz)
                note(T(txt::kFrequencyMHzTakenAs, {MHzText(*v.FreqHz), MHzText(takenUnits * 10)}));
            SetChannelField(s_, group, channel, kColRxFreq, typed);
            r = Record(plan);
            if (!r) {
                row.Outcome = RowOutcome::Refused;
                row.Notes = {T(txt::kChannelListFull)};
                return false;
            }
        }
        if (plan.Dup >= 0) Set(plan, kColDup, plan.Dup);
        // A simplex row with no offset keeps the channel's offset.
        if (v.OffsetHz && !(plan.Dup <= 0 && *v.OffsetHz == 0)) {
            const int64_t hz = *v.OffsetHz;
            SetChannelField(s_, group, channel, kColOffSetFre,
                            FormatShortest(static_cast<double>(hz) / 1000.0));
            if (static_cast<int64_t>(r->OffSetFre) * 1000 != hz)
                note(T(txt::kOffsetMHzTakenAs,
                       {MHzText(hz), MHzText(static_cast<int64_t>(r->OffSetFre) * 1000)}));
        }
        if (plan.Rx >= 0) Set(plan, kColRdct, plan.Rx);
        if (plan.Tx >= 0) Set(plan, kColTdct, plan.Tx);
        if (plan.AmFm >= 0) {
            int am = plan.AmFm;
            if (am == 1 && IsFixFM(channel, group, band_)) {
                note(T(txt::kChannelFMOnlyAM));
                am = 0;
            }
            Set(plan, kColAmFm, am);
        }
        if (v.Power) Power(plan, *v.Power, note);
        if (plan.Scan >= 0) Set(plan, kColScan, plan.Scan);
        if (v.Skip && *v.Skip == "P") note(T(txt::kSkipTakenAsScanned, {*v.Skip}));
        const std::pair<const std::optional<int>*, int> switches[] = {{&v.Busy, kColBusy},
                                                                      {&v.NoiseBlanker, kColNb},
                                                                      {&v.HighCut, kColHiCut},
                                                                      {&v.CommonData, kColPublic},
                                                                      {&v.ToneSquelch, kColTsq}};
        for (const auto& [value, column] : switches)
            if (*value) Set(plan, column, **value);
        if (v.RogerBeep) {
            const int want = *v.RogerBeep;
            Set(plan, kColRbTone, CheckToneTipReference(s_.Image, std::clamp(want, 0, 8)));
            if (r->RBTone != want)
                note(T(txt::kRogerBeepTakenAs, {std::to_string(want), std::to_string(r->RBTone)}));
        }
        const std::pair<const std::optional<int>*, int> dtmf[] = {
            {&v.DtmfBot, kColDtmfBot}, {&v.DtmfEot, kColDtmfEot}, {&v.DtmfCall, kColDtmfCall}};
        for (const auto& [value, column] : dtmf) {
            if (!*value) continue;
            const int want = **value;
            int code = std::clamp(want, 0, 16);
            if (code > 0 && !DtmfCodeDefined(s_.Image.Settings.Dtmf.Codes[static_cast<size_t>(code - 1)]))
                code = 0;
            Set(plan, column, code);
            if (code != want) note(T(txt::kDTMFCodeTakenAs, {std::to_string(want), std::to_string(code)}));
        }
        return true;
    }

    template <class Note> void Power(const RowPlan& plan, const std::string& text, Note note) {
        ChannelRecord* r = Record(plan);
        int level = -1;
        for (int i = 0; i < 3; ++i) {
            const std::string shown = LangText(s_, TextId{15044 + i});
            if (Lower(text) == Lower(PowerNames()[static_cast<size_t>(i)]) ||
                (!shown.empty() && text == shown))
                level = i;
        }
        auto name = [](int l) {
            return l >= 0 && l <= 2 ? std::string(PowerNames()[static_cast<size_t>(l)]) : std::to_string(l);
        };
        if (level < 0) {
            note(T(txt::kPowerNotLevelRadio, {text, name(r->Tx_Power)}));
            return;
        }
        int taken = level;
        if (r->AM_FM == 1 && level > 1) taken = 1; // the top level is FM only
        Set(plan, kColTxPower, taken);
        if (taken != level) note(T(txt::kPowerFMOnlyTaken, {name(level), name(taken)}));
    }

    Program s_;
    ImportOptions options_;
    int band_ = 0, fillGroup_ = 0, next_ = 1;
    size_t headerSize_ = 0;
    std::vector<int> columnOf_;
    bool hasRTone_ = false, hasCTone_ = false;
    std::map<int, int> filledBy_; // slot -> line of the row that filled it
    std::optional<std::pair<int64_t, int64_t>> planSpan_;
    static constexpr int kCbMemGroup = 8;
};

} // namespace

int ImportResult::Count(RowOutcome outcome) const {
    return static_cast<int>(
        std::count_if(Rows.begin(), Rows.end(), [outcome](auto& r) { return r.Outcome == outcome; }));
}

ImportResult ImportChannels(const Program& p, std::string_view csv, const ImportOptions& options) {
    Importer importer(p, options);
    ImportResult result = importer.Run(csv);
    if (!result.FileError.empty()) result.Image = p.Image;
    return result;
}

std::string ImportRowText(Program& p, const ImportRow& row) {
    std::string text = FillIn(LangText(p, txt::kLine_32800), {std::to_string(row.Line)});
    if (row.Group >= 0)
        text += ", " + FillIn(LangText(p, txt::kGroupChannel),
                              {GroupName(row.Group, p.Model.ModelType), std::to_string(row.Channel)});
    const TextId outcome = row.Outcome == RowOutcome::Taken      ? txt::kTaken
                           : row.Outcome == RowOutcome::Adjusted ? txt::kAdjusted
                                                                 : txt::kRefused;
    text += ": " + LangText(p, outcome);
    for (const std::string& n : row.Notes)
        text += "; " + n;
    return text;
}

std::string ImportSummary(Program& p, const ImportResult& result) {
    return FillIn(LangText(p, txt::kRowsTakenAdjustedRefused),
                  {std::to_string(result.Count(RowOutcome::Taken)),
                   std::to_string(result.Count(RowOutcome::Adjusted)),
                   std::to_string(result.Count(RowOutcome::Refused))});
}

bool ReadCsvFile(Program& p, const std::string& path, std::string& text, std::string& error) {
    // The same rules as a codeplug: no FIFO, device or folder, nothing past the limit.
    std::vector<uint8_t> bytes;
    FileError fault;
    if (!ReadWholeFile(path, bytes, kCsvMaxBytes, &fault)) {
        if (fault.fault == FileFault::TooLarge)
            error = FillIn(LangText(p, txt::kFileLargerThanMB), {std::to_string(kCsvMaxBytes >> 20)});
        else
            error =
                FillIn(LangText(p, txt::kFileCannotRead),
                       {path + (fault.fault == FileFault::System ? ": " + SystemReason(fault.code) : "")});
        return false;
    }
    text.assign(bytes.begin(), bytes.end());
    return true;
}

} // namespace tarvane
