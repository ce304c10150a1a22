#pragma once
// Language text identifiers are written as 9002_txt so that a test can find every
// identifier the code uses and check both language files for it.
#include <cstdint>

namespace tarvane {

struct TextId {
    int32_t value;
    constexpr bool operator==(const TextId&) const = default;
};

inline namespace literals {
constexpr TextId operator""_txt(unsigned long long v) {
    return TextId{static_cast<int32_t>(v)};
}
} // namespace literals

} // namespace tarvane
