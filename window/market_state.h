#pragma once

#include <QStringView>

namespace lumasio::window {

// The two texts of Combo1 that name a market state; the list items and the
// comparisons use these same code points.
struct MarketState {
    static constexpr QStringView Open = u"开盘中";
    static constexpr QStringView NotOpen = u"未开盘";
};

} // namespace lumasio::window
