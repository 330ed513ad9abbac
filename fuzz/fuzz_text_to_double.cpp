// Text to double: every text is either a finite double or one of the two
// conversion errors. Texts of plain ASCII number characters are held against
// from_chars and strtod, parsers that share no code with Lumasio's.
#include "conversions.h"
#include "fuzz_input.h"
#include "handler_error.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

using lumasio::runtime::Error;
using lumasio::runtime::ErrorKind;

namespace {

// The text in ASCII, where it holds only digits, signs, "e", "E" and a
// decimal point that is "."; nothing otherwise.
std::optional<std::string> plainNumberText(const QString &text, const QLocale &locale)
{
    if (locale.decimalPoint() != u".") {
        return std::nullopt;
    }
    std::string ascii;
    for (const QChar c : text) {
        if (c.unicode() >= 0x80
            || std::string_view("0123456789+-.eE").find(c.toLatin1()) == std::string_view::npos) {
            return std::nullopt;
        }
        ascii += c.toLatin1();
    }
    return ascii;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto input = lumasio::fuzz::decode(data, size);
    double value = 0.0;
    std::optional<ErrorKind> raised;
    try {
        value = lumasio::runtime::textToDouble(input.text, *input.locale);
        LUMASIO_FUZZ_CHECK(std::isfinite(value));
    } catch (const Error &error) {
        LUMASIO_FUZZ_CHECK(!error.message().isEmpty());
        LUMASIO_FUZZ_CHECK(error.kind() == ErrorKind::TypeMismatch
                           || error.kind() == ErrorKind::Overflow);
        raised = error.kind();
    }

    const auto ascii = plainNumberText(input.text, *input.locale);
    if (!ascii) {
        return 0;
    }
    // from_chars takes no "+": one leading "+" before a digit or point goes.
    std::string_view number(*ascii);
    if (number.size() > 1 && number[0] == '+' && number[1] != '+' && number[1] != '-') {
        number.remove_prefix(1);
    }
    double expected = 0.0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), expected);
    if (ec == std::errc::invalid_argument || end != number.data() + number.size()) {
        LUMASIO_FUZZ_CHECK(raised == ErrorKind::TypeMismatch);
    } else if (ec == std::errc::result_out_of_range) {
        // Too large is the overflow error; too small is a zero of its sign.
        const std::string text(number);
        if (std::isinf(std::strtod(text.c_str(), nullptr))) {
            LUMASIO_FUZZ_CHECK(raised == ErrorKind::Overflow);
        } else {
            LUMASIO_FUZZ_CHECK(!raised && value == 0.0);
            LUMASIO_FUZZ_CHECK(std::signbit(value) == (number[0] == '-'));
        }
    } else {
        LUMASIO_FUZZ_CHECK(!raised);
        LUMASIO_FUZZ_CHECK(std::bit_cast<std::uint64_t>(value)
                           == std::bit_cast<std::uint64_t>(expected));
    }
    return 0;
}
