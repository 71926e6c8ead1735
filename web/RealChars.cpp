// RealChars.cpp — reals to text and back in the browser build, whose C++ library has no
// to_chars or from_chars for reals: the text by printf (PortableRealText, held to to_chars by the
// tests), the reading by strtod, which rounds correctly as from_chars does, so that both builds
// read the same bits.
#include <cstdlib>
#include <string>

#include "run/RealChars.h"
#include "run/RealText.h"

namespace quarn {

std::string ShortestRealText(double v) { return PortableRealText(v); }
std::string ShortestRealText(float v) { return PortableRealText(v); }

bool ReadRealText(std::string_view text, double& value) {
  // What from_chars refuses and strtod would take: a leading '+', blanks, hexadecimal.
  if (text.empty() || text.find_first_not_of("+-.0123456789eEinfatyINFATY") != text.npos ||
      text[0] == '+' || text.find_first_of("xX") != text.npos) {
    return false;
  }
  const std::string copy(text);
  char* end = nullptr;
  value = std::strtod(copy.c_str(), &end);
  return end == copy.c_str() + copy.size();
}

}  // namespace quarn
