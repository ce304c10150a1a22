#include "exchange/ChannelColumns.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "base/NumberText.h"
#include "freq/Bands.h"
#include "freq/ChannelCodec.h"
#include "freq/FreqCodec.h"
#include "state/RadioImage.h"

namespace tarvane {
namespace {

constexpr const char* kPowerNames[] = {"Low", "Medium", "High"};
constexpr int kDefaultToneTenths = 885; // the format's default tone, 88.5 Hz
constexpr int kDefaultDtcs = 23;

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// Hertz from megahertz text; nullopt for anything that is not a plain decimal in range.
std::optional<int64_t> ParseHz(std::string_view cell) {
    auto v = ParseDouble(cell);
    if (!v || !std::isfinite(*v) || *v < 0 || *v >= 10000) return std::nullopt;
    return static_cast<int64_t>(std::llround(*v * 1e6));
}

std::optional<int> ParseTenths(std::string_view cell) {
    auto v = ParseDouble(cell);
    if (!v || !std::isfinite(*v) || *v < 0 || *v > 10000) return std::nullopt;
    const double tenths = *v * 10;
    if (std::fabs(tenths - std::round(tenths)) > 1e-6) return -1; // a tone no list holds
    return static_cast<int>(std::lround(tenths));
}

std::optional<int> ParseDigits(std::string_view cell, int maxDigits) {
    std::string t = Trim(cell);
    if (t.empty() || static_cast<int>(t.size()) > maxDigits) return std::nullopt;
    int v = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

std::optional<int> ParseSwitch(std::string_view cell) {
    const std::string t = Lower(Trim(cell));
    if (t == "on" || t == "1" || t == "yes" || t == "true") return 1;
    if (t == "off" || t == "0" || t == "no" || t == "false") return 0;
    return std::nullopt;
}

std::optional<int> ParseSmall(std::string_view cell) {
    auto v = ParseDouble(cell);
    if (!v || *v != std::floor(*v) || *v < -1000 || *v > 1000) return std::nullopt;
    return static_cast<int>(*v);
}

std::string TenthsText(int tenths) {
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::string DtcsText(int octal) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%03d", octal);
    return buf;
}

std::string SwitchText(const std::optional<int>& v) {
    return v ? (*v ? "On" : "Off") : "";
}
std::string NumberText(const std::optional<int>& v) {
    return v ? std::to_string(*v) : "";
}
std::string Text(const std::optional<std::string>& v) {
    return v.value_or("");
}

// Column readers and writers, one pair per member.
#define TEXT_COLUMN(name, member, emptyIsValue)                                                              \
    {                                                                                                        \
        name, [](const ChannelValues& v) { return Text(v.member); },                                         \
            [](std::string_view c, ChannelValues& v) {                                                       \
                v.member = Trim(c);                                                                          \
                return true;                                                                                 \
            },                                                                                               \
            emptyIsValue                                                                                     \
    }
#define SWITCH_COLUMN(name, member)                                                                          \
    {                                                                                                        \
        name, [](const ChannelValues& v) { return SwitchText(v.member); },                                   \
            [](std::string_view c, ChannelValues& v) { return bool(v.member = ParseSwitch(c)); }             \
    }
#define NUMBER_COLUMN(name, member)                                                                          \
    {                                                                                                        \
        name, [](const ChannelValues& v) { return NumberText(v.member); },                                   \
            [](std::string_view c, ChannelValues& v) { return bool(v.member = ParseSmall(c)); }              \
    }

// clang-format off
constexpr ColumnDef kColumns[] = {
    TEXT_COLUMN("Location", Location, false),
    TEXT_COLUMN("Name", Name, false),
    {"Frequency", [](const ChannelValues& v) { return v.FreqHz ? MHzText(*v.FreqHz) : ""; },
     [](std::string_view c, ChannelValues& v) { return bool(v.FreqHz = ParseHz(c)); }},
    TEXT_COLUMN("Duplex", Duplex, true),
    {"Offset", [](const ChannelValues& v) { return v.OffsetHz ? MHzText(*v.OffsetHz) : ""; },
     [](std::string_view c, ChannelValues& v) { return bool(v.OffsetHz = ParseHz(c)); }},
    TEXT_COLUMN("Tone", ToneMode, true),
    {"rToneFreq", [](const ChannelValues& v) { return v.RToneTenths ? TenthsText(*v.RToneTenths) : ""; },
     [](std::string_view c, ChannelValues& v) { return bool(v.RToneTenths = ParseTenths(c)); }},
    {"cToneFreq", [](const ChannelValues& v) { return v.CToneTenths ? TenthsText(*v.CToneTenths) : ""; },
     [](std::string_view c, ChannelValues& v) { return bool(v.CToneTenths = ParseTenths(c)); }},
    {"DtcsCode", [](const ChannelValues& v) { return v.DtcsCode ? DtcsText(*v.DtcsCode) : ""; },
     [](std::string_view c, ChannelValues& v) { return bool(v.DtcsCode = ParseDigits(c, 4)); }},
    TEXT_COLUMN("DtcsPolarity", DtcsPolarity, false),
    {"RxDtcsCode", [](const ChannelValues& v) { return v.RxDtcsCode ? DtcsText(*v.RxDtcsCode) : ""; },
     [](std::string_view c, ChannelValues& v) { return bool(v.RxDtcsCode = ParseDigits(c, 4)); }},
    TEXT_COLUMN("CrossMode", CrossMode, false),
    TEXT_COLUMN("Mode", Mode, false),
    TEXT_COLUMN("TStep", TStep, false),
    TEXT_COLUMN("Skip", Skip, true),
    TEXT_COLUMN("Power", Power, false),
    TEXT_COLUMN("Comment", Comment, false),
    {"URCALL", [](const ChannelValues&) { return std::string(); }, [](std::string_view, ChannelValues&) { return true; }},
    {"RPT1CALL", [](const ChannelValues&) { return std::string(); }, [](std::string_view, ChannelValues&) { return true; }},
    {"RPT2CALL", [](const ChannelValues&) { return std::string(); }, [](std::string_view, ChannelValues&) { return true; }},
    {"DVCODE", [](const ChannelValues&) { return std::string(); }, [](std::string_view, ChannelValues&) { return true; }},
    TEXT_COLUMN("Group", Group, false),
    {"GroupChannel", [](const ChannelValues& v) { return NumberText(v.GroupChannel); },
     [](std::string_view c, ChannelValues& v) { return bool(v.GroupChannel = ParseDigits(c, 3)); }},
    SWITCH_COLUMN("BusyLockout", Busy),
    SWITCH_COLUMN("NoiseBlanker", NoiseBlanker),
    SWITCH_COLUMN("HighCut", HighCut),
    SWITCH_COLUMN("CommonData", CommonData),
    NUMBER_COLUMN("RogerBeep", RogerBeep),
    NUMBER_COLUMN("DtmfBot", DtmfBot),
    NUMBER_COLUMN("DtmfEot", DtmfEot),
    NUMBER_COLUMN("DtmfCall", DtmfCall),
    SWITCH_COLUMN("ToneSquelch", ToneSquelch),
};
// clang-format on
#undef TEXT_COLUMN
#undef SWITCH_COLUMN
#undef NUMBER_COLUMN

// 10 Hz units of a display text such as "27.60125"; -1 when it is none.
int64_t DisplayUnits(std::string_view shown) {
    size_t dot = shown.find('.');
    if (dot == std::string_view::npos || shown.size() - dot - 1 != 5) return -1;
    auto whole = ParseDigits(shown.substr(0, dot), 4);
    auto fraction = ParseDigits(shown.substr(dot + 1), 5);
    if (!whole || !fraction) return -1;
    return static_cast<int64_t>(*whole) * 100000 + *fraction;
}

} // namespace

std::span<const ColumnDef> ChannelColumns() {
    return kColumns;
}

int FindChannelColumn(std::string_view name) {
    const std::string wanted = Lower(Trim(name));
    for (size_t i = 0; i < std::size(kColumns); ++i)
        if (Lower(kColumns[i].Name) == wanted) return static_cast<int>(i);
    return -1;
}

std::span<const char* const> PowerNames() {
    return kPowerNames;
}

int CtcssCodeOfTenths(int tenths) {
    for (int n = 1; n <= kCtcssCount; ++n)
        if (CtcssTenthsHz(n) == tenths) return n;
    return -1;
}

int DcsCodeOfOctal(int octal) {
    for (int n = 1; n <= kDcsCount; ++n)
        if (DcsOctal(n) == octal) return kFirstDcsCode + n - 1;
    return -1;
}

std::string MHzText(int64_t hz) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld.%06lld", static_cast<long long>(hz / 1000000),
                  static_cast<long long>(hz % 1000000));
    return buf;
}

ChannelValues ValuesOfRecord(const ChannelRecord& r, int group, int channel, int band) {
    ChannelValues v;
    v.Name = "";
    // A text that is not numeric is no frequency to exchange.
    const std::string shown = FreqToGroupDisplaySilent(r.RxFreq.Raw(), group, band);
    const int64_t units = shown.empty() ? -1 : DisplayUnits(shown);
    if (units >= 0) v.FreqHz = units * 10;
    v.Duplex = r.DUP == 1 ? "+" : r.DUP == 2 ? "-" : "";
    v.OffsetHz = static_cast<int64_t>(std::max<int>(r.OffSetFre, 0)) * 1000;

    // Receive and transmit tone codes in the format's terms; a code this radio
    // cannot hold counts as off, as the encoder sends it.
    auto kind = [](int code) {
        return code >= 1 && code <= kCtcssCount ? 1 : code >= kFirstDcsCode && code < kToneCodeCount ? 2 : 0;
    };
    const int rx = r.RDCT, tx = r.TDCT, rk = kind(rx), tk = kind(tx);
    v.RToneTenths = v.CToneTenths = kDefaultToneTenths;
    v.DtcsCode = v.RxDtcsCode = kDefaultDtcs;
    v.DtcsPolarity = "NN";
    v.CrossMode = "Tone->Tone";
    const auto ctcss = [](int code) { return CtcssTenthsHz(code); };
    const auto dcs = [](int code) { return DcsOctal(code - kFirstDcsCode + 1); };
    if (rk == 0 && tk == 0) {
        v.ToneMode = "";
    } else if (rk == 0 && tk == 1) {
        v.ToneMode = "Tone";
        v.RToneTenths = ctcss(tx);
    } else if (rk == 1 && tk == 1 && rx == tx) {
        v.ToneMode = "TSQL";
        v.RToneTenths = v.CToneTenths = ctcss(tx);
    } else if (rk == 2 && tk == 2 && rx == tx) {
        v.ToneMode = "DTCS";
        v.DtcsCode = v.RxDtcsCode = dcs(tx);
    } else {
        v.ToneMode = "Cross";
        if (tk == 1) v.RToneTenths = ctcss(tx);
        if (tk == 2) v.DtcsCode = dcs(tx);
        if (rk == 1) v.CToneTenths = ctcss(rx);
        if (rk == 2) v.RxDtcsCode = dcs(rx);
        static const char* const kTx[] = {"", "Tone", "DTCS"};
        static const char* const kRx[] = {"", "Tone", "DTCS"};
        v.CrossMode = std::string(kTx[tk]) + "->" + kRx[rk];
    }
    v.Mode = r.AM_FM == 1 ? "AM" : "FM";
    v.TStep = "5.00";
    v.Skip = r.Scan == 1 ? "" : "S";
    v.Power = r.Tx_Power >= 0 && r.Tx_Power <= 2 ? kPowerNames[r.Tx_Power] : "";
    v.Comment = "";
    v.Group = GroupName(group, band);
    v.GroupChannel = channel;
    v.Busy = r.BUSY != 0;
    v.NoiseBlanker = r.NB != 0;
    v.HighCut = r.HI_CUT != 0;
    v.CommonData = r.Public != 0;
    v.ToneSquelch = r.TSQ != 0;
    v.RogerBeep = r.RBTone;
    v.DtmfBot = r.DTMF_BOT;
    v.DtmfEot = r.DTMF_EOT;
    v.DtmfCall = r.DTMF_Call;
    return v;
}

} // namespace tarvane
