// RealChars.cpp — reals to text and back by to_chars and from_chars.
#include "RealChars.h"

#include <charconv>
#include <system_error>

namespace quarn {

namespace {
template <typename Real>
std::string Shortest(Real v) {
  char buf[64];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, ec == std::errc{} ? end : buf);
}
}  // namespace

std::string ShortestRealText(double v) { return Shortest(v); }
std::string ShortestRealText(float v) { return Shortest(v); }

bool ReadRealText(std::string_view text, double& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc{} && end == text.data() + text.size();
}

}  // namespace quarn
