#include "freq/FreqCodec.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/NumberText.h"
#include "freq/Bands.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"

namespace tarvane {
namespace {

constexpr double kUnitsPerMHz = 100000.0; // 10 Hz units
constexpr long kRaster = 500;             // 5 kHz in 10 Hz units

long ToUnits(double mhz) {
    return static_cast<long>(RoundHalfEven(mhz * kUnitsPerMHz));
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

void WarnOutOfBand(Program& p) {
    TellId(p, txt::kFrequencyOutsideBandMoved, MsgIcon::Warning);
}

// The "125" ending of the CB UK plan and of CB memory channels above 27.405 on a display text.
std::string GroupDisplay(std::string shown, int group, int band) {
    if (shown.empty() || band != kBandCB || shown.size() < 3) return shown;
    bool rule = group == 3;
    if (group == 8) {
        auto v = ParseDouble(shown);
        rule = v && *v > 27.405;
    }
    if (rule) shown.replace(shown.size() - 3, 3, "125");
    return shown;
}

} // namespace

bool IsNoFreq(std::string_view text) {
    std::string t = TrimField(text);
    return t.empty() || t == "FFFFFFFF";
}

std::string FreqToDisplaySilent(std::string_view text) {
    if (IsNoFreq(text)) return "";
    std::string t = TrimField(text);
    if (!IsNumeric(t) || t.size() < 3) return "";
    auto v = ParseDouble(t.substr(0, 3) + "." + t.substr(3));
    return v ? FormatFixed(*v, 5) : "";
}

std::string FreqToDisplay(Program& p, std::string_view text) {
    if (IsNoFreq(text)) return "";
    std::string shown = FreqToDisplaySilent(text);
    if (!shown.empty()) return shown;
    Tell(p, "Not IsNumeric");
    return FormatShortest(p.Model.LowerLimit);
}

std::string FreqToGroupDisplay(Program& p, std::string_view text, int group, int band) {
    return GroupDisplay(FreqToDisplay(p, text), group, band);
}

std::string FreqToGroupDisplaySilent(std::string_view text, int group, int band) {
    return GroupDisplay(FreqToDisplaySilent(text), group, band);
}

std::string DisplayToFreq(std::string_view text) {
    std::string t(text);
    if (t.empty()) return "";
    std::string result;
    size_t dot = t.find('.');
    if (dot == std::string::npos) {
        result = t;
    } else {
        // Pad on the left until the point stands at the fourth place (1-based).
        if (dot < 3) {
            t.insert(0, 3 - dot, '0');
            dot = 3;
        }
        result = t.substr(0, 3) + t.substr(dot + 1);
    }
    if (result.size() > 8) result.resize(8);
    if (result.size() < 3) result.insert(0, 3 - result.size(), '0');
    result.append(8 - result.size(), '0');
    return result;
}

double SnapFreq(const CurrentModel& model, double value, double lowOffset) {
    long anchor = ToUnits(model.LowerLimit + lowOffset);
    long v = ToUnits(value);
    long r = (v - anchor) % kRaster; // sign of the dividend
    return static_cast<double>(v - r) / kUnitsPerMHz;
}

double ClampFreq(Program& p, double value, double lowOffset, double highOffset) {
    double low = p.Model.LowerLimit + lowOffset;
    if (low > value) {
        WarnOutOfBand(p);
        return low;
    }
    if (p.Model.UpperLimit + highOffset >= value) return SnapFreq(p.Model, value, lowOffset);
    WarnOutOfBand(p);
    return p.Model.UpperLimit + highOffset;
}

double ClampEmgFreq(double value) {
    if (value < 26.96) return 26.96;
    if (value > 27.405) return 27.405;
    long anchor = ToUnits(26.96);
    long v = ToUnits(value);
    return static_cast<double>(v - (v - anchor) % kRaster) / kUnitsPerMHz;
}

PlanPick NearestPlanFreq(const RadioImage& image, const CurrentModel& model, double value) {
    PlanPick pick;
    pick.Freq = model.LowerLimit; // no country-plan channel: the lower band limit
    // Whole 10 Hz units: a value halfway between two channels is a true tie, won
    // by the first in list order, not by the rounding of a double.
    const long wanted = ToUnits(value);
    long best = 0;
    const int band = model.ModelType;
    for (int i = 0; i < image.UsedCount(); ++i) {
        const ChannelRecord& r = image.Channels[static_cast<size_t>(i)];
        if (r.SlotNumber < 1 || r.SlotNumber > 360) continue;
        int group = GroupOfSlot(r.SlotNumber, band);
        if (group < 0) continue;
        std::string plain = FreqToDisplaySilent(r.RxFreq.Raw());
        if (plain.empty()) continue; // no frequency to compare with
        const std::string shown = GroupDisplay(plain, group, band);
        const long diff = std::labs(ToUnits(*ParseDouble(shown)) - wanted);
        if (pick.Group < 0 || diff < best) {
            best = diff;
            pick.Group = group;
            pick.Index = r.SlotNumber - GroupBase(group, band) - 1;
            pick.Freq = *ParseDouble(plain);
        }
    }
    return pick;
}

std::string CheckFreq(Program& p, std::string_view value, int group, int band) {
    double result;
    if (auto v = ParseDouble(value)) {
        if (band == kBandCB && group == 8) {
            result = NearestPlanFreq(p.Image, p.Model, *v).Freq;
        } else if (band == kBandCB && group == 9) {
            result = ClampEmgFreq(*v);
        } else {
            double lowOffset = ((band == kBandHF || band == kBandHAM) && group > 10) ? -0.005 : 0.0;
            result = ClampFreq(p, *v, lowOffset, 0.0);
        }
    } else if (band == kBandCB && group == 9) {
        result = 26.96;
    } else {
        WarnOutOfBand(p);
        result = p.Model.LowerLimit;
    }
    return FormatFixed(result, 5);
}

std::string FreqToRadioDigits(std::string_view text, int length) {
    std::string t = TrimField(text);
    if (t.size() % 2 == 1) t += "0";
    if (static_cast<int>(t.size()) < length) t.append(static_cast<size_t>(length) - t.size(), '0');
    t.resize(static_cast<size_t>(length));
    return t;
}

std::array<uint8_t, 3> EncodeFreqBytes(std::string_view text) {
    if (IsNoFreq(text)) return {0xFF, 0xFF, 0xFF};
    std::string digits = FreqToRadioDigits(text, 7).substr(1);
    std::array<uint8_t, 3> out{};
    for (int pair = 0; pair < 3; ++pair) {
        auto hi = HexValue(digits[static_cast<size_t>(2 * pair)]);
        auto lo = HexValue(digits[static_cast<size_t>(2 * pair + 1)]);
        out[static_cast<size_t>(2 - pair)] = static_cast<uint8_t>(hi * 16 + lo);
    }
    return out;
}

std::string DecodeFreqBytes(const uint8_t* bytes) {
    // Always "0", the six digits, "0", also for FF FF FF: read as "no frequency"
    // it would be written back as a blank slot, its valid bit cleared. As the
    // damaged text "0FFFFFF0" it goes back as the same three bytes.
    static const char kHex[] = "0123456789ABCDEF";
    std::string s = "0";
    for (int i = 2; i >= 0; --i) {
        s += kHex[bytes[i] >> 4];
        s += kHex[bytes[i] & 0xF];
    }
    return s + "0";
}

std::vector<std::string> ChannelListEntries(Program& p, int group, int band, bool noneEntry) {
    std::vector<int> numbers;
    const int base = GroupBase(group, band), size = GroupSize(group, band);
    for (int i = 0; i < p.Image.UsedCount(); ++i) {
        int n = p.Image.Channels[static_cast<size_t>(i)].SlotNumber - base;
        if (n >= 1 && n <= size) numbers.push_back(n);
    }
    std::sort(numbers.begin(), numbers.end());
    std::vector<std::string> out;
    if (noneEntry) out.push_back(LangText(p, txt::kTableNone));
    for (int n : numbers)
        out.push_back(std::to_string(n));
    return out;
}

} // namespace tarvane
