#include "base/NumberText.h"

#include <cfenv>
#include <charconv>
#include <cmath>
#include <limits>

namespace tarvane {

std::string_view TrimView(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t'))
        ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t'))
        --e;
    return text.substr(b, e - b);
}

std::string Trim(std::string_view text) {
    return std::string(TrimView(text));
}

std::optional<double> ParseDouble(std::string_view text) {
    std::string t = Trim(text);
    std::string_view s = t;
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty() || s.front() == '+') return std::nullopt;
    // from_chars reads the C locale's form only, which is exactly what we want.
    double v = 0;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    if (ec != std::errc() || ptr != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

bool IsNumeric(std::string_view text) {
    return ParseDouble(text).has_value();
}

double RoundHalfEven(double v) {
    // nearbyint follows the rounding mode, which is to-nearest-even unless changed.
    return std::nearbyint(v);
}

std::optional<int16_t> ToInt16(std::string_view text) {
    auto v = ParseDouble(text);
    if (!v) return std::nullopt;
    double r = RoundHalfEven(*v);
    if (r < std::numeric_limits<int16_t>::min() || r > std::numeric_limits<int16_t>::max())
        return std::nullopt;
    return static_cast<int16_t>(r);
}

std::string FormatFixed(double v, int decimals) {
    char buf[64];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    if (ec != std::errc()) return "0";
    std::string s(buf, ptr);
    // "-0.00000" reads as a negative zero to a user; show it as zero.
    if (s.front() == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    return s;
}

std::string FormatShortest(double v) {
    char buf[64];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, v);
    if (ec != std::errc()) return "0";
    return std::string(buf, ptr);
}

} // namespace tarvane
