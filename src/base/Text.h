// Text.h — text helpers below every folder: UTF-8, Windows-1250 (old zones and titles),
// cutting and escaping what a message quotes, and the Czech words for a file error.
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

// Text that came from outside (a file name, a zone field) made safe to print or show: C0
// control characters other than those in keep, DEL, the C1 controls U+0080..U+009F and bytes
// that are not UTF-8 become "\xNN" ("\u0085" for a C1 character), so an escape sequence cannot
// rewrite the terminal and a line feed in a file name cannot break a message into lines.
// Escaping escaped text changes nothing. keep holds the controls the message itself uses ("\n").
std::string ShowControls(std::string_view text, std::string_view keep = "");

// Why a file could not be opened, in Czech words that fit after a colon: "soubor chybí",
// "chybí oprávnění", ... for the errno value of the failure.
std::string FileErrorInCzech(int errnoValue);

}  // namespace quarn
