#include "features/options/OptionFields.h"

#include <algorithm>

#include "base/FieldHelpers.h"
#include "base/NumberText.h"
#include "features/dtmf/DtmfReferences.h"
#include "features/tonetips/ToneTipReferences.h"
#include "freq/Bands.h"
#include "freq/ChannelCodec.h"
#include "freq/ChannelEdit.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"

namespace tarvane {

namespace {

std::vector<std::string> Numerals(int from, int to, int times = 1, const std::string& suffix = "") {
    std::vector<std::string> out;
    for (int n = from; n <= to; ++n)
        out.push_back(std::to_string(n * times) + suffix);
    return out;
}

std::vector<std::string> Texts(Program& p, std::initializer_list<TextId> ids) {
    std::vector<std::string> out;
    for (TextId id : ids)
        out.push_back(LangText(p, id));
    return out;
}

std::vector<std::string> OffOn(Program& p) {
    return Texts(p, {txt::kOff, txt::kOn});
}

} // namespace

int OptionValue(const FeatureBlock& f, int i) {
    if (i == 0) return f.MemChannelUse;
    if (i == 1) return f.ActiveGroup;
    if (i >= 2 && i <= 16) return f.Options[static_cast<size_t>(i - 2)];
    if (i >= 17 && i <= 20) return f.Display[static_cast<size_t>(i - 17)];
    if (i == 21) return f.EmgEditAllowed;
    if (i == 22) return f.DisplayMode;
    return 0;
}

void SetOptionValue(FeatureBlock& f, int i, int value) {
    const auto v16 = static_cast<int16_t>(std::clamp(value, -32768, 32767));
    const auto v8 = static_cast<uint8_t>(std::clamp(value, 0, 255));
    if (i == 0)
        f.MemChannelUse = v16;
    else if (i == 1)
        f.ActiveGroup = v16;
    else if (i >= 2 && i <= 16)
        f.Options[static_cast<size_t>(i - 2)] = v16;
    else if (i >= 17 && i <= 20)
        f.Display[static_cast<size_t>(i - 17)] = v16;
    else if (i == 21)
        f.EmgEditAllowed = v8;
    else if (i == 22)
        f.DisplayMode = v8;
}

std::string OptionValueText(Program& p, int i, int value) {
    if (OptionShowsNumber(i)) return std::to_string(value);
    const std::vector<std::string> entries = OptionEntries(p, i);
    return value >= 0 && static_cast<size_t>(value) < entries.size() ? entries[static_cast<size_t>(value)]
                                                                     : "?" + std::to_string(value);
}

int OptionOfField(std::string_view name) {
    // In list order, as OptionValue reads them.
    static constexpr std::string_view kFields[kOptionListCount] = {
        "MemChannelUse", "ActiveGroup",    "Beep",        "TimeOutTimer",      "Backlight",  "Volume",
        "Squelch",       "AsqFun",         "AsqValue",    "GainControl",       "ChannelDisplay",
        "ScanType",      "ScanTime",       "SquelchStepBack", "AsqStepBack",   "AutoPowerOn",
        "MemEditAllowed", "ScreenSaver",   "ScreenSaverColour", "TimeFormat",  "ScreenSaverOff",
        "EmgEditAllowed", "DisplayMode"};
    for (int i = 0; i < kOptionListCount; ++i)
        if (kFields[i] == name) return i;
    return -1;
}

bool OptionShowsNumber(int i) {
    return i == 4 || i == 5 || i == 8 || i == 13 || i == 14;
}

std::vector<std::string> OptionEntries(Program& p, int i) {
    switch (i) {
    case 0:
    case 2:
    case 7:
    case 15:
    case 16:
    case 21:
        return OffOn(p);
    case 1:
        return GroupListEntries(p.Model.ModelType, "MEM");
    case 3: {
        // No time-out at 0: "Off" rather than a time of nothing.
        auto out = Texts(p, {txt::kOptOff});
        auto n = Numerals(1, 30, 1, LangText(p, txt::kMin));
        out.insert(out.end(), n.begin(), n.end());
        return out;
    }
    case 4:
        return Numerals(1, 3);
    case 5:
        return Numerals(1, 56);
    case 6: {
        auto out = Texts(p, {txt::kOptOff});
        auto n = Numerals(1, 28);
        out.insert(out.end(), n.begin(), n.end());
        return out;
    }
    case 8:
        return Numerals(1, 9);
    case 9: {
        auto out = Texts(p, {txt::kOptOff});
        auto n = Numerals(1, 10, 3);
        out.insert(out.end(), n.begin(), n.end());
        out.push_back(LangText(p, txt::kAuto));
        return out;
    }
    case 10:
        return Texts(p, {txt::kChannelNumber, txt::kRadioFrequency});
    case 11:
        return Texts(p, {txt::kTime, txt::kCarrier});
    case 12:
        return Numerals(1, 6, 5, LangText(p, txt::kS));
    case 13:
    case 14:
        return Numerals(1, 7);
    case 17:
    case 20:
        return Texts(p, {txt::kOptOff, txt::kOptOn});
    case 18:
        return Texts(p, {txt::kWhite, txt::kAmber, txt::kBlue});
    case 19:
        return Texts(p, {txt::kN24Hour, txt::kN12Hour});
    case 22:
        return Texts(p, {txt::kNormal, txt::kReversed});
    default:
        return {};
    }
}

bool IsChannelList(int j) {
    return j >= 1 && j <= 13 && j != 3;
}

int16_t* DefaultChannelField(ChannelRecord& r, int j) {
    switch (j) {
    case 1:
        return &r.DUP;
    case 2:
        return &r.RDCT;
    case 4:
        return &r.HI_CUT;
    case 5:
        return &r.BUSY;
    case 6:
        return &r.NB;
    case 7:
        return &r.Add_Sub_5K;
    case 8:
        return &r.AM_FM;
    case 9:
        return &r.Tx_Power;
    case 10:
        return &r.RBTone;
    case 11:
        return &r.DTMF_BOT;
    case 12:
        return &r.DTMF_EOT;
    case 13:
        return &r.DTMF_Call;
    default:
        return nullptr;
    }
}

std::vector<std::string> DefaultChannelEntries(Program& p, int j, int amFm) {
    switch (j) {
    case 1:
        return {LangText(p, txt::kOff), "+", "-"};
    case 2: {
        auto tones = ToneNames();
        tones[0] = LangText(p, txt::kOff); // no tone: a word, not a symbol
        return tones;
    }
    case 4:
    case 5:
    case 6:
    case 7:
        return OffOn(p);
    case 8:
        return {"FM", "AM"};
    case 9:
        return PowerEntries(p, amFm);
    case 10:
        return RogerBeepEntries(p);
    case 11:
    case 12:
    case 13:
        return FillDtmfCodeList(p);
    default:
        return {};
    }
}

bool ChannelListShowsNumber(int j) {
    return j >= 10 && j <= 13;
}

std::vector<std::string> PowerEntries(Program& p, int amFm) {
    auto out = Texts(p, {txt::kLow, txt::kMedium});
    if (amFm == 0) out.push_back(LangText(p, txt::kHigh));
    return out;
}

std::vector<std::string> RogerBeepEntries(Program& p) {
    std::vector<std::string> out{LangText(p, txt::kEditNone)};
    for (int n = 1; n <= 8; ++n)
        if (CheckToneTipReference(p.Image, n) == n) out.push_back(std::to_string(n));
    return out;
}

std::string RogerBeepText(Program& p, int value) {
    return value >= 1 && value <= 8 ? std::to_string(value) : LangText(p, txt::kEditNone);
}

int16_t OffsetFromText(std::string_view text) {
    return ClampNumberText(text, 5, 1000, 5, 5);
}

std::pair<std::string, int16_t> SwrFromText(std::string_view text) {
    double v = 20.0;
    if (auto parsed = ParseDouble(text)) v = std::clamp(*parsed, 7.0, 20.0);
    std::string shown = FormatFixed(v, 1);
    // The stored value follows the text shown, not the typed digits behind it.
    const double back = ParseDouble(shown).value_or(20.0);
    return {shown, static_cast<int16_t>(RoundHalfEven(back * 10.0))};
}

std::string SwrText(int16_t stored) {
    return FormatFixed(stored / 10.0, 1);
}

std::vector<std::string> CountryEntries() {
    return {"EU", "CE", "UK", "PL", "I2", "DE", "IN"};
}
std::vector<std::string> CountrySubEntries() {
    return {"EI", "UK"};
}

int CountryChoiceToGroup(std::string_view chosen) {
    // "EI" is the plan shown for a stored "U", so choosing it stores "U" again.
    if (chosen == "EI") return GroupByName("U", kBandCB);
    const auto names = GroupListEntries(kBandCB, "MEM");
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == chosen) return static_cast<int>(i);
    return 0;
}

std::pair<std::string, std::string> CountryTexts(int stored) {
    const auto names = GroupListEntries(kBandCB, "MEM");
    const std::string name = stored >= 0 && stored < static_cast<int>(names.size())
                                 ? names[static_cast<size_t>(stored)]
                                 : names.front();
    const auto first = CountryEntries();
    const auto sub = CountrySubEntries();
    if (stored == 2 || stored == 3) {
        const bool listed = std::find(sub.begin(), sub.end(), name) != sub.end();
        return {"UK", listed ? name : sub.front()};
    }
    const bool listed = std::find(first.begin(), first.end(), name) != first.end();
    return {listed ? name : first.front(), ""};
}

} // namespace tarvane
