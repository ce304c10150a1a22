#include "ui/Contrast.h"

#include <algorithm>
#include <cmath>

namespace tarvane {

namespace {

constexpr double kReadable = 4.5;

double Channel(double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& c) {
    const QColor rgb = c.toRgb();
    return 0.2126 * Channel(rgb.redF()) + 0.7152 * Channel(rgb.greenF()) + 0.0722 * Channel(rgb.blueF());
}

QColor Mix(const QColor& a, const QColor& b, double t) {
    const QColor x = a.toRgb(), y = b.toRgb();
    return QColor::fromRgbF(static_cast<float>(x.redF() + (y.redF() - x.redF()) * t),
                            static_cast<float>(x.greenF() + (y.greenF() - x.greenF()) * t),
                            static_cast<float>(x.blueF() + (y.blueF() - x.blueF()) * t));
}

} // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor Readable(const QColor& colour, const QColor& ground) {
    if (ContrastRatio(colour, ground) >= kReadable) return colour;
    const QColor end = ContrastRatio(Qt::black, ground) >= ContrastRatio(Qt::white, ground)
                           ? QColor(Qt::black)
                           : QColor(Qt::white);
    // The least move towards the end colour that reads; the end itself always does
    // on any ground, since black or white stands out from it by at least 4.58:1.
    double low = 0, high = 1;
    for (int i = 0; i < 20; ++i) {
        const double mid = (low + high) / 2;
        (ContrastRatio(Mix(colour, end, mid), ground) >= kReadable ? high : low) = mid;
    }
    return Mix(colour, end, high);
}

} // namespace tarvane
