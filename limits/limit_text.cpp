#include "limit_text.h"

#include "conversions.h"
#include "handler_error.h"

#include <cmath>

namespace lumasio::limits {

QString limitText(QStringView referenceText, double multiplier, const QLocale &locale)
{
    const double price = runtime::textToDouble(referenceText, locale);
    const double product = price * multiplier;
    // The price is finite, so a non-finite product can only be an overflow.
    if (!std::isfinite(product)) {
        throw runtime::Error::floatingPoint();
    }
    return runtime::int32ToText(runtime::doubleToInt32(product));
}

} // namespace lumasio::limits
