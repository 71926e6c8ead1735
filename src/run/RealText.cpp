// RealText.cpp — shortest round-trip text of reals: by the library (RealChars.h) or by printf and
// strtod.
#include "RealText.h"
#include "RealChars.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace quarn {
namespace {

template <typename Real>
bool ReadsBack(const char* text, Real v) {
  if constexpr (sizeof(Real) == sizeof(float)) {
    return std::strtof(text, nullptr) == v;
  } else {
    return std::strtod(text, nullptr) == v;
  }
}

template <typename Real>
std::string Portable(Real v) {
  if (std::isnan(v)) return std::signbit(v) ? "-nan" : "nan";
  if (std::isinf(v)) return v < 0 ? "-inf" : "inf";
  if (v == 0) return std::signbit(v) ? "-0" : "0";
  // The fewest significant digits that read back: printf rounds v correctly to each count, and
  // the nearest text of a length reads back whenever any text of that length does.
  constexpr int MostDigits = sizeof(Real) == sizeof(float) ? 9 : 17;
  char sci[64];
  int digits = 1;
  for (; digits <= MostDigits; ++digits) {
    std::snprintf(sci, sizeof sci, "%.*e", digits - 1, static_cast<double>(v));
    if (ReadsBack(sci, v)) break;
  }
  // sci is "-d.ddde±XX": its digits and exponent give the fixed notation.
  const bool negative = sci[0] == '-';
  const char* p = sci + (negative ? 1 : 0);
  std::string mantissa;
  for (; *p != 'e'; ++p) {
    if (*p != '.') mantissa += *p;
  }
  const int exponent = std::atoi(p + 1);
  std::string fixed;
  const int length = static_cast<int>(mantissa.size());
  if (exponent >= length - 1) {
    // A whole number: to_chars writes its exact digits, not the shortest ones padded with zeros.
    char whole[400];
    std::snprintf(whole, sizeof whole, "%.0f", std::fabs(static_cast<double>(v)));
    fixed = whole;
  } else if (exponent < 0) {
    fixed = "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + mantissa;
  } else {
    fixed = mantissa.substr(0, static_cast<size_t>(exponent + 1)) + "." +
            mantissa.substr(static_cast<size_t>(exponent + 1));
  }
  std::string scientific = sci + (negative ? 1 : 0);
  if (negative) {
    fixed.insert(fixed.begin(), '-');
    scientific.insert(scientific.begin(), '-');
  }
  return fixed.size() <= scientific.size() ? fixed : scientific;
}

}  // namespace

std::string RealText(double v) { return ShortestRealText(v); }
std::string RealText(float v) { return ShortestRealText(v); }
std::string PortableRealText(double v) { return Portable(v); }
std::string PortableRealText(float v) { return Portable(v); }

}  // namespace quarn
