#pragma once

#include "conversions.h"

#include <QLocale>
#include <QString>

namespace lumasio::limits {

// The limit price for one multiplier, as the text the result boxes show: the
// reference text converted to a double, one multiplication, then rounded to a
// whole number, ties to even. Raises the runtime's type-mismatch, overflow or
// floating-point error instead of producing a result.
[[nodiscard]] QString limitText(QStringView referenceText, double multiplier,
                                const QLocale &locale = QLocale());

} // namespace lumasio::limits
