// TitleWidth.cpp — the advance widths of the list's font and the width of a title in it.
#include "TitleWidth.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace quarn {

namespace {

struct Advance {
  char32_t Code;
  int Pixels;
};

// Liberation Sans Bold at 13 px as SDL_ttf lays it out (whole-pixel advances): printable ASCII,
// the Czech letters, a few German ones and the typographic quotes, dash and ellipsis. The
// platform tests compare it with the font itself.
constexpr Advance Advances[] = {
    {0x0020, 4},  {0x0021, 4}, {0x0022, 6}, {0x0023, 7},  {0x0024, 7},  {0x0025, 12}, {0x0026, 9},
    {0x0027, 3},  {0x0028, 4}, {0x0029, 4}, {0x002A, 5},  {0x002B, 8},  {0x002C, 4},  {0x002D, 4},
    {0x002E, 4},  {0x002F, 4}, {0x0030, 7}, {0x0031, 7},  {0x0032, 7},  {0x0033, 7},  {0x0034, 7},
    {0x0035, 7},  {0x0036, 7}, {0x0037, 7}, {0x0038, 7},  {0x0039, 7},  {0x003A, 4},  {0x003B, 4},
    {0x003C, 8},  {0x003D, 8}, {0x003E, 8}, {0x003F, 8},  {0x0040, 13}, {0x0041, 9},  {0x0042, 9},
    {0x0043, 9},  {0x0044, 9}, {0x0045, 9}, {0x0046, 8},  {0x0047, 10}, {0x0048, 9},  {0x0049, 4},
    {0x004A, 7},  {0x004B, 9}, {0x004C, 8}, {0x004D, 11}, {0x004E, 9},  {0x004F, 10}, {0x0050, 9},
    {0x0051, 10}, {0x0052, 9}, {0x0053, 9}, {0x0054, 8},  {0x0055, 9},  {0x0056, 9},  {0x0057, 12},
    {0x0058, 9},  {0x0059, 9}, {0x005A, 8}, {0x005B, 4},  {0x005C, 4},  {0x005D, 4},  {0x005E, 8},
    {0x005F, 7},  {0x0060, 4}, {0x0061, 7}, {0x0062, 8},  {0x0063, 7},  {0x0064, 8},  {0x0065, 7},
    {0x0066, 4},  {0x0067, 8}, {0x0068, 8}, {0x0069, 4},  {0x006A, 4},  {0x006B, 7},  {0x006C, 4},
    {0x006D, 12}, {0x006E, 8}, {0x006F, 8}, {0x0070, 8},  {0x0071, 8},  {0x0072, 5},  {0x0073, 7},
    {0x0074, 4},  {0x0075, 8}, {0x0076, 7}, {0x0077, 10}, {0x0078, 7},  {0x0079, 7},  {0x007A, 7},
    {0x007B, 5},  {0x007C, 4}, {0x007D, 5}, {0x007E, 8},  {0x00E1, 7},  {0x010D, 7},  {0x010F, 9},
    {0x00E9, 7},  {0x011B, 7}, {0x00ED, 4}, {0x0148, 8},  {0x00F3, 8},  {0x0159, 5},  {0x0161, 7},
    {0x0165, 6},  {0x00FA, 8}, {0x016F, 8}, {0x00FD, 7},  {0x017E, 7},  {0x00C1, 9},  {0x010C, 9},
    {0x010E, 9},  {0x00C9, 9}, {0x011A, 9}, {0x00CD, 4},  {0x0147, 9},  {0x00D3, 10}, {0x0158, 9},
    {0x0160, 9},  {0x0164, 8}, {0x00DA, 9}, {0x016E, 9},  {0x00DD, 9},  {0x017D, 8},  {0x00E4, 7},
    {0x00F6, 8},  {0x00FC, 8}, {0x00C4, 9}, {0x00D6, 10}, {0x00DC, 9},  {0x201E, 7},  {0x201C, 7},
    {0x2026, 13}, {0x2013, 7},
};

constexpr int Widest = 13;

// The next character of UTF-8 text; a byte that starts no valid sequence counts as one
// unknown character.
char32_t Next(std::string_view text, size_t& at) {
  const auto b = static_cast<unsigned char>(text[at]);
  const int length = b < 0x80           ? 1
                     : (b >> 5) == 0x6  ? 2
                     : (b >> 4) == 0xE  ? 3
                     : (b >> 3) == 0x1E ? 4
                                        : 0;
  if (length == 0 || at + static_cast<size_t>(length) > text.size()) {
    ++at;
    return 0xFFFD;
  }
  char32_t code = length == 1 ? b : b & (0x7F >> length);
  for (int i = 1; i < length; ++i) {
    const auto c = static_cast<unsigned char>(text[at + static_cast<size_t>(i)]);
    if ((c & 0xC0) != 0x80) {
      ++at;
      return 0xFFFD;
    }
    code = (code << 6) | (c & 0x3F);
  }
  at += static_cast<size_t>(length);
  return code;
}

}  // namespace

int ListTitleWidth(std::string_view utf8) {
  // The last glyph of a bold face may reach a pixel past its advance.
  int width = utf8.empty() ? 0 : 1;
  for (size_t at = 0; at < utf8.size();) {
    const char32_t code = Next(utf8, at);
    const auto* found = std::find_if(std::begin(Advances), std::end(Advances),
                                     [&](const Advance& a) { return a.Code == code; });
    width += found == std::end(Advances) ? Widest : found->Pixels;
  }
  return width;
}

}  // namespace quarn
