// RealText.h — a real number as the shortest text that reads back to the same bits.
#pragma once

#include <string>

namespace quarn {

// What std::to_chars(first, last, v) writes: the fewest significant digits that read back to v,
// in fixed or scientific notation, whichever is shorter (fixed on a tie). Reports and run files
// write their reals this way, so that a run written in one build reads back alike in another.
std::string RealText(double v);
std::string RealText(float v);

// The same text made with printf and strtod alone, for a C++ library without a real to_chars
// (the browser build's). Exposed so the tests can hold it to to_chars.
std::string PortableRealText(double v);
std::string PortableRealText(float v);

}  // namespace quarn
