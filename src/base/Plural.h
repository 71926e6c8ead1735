// Plural.h — a count with its Czech noun in the form the count asks for: "1 řádek", "3 řádky",
// "5 řádků".
#pragma once

#include <string>
#include <string_view>

namespace quarn {

// The noun's form for n: one for 1, few for 2 to 4, many for every other count (0, 5 and up);
// a negative count (cells taken away) takes the form of its size.
std::string_view CzechPlural(long n, std::string_view one, std::string_view few,
                             std::string_view many);
// The count, a space and the noun's form: "3 řádky".
std::string CzechCount(long n, std::string_view one, std::string_view few, std::string_view many);

}  // namespace quarn
