// The numeric value a text begins with, as font spec fields and layout codes
// write their numbers: an optional sign, digits and an optional fraction.
#pragma once

#include <string_view>

namespace skyplate {

// 0 when the text does not begin with a number; "-11px" gives -11.
double LeadingNumber(std::string_view text);

}  // namespace skyplate
