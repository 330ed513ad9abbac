#pragma once

#include "form.h"

namespace lumasio::window {

// Click of Combo1: the user picked a market state from the list.
void combo1Click(runtime::Form &form);

// Click of the hidden Command4: shows "结算价:" before the market opens and
// lets "昨结价:" of Label1 show through while it is open.
void command4Click(runtime::Form &form);

// Click of Label4: opens the publisher's web site.
void label4Click(runtime::Form &form);

} // namespace lumasio::window
