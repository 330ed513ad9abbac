#include "contrast.h"

#include <gtest/gtest.h>

namespace {

// The contrast judged against the ratios WCAG 2 gives for known pairs.
TEST(ContrastRatio, KnownPairs)
{
    const struct {
        QColor a;
        QColor b;
        double ratio;
    } pairs[] = {
        {Qt::black, Qt::white, 21.0},
        {Qt::white, Qt::white, 1.0},
        {QColor(0x76, 0x76, 0x76), Qt::white, 4.54},
        {QColor(0, 128, 0), Qt::white, 5.14},
        {QColor(0, 0, 255), Qt::white, 8.59},
        {Qt::white, QColor(255, 0, 0), 4.0},
    };
    for (const auto &p : pairs) {
        EXPECT_NEAR(lumasio::window::contrastRatio(p.a, p.b), p.ratio, 0.01)
            << p.a.name().toStdString();
    }
}

// A colour is lightened, its hue kept, just until it reads on a dark
// background; on a lighter background, or where it reads already, it stays.
TEST(ReadableOn, LightensJustEnough)
{
    const struct {
        QColor colour;
        QColor background;
        double minimum;
        const char *expected;
    } rows[] = {
        {QColor(255, 0, 0), Qt::white, 4.5, "#ff0000"},
        {Qt::white, QColor(0x2d, 0x2d, 0x2d), 4.5, "#ffffff"},
        {QColor(255, 0, 0), QColor(0x2d, 0x2d, 0x2d), 4.5, "#ff5c5c"},
        {QColor(0, 128, 0), QColor(0x2d, 0x2d, 0x2d), 4.5, "#00b000"},
        {QColor(255, 0, 0), QColor(0x3c, 0x3c, 0x3c), 3.0, "#ff3030"},
        {QColor(0, 128, 0), QColor(0x3c, 0x3c, 0x3c), 3.0, "#009e00"},
        // Out of reach: white is as light as it gets.
        {QColor(255, 255, 0), QColor(0x99, 0x99, 0x99), 21.0, "#ffffff"},
    };
    for (const auto &r : rows) {
        EXPECT_EQ(
            lumasio::window::readableOn(r.colour, r.background, r.minimum).name().toStdString(),
            r.expected)
            << r.colour.name().toStdString() << " on " << r.background.name().toStdString();
    }
}

} // namespace
