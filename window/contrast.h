#pragma once

#include <QColor>

namespace lumasio::window {

// The contrast ratio of two colours, 1 to 21, as WCAG 2 defines it.
[[nodiscard]] double contrastRatio(const QColor &a, const QColor &b);

// The colour itself where it reads against background with at least
// minimumContrast or where lightening can't help (a background lighter than
// the colour); else the colour lightened, its hue kept, until it does.
[[nodiscard]] QColor readableOn(const QColor &colour, const QColor &background,
                                double minimumContrast);

} // namespace lumasio::window
