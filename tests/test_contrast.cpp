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

} // namespace
