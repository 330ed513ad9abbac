// The Calculate command over the in-memory form: a failed calculation leaves
// both results untouched, a successful one writes both, limit-up first.
#include "calculate.h"
#include "fuzz_input.h"
#include "handler_error.h"
#include "limit_tier.h"
#include "memory_form.h"

using lumasio::runtime::Error;
using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto input = lumasio::fuzz::decode(data, size);
    QLocale::setDefault(*input.locale);

    lumasio::tests::MemoryForm form;
    form.put(u"Text1"_s, input.text);
    form.put(u"Text2"_s, u"old up"_s);
    form.put(u"Text3"_s, u"old down"_s);
    form.select(lumasio::limits::LimitTierTable[input.tier].optionControl.toString());

    try {
        lumasio::limits::calculate(form);
        if (input.text.isEmpty()) {
            LUMASIO_FUZZ_CHECK(form.writes.isEmpty());
        } else {
            LUMASIO_FUZZ_CHECK(form.writes == (QStringList{u"Text2"_s, u"Text3"_s}));
        }
    } catch (const Error &) {
        LUMASIO_FUZZ_CHECK(form.writes.isEmpty());
        LUMASIO_FUZZ_CHECK(form.text(u"Text2") == u"old up"_s);
        LUMASIO_FUZZ_CHECK(form.text(u"Text3") == u"old down"_s);
    }
    return 0;
}
