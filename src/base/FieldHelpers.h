#pragma once
// Number and text helpers shared by every editor, so all behave alike at the edges.
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvane {

// Typed number to a 16-bit value: range first, then step (so a minimum that is
// not a multiple of the step can be stepped below it); default when not a number.
int16_t ClampNumberText(std::string_view text, int16_t minimum, int16_t maximum, int16_t step,
                        int16_t fallback);
// The number when the text is a 32-bit number, else the default.
int32_t ParseNumberOr(std::string_view text, int32_t fallback);
// Trailing blanks removed, then cut before the first NUL.
std::string TrimFixedText(std::string_view text);
// The part after the last "\" or "/"; the whole path when it has neither.
std::string FileNameOf(std::string_view path);
// The path with "." + extension added when its file name has no extension of its own.
std::string WithDefaultExtension(std::string_view path, std::string_view extension);
// A menu or button text as a title or label: no access mark ("&Save", "保存(&S)"),
// "&&" as "&", no trailing "..." or ellipsis.
std::string WithoutAccessMark(std::string_view text);

} // namespace tarvane
