#include "exchange/DifferenceTexts.h"

#include <functional>

#include "base/FieldHelpers.h"
#include "features/keys/KeysArea.h"
#include "features/options/OptionFields.h"
#include "freq/Bands.h"
#include "freq/ChannelCodec.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"

namespace tarvane {

namespace {

enum class Shown { Number, Text, OffOn, Dup, Scan, Mode, Power, Tone, Reference };

struct ChannelField {
    const char* name; // the field's data name
    TextId label;
    Shown shown;
};

// The fields of a channel record in the order the edit dialog shows them. The
// tone names repeat RDCT and TDCT, and IsBlank is the record's own bookkeeping.
constexpr ChannelField kChannelFields[] = {
    {"RxFreq", txt::kFrequencyMHz, Shown::Text},
    {"Public", txt::kTableCommonData, Shown::OffOn},
    {"DUP", txt::kTableDuplex, Shown::Dup},
    {"OffSetFre", txt::kTableOffsetKHz, Shown::Number},
    {"TSQ", txt::kTableToneSquelch, Shown::OffOn},
    {"Scan", txt::kTableScan, Shown::Scan},
    {"HI_CUT", txt::kEditHighCut, Shown::OffOn},
    {"BUSY", txt::kEditBusyLockOut, Shown::OffOn},
    {"NB", txt::kEditNoiseBlanker, Shown::OffOn},
    {"Add_Sub_5K", txt::kEditN5KHz, Shown::OffOn},
    {"AM_FM", txt::kEditModulation, Shown::Mode},
    {"Tx_Power", txt::kEditTransmitPower, Shown::Power},
    {"RBTone", txt::kEditRogerBeep, Shown::Reference},
    {"DTMF_BOT", txt::kEditDTMFStart, Shown::Reference},
    {"DTMF_EOT", txt::kEditDTMFEnd, Shown::Reference},
    {"DTMF_Call", txt::kEditDTMFCall, Shown::Reference},
    {"RDCT", txt::kEditReceiveCTCSSDCS, Shown::Tone},
    {"TDCT", txt::kEditTransmitCTCSSDCS, Shown::Tone},
};
constexpr const char* kHiddenChannelFields[] = {"IsBlank", "RxTone", "TxTone", "slot", "group", "channel"};

std::string Entry(const std::vector<std::string>& entries, int index, const std::string& raw) {
    return index >= 0 && index < static_cast<int>(entries.size()) ? entries[static_cast<size_t>(index)] : raw;
}

// A value of the comparison (a number, a quoted text or null) as its list shows it.
std::string ShownValue(Program& p, Shown shown, const std::string& raw) {
    if (raw.empty() || raw == "null") return "-";
    if (raw.front() == '"') return raw.size() >= 2 ? raw.substr(1, raw.size() - 2) : raw;
    const int v = ParseNumberOr(raw, -1);
    switch (shown) {
    case Shown::OffOn:
        return Entry({LangText(p, txt::kOff), LangText(p, txt::kOn)}, v, raw);
    case Shown::Dup:
        return Entry({LangText(p, txt::kOff), "+", "-"}, v, raw);
    case Shown::Scan:
        return Entry({LangText(p, txt::kDel), LangText(p, txt::kAdd)}, v, raw);
    case Shown::Mode:
        return Entry({"FM", "AM"}, v, raw);
    case Shown::Power:
        return Entry({LangText(p, txt::kLow), LangText(p, txt::kMedium), LangText(p, txt::kHigh)}, v, raw);
    case Shown::Tone:
        return v == 0 ? LangText(p, txt::kOff) : Entry(ToneNames(), v, raw);
    case Shown::Reference:
        return v == 0 ? LangText(p, txt::kEditNone) : raw;
    default:
        return raw;
    }
}

// A field of the settings, keys or DTMF windows by the caption its window gives
// it and its values as that window's list shows them; false for other fields.
bool NamedSetting(Program& p, const std::string& field, std::string& name, std::string& a, std::string& b) {
    auto values = [&](const std::function<std::string(int)>& text) {
        for (std::string* v : {&a, &b})
            *v = v->empty() || *v == "null" ? "-" : text(ParseNumberOr(*v, -1));
    };
    const auto dot = field.find('.');
    const std::string group = field.substr(0, dot), leaf = dot == std::string::npos ? "" : field.substr(dot + 1);
    if (group == "Settings" && leaf.find('[') != std::string::npos) {
        // The channel table's panel for one group: "Group A: Working channel: 1 -> 5".
        const std::string list = leaf.substr(0, leaf.find('['));
        const int g = ParseNumberOr(leaf.substr(leaf.find('[') + 1, leaf.size() - leaf.find('[') - 2), -1);
        struct PanelField {
            const char* name;
            TextId label;
        };
        static constexpr PanelField kPanel[] = {
            {"WorkChannel", txt::kWorkingChannel},     {"GroupEmgChannel1", txt::kEmergencyChannel1},
            {"GroupEmgChannel2", txt::kEmergencyChannel2}, {"GroupEmgAmFm1", txt::kEmergencyChannel1},
            {"GroupEmgAmFm2", txt::kEmergencyChannel2},    {"GroupEnabled", txt::kGroupSwitched}};
        const PanelField* known = nullptr;
        for (const PanelField& f : kPanel)
            if (list == f.name) known = &f;
        const int band = p.Model.ModelType;
        if (!known || g < 0 || GroupName(g, band).empty()) return false;
        const bool country = band == kBandCB;
        name = WithoutAccessMark(LangText(p, country ? txt::kTableCountryPlan : txt::kTableGroup)) + " " +
               GroupName(g, band) + ": " + WithoutAccessMark(LangText(p, known->label));
        if (list == "GroupEnabled")
            values([&](int v) { return LangText(p, v > 0 ? txt::kEnable : txt::kDisable); });
        else if (list.rfind("GroupEmgAmFm", 0) == 0)
            values([](int v) { return Entry({"FM", "AM"}, v, "?" + std::to_string(v)); });
        else
            values([](int v) { return std::to_string(v + 1); }); // the lists number channels from 1
        return true;
    }
    if (group == "Settings") {
        if (const int i = OptionOfField(leaf); i >= 0) {
            name = WithoutAccessMark(LangText(p, kOptionCaptions[i]));
            values([&](int v) { return OptionValueText(p, i, v); });
            return true;
        }
        if (leaf == "SwrInUse" || leaf == "SwrLimit") {
            name = WithoutAccessMark(LangText(p, txt::kSWRLimit));
            if (leaf == "SwrLimit")
                values([](int v) { return SwrText(static_cast<int16_t>(v)); });
            else
                values([&](int v) {
                    return Entry({LangText(p, txt::kOff), LangText(p, txt::kOn)}, v, "?" + std::to_string(v));
                });
            return true;
        }
        return false;
    }
    if (group == "Keys" && leaf == "KeyMode") {
        name = WithoutAccessMark(LangText(p, txt::kPagesUse));
        values(KeyPagesText);
        return true;
    }
    if (group == "Keys" && leaf.rfind("Key", 0) == 0) {
        const int k = ParseNumberOr(leaf.substr(3), 0) - 1; // Key1 is page 1, P1
        if (k < 0) return false;
        name = LangText(p, txt::kKeyPage) + " " + std::to_string(k / 6 + 1) + " P" + std::to_string(k % 6 + 1);
        values(KeyFunctionText);
        return true;
    }
    if (field == "Dtmf.DtmfRate") {
        name = WithoutAccessMark(LangText(p, txt::kDTMFRate));
        values([](int v) { return std::to_string(v); });
        return true;
    }
    return false;
}

bool IsChannelElement(const std::string& where) {
    return where.rfind("Channels ", 0) == 0 || where.rfind("Emergency ", 0) == 0;
}

} // namespace

std::vector<std::string> ShownDifferences(Program& p, const std::vector<Difference>& differences,
                                          const std::string& otherName) {
    std::vector<std::string> out;
    const std::string channel = LangText(p, txt::kEditChannel_15000);
    for (const Difference& d : differences) {
        std::string where = d.Where, field = d.Field;
        // "Channels D 5" is channel 5 of group D; the common channel data is a record of its own.
        if (where.rfind("Channels ", 0) == 0) where = channel + where.substr(8);
        if (where.rfind("Emergency ", 0) == 0)
            where = WithoutAccessMark(LangText(p, txt::kEmergencyChannel)) + where.substr(9);
        if (field.rfind("CommonChannel.", 0) == 0) {
            where = LangText(p, txt::kCommonChannelData);
            field = field.substr(14);
        }
        if (field.empty()) {
            out.push_back(where + ": " +
                          (d.A.empty() ? FillIn(LangText(p, txt::kOnlyInOther), {otherName})
                                       : LangText(p, txt::kOnlyInOpenDocument)));
            continue;
        }
        const std::string last =
            field.substr(field.rfind('.') == std::string::npos ? 0 : field.rfind('.') + 1);
        const bool channelField = IsChannelElement(d.Where) || where != d.Where;
        const ChannelField* known = nullptr;
        bool hidden = false;
        if (channelField) {
            for (const ChannelField& f : kChannelFields)
                if (last == f.name) known = &f;
            for (const char* name : kHiddenChannelFields)
                hidden = hidden || last == name;
        }
        if (hidden) continue;
        std::string a = d.A, b = d.B, name = field;
        if (known) {
            name = LangText(p, known->label);
            a = ShownValue(p, known->shown, d.A);
            b = ShownValue(p, known->shown, d.B);
        } else if (channelField || !NamedSetting(p, field, name, a, b)) {
            a = d.A.empty() ? "-" : d.A;
            b = d.B.empty() ? "-" : d.B;
        }
        out.push_back((where.empty() ? "" : where + ": ") + name + ": " + a + " -> " + b);
    }
    return out;
}

} // namespace tarvane
