#include "calculate.h"

#include "form.h"
#include "limit_text.h"
#include "limit_tier.h"

namespace lumasio::limits {

void calculate(runtime::Form &form)
{
    static constexpr QStringView Input = u"Text1";
    static constexpr QStringView LimitUp = u"Text2";
    static constexpr QStringView LimitDown = u"Text3";

    // The user's number format, the same for both results.
    const QLocale locale;

    // Every row is tested, even after a match; the option buttons form one
    // exclusive group, so at most one matches.
    for (const LimitTier &tier : LimitTierTable) {
        const bool selected = form.value(tier.optionControl);
        const bool haveInput = !form.text(Input).isEmpty();
        if (selected && haveInput) {
            form.setText(LimitUp, limitText(form.text(Input), tier.upMultiplier, locale));
            form.setText(LimitDown, limitText(form.text(Input), tier.downMultiplier, locale));
        }
    }
}

} // namespace lumasio::limits
