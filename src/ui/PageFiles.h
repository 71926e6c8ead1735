// PageFiles.h — in a browser, the player's files in and out of the page (web/PlayerFiles.cpp).
#pragma once

#ifdef __EMSCRIPTEN__
#include <filesystem>
#include <optional>
#include <string>

namespace quarn::web {

// The page downloads file as name (its bytes as they are) and tells the player told, unless told
// is empty.
void OfferDownload(const std::filesystem::path& file, const std::string& name,
                   const std::string& told);

// A zone file the player picked on the page, taken between ticks: put among the player's zones
// (a free name, written whole) when the editor can read it, the player told on the page either
// way. The copy, when one was made.
std::optional<std::filesystem::path> KeepPickedZoneWhenAsked();

}  // namespace quarn::web
#endif
