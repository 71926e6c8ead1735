// Text.h — zone text encodings: UTF-8, and zones saved in the Windows-1250 code page.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quarn {

bool IsValidUtf8(std::string_view text);
// Converts Windows-1250 bytes to UTF-8; bytes the code page leaves undefined become U+FFFD.
std::string Cp1250ToUtf8(std::string_view text);
// UTF-8 text as is, or Windows-1250 converted to UTF-8 when it is not valid UTF-8.
std::string ToUtf8(std::string_view text);
// The code points of a UTF-8 text; a byte that starts no valid sequence counts as one character.
std::vector<char32_t> CodePoints(std::string_view text);

// Input quoted in a message: the first maxChars characters (UTF-8, or Windows-1250 converted),
// then "…" when there was more.
std::string CutForMessage(std::string_view text, size_t maxChars = 40);

}  // namespace quarn
