#pragma once

#include <QLocale>
#include <QString>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace lumasio::fuzz {

// A property that must hold for every input: a violation is a finding.
#define LUMASIO_FUZZ_CHECK(condition)                                                              \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "property violated: %s (%s:%d)\n", #condition, __FILE__,          \
                         __LINE__);                                                                \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// The first byte chooses the locale, the text's encoding and a tier; the
// rest is the text. UTF-16 mode reaches lone surrogates and any code unit.
struct FuzzInput {
    QString text;
    const QLocale *locale = nullptr;
    std::size_t tier = 0;
};

inline FuzzInput decode(const std::uint8_t *data, std::size_t size)
{
    static const std::array<QLocale, 4> Locales = {
        QLocale(QLocale::C),
        QLocale(QLocale::Chinese, QLocale::China),
        QLocale(QLocale::German, QLocale::Germany),
        QLocale(QLocale::French, QLocale::France),
    };
    FuzzInput input;
    const std::uint8_t selector = size > 0 ? data[0] : 0;
    const auto *text = reinterpret_cast<const char *>(data + (size > 0 ? 1 : 0));
    const std::size_t length = size > 0 ? size - 1 : 0;
    input.locale = &Locales[selector & 0x3U];
    input.tier = (selector >> 2) & 0x3U;
    if ((selector & 0x10U) != 0) {
        input.text =
            QString(reinterpret_cast<const QChar *>(text), static_cast<qsizetype>(length / 2));
    } else {
        input.text = QString::fromUtf8(text, static_cast<qsizetype>(length));
    }
    return input;
}

} // namespace lumasio::fuzz
