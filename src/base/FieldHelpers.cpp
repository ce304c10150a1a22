#include "base/FieldHelpers.h"

#include <cmath>
#include <limits>

#include "base/FixedText.h"
#include "base/NumberText.h"

namespace tarvane {

int16_t ClampNumberText(std::string_view text, int16_t minimum, int16_t maximum, int16_t step,
                        int16_t fallback) {
    auto parsed = ToInt16(text);
    if (!parsed) return fallback;
    int v = *parsed;
    if (v < minimum) v = minimum;
    if (v > maximum) v = maximum;
    if (step > 1) v -= v % step; // remainder takes the sign of v
    return static_cast<int16_t>(v);
}

int32_t ParseNumberOr(std::string_view text, int32_t fallback) {
    auto v = ParseDouble(text);
    if (!v) return fallback;
    double r = RoundHalfEven(*v);
    if (r < std::numeric_limits<int32_t>::min() || r > std::numeric_limits<int32_t>::max()) return fallback;
    return static_cast<int32_t>(r);
}

std::string TrimFixedText(std::string_view text) {
    return TrimField(text);
}

std::string FileNameOf(std::string_view path) {
    size_t cut = path.find_last_of("\\/");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string WithDefaultExtension(std::string_view path, std::string_view extension) {
    const std::string name = FileNameOf(path);
    // A leading dot names a hidden file, not an extension.
    const size_t dot = name.rfind('.');
    if (name.empty() || (dot != std::string::npos && dot > 0 && dot + 1 < name.size()))
        return std::string(path);
    std::string out(path);
    if (out.back() != '.') out += '.';
    return out + std::string(extension);
}

std::string WithoutAccessMark(std::string_view text) {
    std::string out(text);
    // The mark in parentheses after the text, in ASCII or full-width parentheses.
    for (const std::string_view open : {std::string_view("("), std::string_view("\xEF\xBC\x88")}) {
        const std::string_view close = open == "(" ? ")" : "\xEF\xBC\x89";
        for (size_t at = out.find(std::string(open) + "&"); at != std::string::npos;
             at = out.find(std::string(open) + "&", at)) {
            const size_t key = at + open.size() + 1;
            if (key < out.size() && out[key] != '&' && out.compare(key + 1, close.size(), close) == 0) {
                const size_t end = key + 1 + close.size();
                // A blank before the mark goes with it.
                const size_t from = at > 0 && out[at - 1] == ' ' ? at - 1 : at;
                out.erase(from, end - from);
                at = from;
            } else {
                at = key;
            }
        }
    }
    std::string plain;
    for (size_t i = 0; i < out.size(); ++i) {
        if (out[i] != '&') {
            plain += out[i];
        } else if (i + 1 < out.size() && out[i + 1] == '&') {
            plain += '&';
            ++i;
        }
    }
    for (bool cut = true; cut;) {
        cut = false;
        for (const std::string_view dots : {std::string_view("..."), std::string_view("\xE2\x80\xA6")})
            if (plain.size() >= dots.size() &&
                plain.compare(plain.size() - dots.size(), dots.size(), dots) == 0) {
                plain.erase(plain.size() - dots.size());
                cut = true;
            }
    }
    while (!plain.empty() && plain.back() == ' ')
        plain.pop_back();
    return plain;
}

} // namespace tarvane
