// Plural.cpp — the Czech counted noun.
#include "Plural.h"

namespace quarn {

std::string_view CzechPlural(long n, std::string_view one, std::string_view few,
                             std::string_view many) {
  const long size = n < 0 ? -n : n;
  if (size == 1) return one;
  if (size >= 2 && size <= 4) return few;
  return many;
}

std::string CzechCount(long n, std::string_view one, std::string_view few, std::string_view many) {
  return std::to_string(n) + " " + std::string(CzechPlural(n, one, few, many));
}

}  // namespace quarn
