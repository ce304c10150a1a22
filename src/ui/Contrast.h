#pragma once
// Text colours that stay readable on their ground in light and dark themes.
#include <QColor>

namespace tarvane {

// The contrast ratio of two colours by their relative luminance, 1 (same) to 21
// (black on white).
double ContrastRatio(const QColor& a, const QColor& b);
// The colour itself when it stands out from the ground by at least 4.5:1;
// otherwise the colour moved towards black or white (whichever the ground sets
// off better) just far enough that it does, so it keeps its hue where it can.
QColor Readable(const QColor& colour, const QColor& ground);

} // namespace tarvane
