#pragma once
// Fixed-width texts of the radio image: N single-byte characters, blank padded
// when assigned, N NULs when never assigned (as the records on disk have them).
#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace tarvane {

// Trailing blanks removed first, then cut before the first NUL: the order the
// stored files rely on ("AB \0" keeps its blank).
inline std::string TrimField(std::string_view text) {
    size_t end = text.size();
    while (end > 0 && text[end - 1] == ' ')
        --end;
    std::string_view t = text.substr(0, end);
    size_t nul = t.find('\0');
    if (nul != std::string_view::npos) t = t.substr(0, nul);
    return std::string(t);
}

template <size_t N> struct FixedText {
    std::array<char, N> chars{};

    static constexpr size_t size() { return N; }
    void Assign(std::string_view text) {
        size_t n = std::min(text.size(), N);
        std::copy_n(text.begin(), n, chars.begin());
        std::fill(chars.begin() + n, chars.end(), ' ');
    }
    std::string_view Raw() const { return std::string_view(chars.data(), N); }
    std::string Trimmed() const { return TrimField(Raw()); }
    bool operator==(const FixedText&) const = default;
};

} // namespace tarvane
