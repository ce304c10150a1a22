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

} // namespace tarvane
