// TitleWidth.h — how wide a zone's title is drawn in the start screen's list, without a font.
#pragma once

#include <string_view>

namespace quarn {

// The room for a title in the start screen's list: 140 pixels inside its frame, less the scroll
// bar (12) and the text's indent (2).
inline constexpr int ListTitleRoom = 126;

// The width in pixels of a UTF-8 title in the list's font (bold Arial 9.75 pt, drawn with
// Liberation Sans Bold at 13 px): the sum of the glyphs' advances from a table of that font,
// a character not in the table counted as the widest one, so a title is never taken as
// narrower than it is drawn.
int ListTitleWidth(std::string_view utf8);

}  // namespace quarn
