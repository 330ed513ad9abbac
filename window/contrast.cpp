#include "contrast.h"

#include <algorithm>
#include <cmath>

namespace lumasio::window {

namespace {

[[nodiscard]] double relativeLuminance(const QColor &colour)
{
    const auto linear = [](float channel) {
        return channel <= 0.04045F ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF())
           + 0.0722 * linear(rgb.blueF());
}

} // namespace

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableOn(const QColor &colour, const QColor &background, double minimumContrast)
{
    if (contrastRatio(colour, background) >= minimumContrast
        || relativeLuminance(background) >= relativeLuminance(colour)) {
        return colour;
    }
    const QColor hsl = colour.toHsl();
    QColor lighter = colour;
    constexpr int Steps = 64;
    for (int step = 1; step <= Steps; ++step) {
        const float lightness =
            hsl.lightnessF() + (1.0F - hsl.lightnessF()) * static_cast<float>(step) / Steps;
        lighter = QColor::fromHslF(hsl.hslHueF(), hsl.hslSaturationF(), lightness).toRgb();
        if (contrastRatio(lighter, background) >= minimumContrast) {
            break;
        }
    }
    return lighter;
}

} // namespace lumasio::window
