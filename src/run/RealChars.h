// RealChars.h — reals to text and back by the C++ library's own conversions: to_chars and
// from_chars on a desktop (RealChars.cpp). The browser build's library has neither for reals;
// web/RealChars.cpp gives the same text and the same bits with printf and strtod.
#pragma once

#include <string>
#include <string_view>

namespace quarn {

// The shortest text that reads back to v (see RealText).
std::string ShortestRealText(double v);
std::string ShortestRealText(float v);

// A real as std::from_chars reads it (no sign '+', no blanks, no hexadecimal): true when all of
// text is the number.
bool ReadRealText(std::string_view text, double& value);

}  // namespace quarn
