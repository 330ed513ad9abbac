#pragma once

#include <QStringView>

#include <array>

namespace lumasio::limits {

struct LimitTier {
    QStringView optionControl; // the option button that selects this tier
    double percent;
    double upMultiplier;   // 1 + percent, evaluated in double arithmetic
    double downMultiplier; // 1 - percent, evaluated in double arithmetic
};

// The multipliers are the exact doubles 1 + p and 1 - p computed from the
// double nearest to p, written as hex-float literals so no parsing or
// constant folding can move them. The 7% down multiplier is one unit in the
// last place below the double nearest to 0.93, and that difference decides
// results: 550 × it is 511.49999999999994 and rounds to 511, not 512.
inline constexpr std::array<LimitTier, 4> LimitTierTable{{
    {u"Option1", 0.07, 0x1.11eb851eb851fp+0, 0x1.dc28f5c28f5c2p-1},
    {u"Option2", 0.08, 0x1.147ae147ae148p+0, 0x1.d70a3d70a3d71p-1},
    {u"Option3", 0.09, 0x1.170a3d70a3d71p+0, 0x1.d1eb851eb851fp-1},
    {u"Option4", 0.10, 0x1.199999999999ap+0, 0x1.ccccccccccccdp-1},
}};

} // namespace lumasio::limits
