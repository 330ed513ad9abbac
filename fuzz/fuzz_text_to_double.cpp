// Text to double: every text is either a double or one of the two conversion
// errors, and an accepted text is exactly what strtod makes of its ASCII form.
#include "conversions.h"
#include "error.h"
#include "fuzz_input.h"

#include <bit>
#include <cmath>
#include <cstdlib>

using lumasio::runtime::Error;
using lumasio::runtime::ErrorKind;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto input = lumasio::fuzz::decode(data, size);
    const auto ascii = lumasio::runtime::normalizeNumber(
        input.text, lumasio::runtime::NumberFormat(*input.locale));
    if (ascii) {
        LUMASIO_FUZZ_CHECK(ascii->find_first_not_of("0123456789.e+-") == std::string::npos);
    }
    try {
        const double value = lumasio::runtime::textToDouble(input.text, *input.locale);
        LUMASIO_FUZZ_CHECK(ascii.has_value());
        LUMASIO_FUZZ_CHECK(std::isfinite(value));
        char *end = nullptr;
        const double reference = std::strtod(ascii->c_str(), &end);
        LUMASIO_FUZZ_CHECK(end == ascii->c_str() + ascii->size());
        LUMASIO_FUZZ_CHECK(std::bit_cast<std::uint64_t>(value)
                           == std::bit_cast<std::uint64_t>(reference));
    } catch (const Error &error) {
        LUMASIO_FUZZ_CHECK(!error.message().isEmpty());
        if (error.kind() == ErrorKind::TypeMismatch) {
            LUMASIO_FUZZ_CHECK(!ascii.has_value());
        } else {
            LUMASIO_FUZZ_CHECK(error.kind() == ErrorKind::Overflow);
            LUMASIO_FUZZ_CHECK(ascii.has_value());
            LUMASIO_FUZZ_CHECK(std::isinf(std::strtod(ascii->c_str(), nullptr)));
        }
    }
    return 0;
}
