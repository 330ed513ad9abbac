// The limit text with every tier: either a whole number in the 32-bit range,
// the nearest to price × multiplier with ties to even, or a defined error;
// and for a positive price the limit-up is never below the limit-down.
#include "conversions.h"
#include "fuzz_input.h"
#include "handler_error.h"
#include "limit_text.h"
#include "limit_tier.h"

#include <cfenv>
#include <cmath>
#include <optional>

using lumasio::limits::limitText;
using lumasio::limits::LimitTierTable;
using lumasio::runtime::Error;
using lumasio::runtime::ErrorKind;

namespace {

std::optional<int> checkedLimit(const QString &text, double multiplier, const QLocale &locale)
{
    try {
        const QString result = limitText(text, multiplier, locale);
        bool ok = false;
        const int value = result.toInt(&ok); // fails outside the 32-bit range
        LUMASIO_FUZZ_CHECK(ok);
        LUMASIO_FUZZ_CHECK(result == QString::number(value)); // no "+", "-0", blanks
        return value;
    } catch (const Error &error) {
        LUMASIO_FUZZ_CHECK(error.kind() == ErrorKind::TypeMismatch
                           || error.kind() == ErrorKind::Overflow
                           || error.kind() == ErrorKind::FloatingPoint);
        return std::nullopt;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto input = lumasio::fuzz::decode(data, size);
    std::optional<double> price;
    try {
        price = lumasio::runtime::textToDouble(input.text, *input.locale);
    } catch (const Error &) {
        // No number: every limit must refuse the text too.
        price.reset();
    }
    for (const auto &tier : LimitTierTable) {
        const auto up = checkedLimit(input.text, tier.upMultiplier, *input.locale);
        const auto down = checkedLimit(input.text, tier.downMultiplier, *input.locale);
        if (!price) {
            LUMASIO_FUZZ_CHECK(!up && !down);
            continue;
        }
        if (up) {
            LUMASIO_FUZZ_CHECK(std::fesetround(FE_TONEAREST) == 0);
            const double product = *price * tier.upMultiplier;
            LUMASIO_FUZZ_CHECK(std::nearbyint(product) >= -2147483648.0
                               && std::nearbyint(product) <= 2147483647.0);
            LUMASIO_FUZZ_CHECK(*up == static_cast<int>(std::nearbyint(product)));
            // The limit-down is the smaller in magnitude: whenever the
            // limit-up fits, it fits too.
            LUMASIO_FUZZ_CHECK(down.has_value());
        }
        if (up && down && *price > 0) {
            LUMASIO_FUZZ_CHECK(*up >= *down);
        }
    }
    return 0;
}
