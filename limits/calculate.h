#pragma once

namespace lumasio::runtime {
class Form;
}

namespace lumasio::limits {

// The Click of Command1: for the selected tier, writes the limit-up price of
// Text1's reference price into Text2 and the limit-down price into Text3.
// An empty Text1 changes nothing. An error leaves both results untouched:
// the limit-up is computed, and fails, before Text2 is written.
void calculate(runtime::Form &form);

} // namespace lumasio::limits
