#pragma once
// Numbers as text, always with "." as the decimal point whatever the locale.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvane {

// A decimal number with optional sign, fraction and exponent, blanks around allowed.
std::optional<double> ParseDouble(std::string_view text);
bool IsNumeric(std::string_view text);
// Rounded half to even.
double RoundHalfEven(double v);
// Rounded half to even into 16 bits; nullopt when the text is not a number or overflows.
std::optional<int16_t> ToInt16(std::string_view text);
// Fixed number of decimals, e.g. FormatFixed(26.965, 5) == "26.96500".
std::string FormatFixed(double v, int decimals);
// Shortest text that reads back as the same double ("26.965").
std::string FormatShortest(double v);
// Blanks and tabs off both ends; TrimView without a copy.
std::string_view TrimView(std::string_view text);
std::string Trim(std::string_view text);

} // namespace tarvane
