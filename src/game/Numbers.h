// Numbers.h — the arithmetic every rule shares: rounding, floor, the odd remainder, 16-bit flags.
#pragma once

#include <cmath>
#include <cstdint>

namespace quarn {

// Flags are 16-bit integers holding -1 (true) or 0 (false); zone logic tests them bitwise.
using Flag16 = int16_t;
inline constexpr Flag16 FlagTrue = -1;
inline constexpr Flag16 FlagFalse = 0;

// Round: to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
inline int64_t Round(double v) { return static_cast<int64_t>(std::nearbyint(v)); }

// Int: the floor (-0.5 -> -1), not truncation toward zero.
inline int64_t Int(double v) { return static_cast<int64_t>(std::floor(v)); }

// Mod: both operands are rounded first (halves to even), the result takes the dividend's sign.
// A divisor that rounds to 0 has no remainder; callers must not ask for one.
inline int64_t Mod(double a, double b) { return Round(a) % Round(b); }

// A real number used as an index is taken to the nearest whole number, halves to even.
inline int IndexOf(double v) { return static_cast<int>(Round(v)); }

// Even, as the drawing tests it: the remainder of division by 2 is 0.
inline bool IsEven(int64_t v) { return v % 2 == 0; }

}  // namespace quarn
