#include "handlers.h"

#include "market_state.h"
#include "product.h"

namespace lumasio::window {

void combo1Click(runtime::Form &form)
{
    command4Click(form);
}

void command4Click(runtime::Form &form)
{
    // Typed text that is no market state leaves the label as it was.
    if (form.text(u"Combo1") == MarketState::NotOpen) {
        form.setVisible(u"Label6", true);
    }
    if (form.text(u"Combo1") == MarketState::Open) {
        form.setVisible(u"Label6", false);
    }
}

void label4Click(runtime::Form &form)
{
    form.launch(publisherSite());
}

} // namespace lumasio::window
