// PageFiles.h — in a browser, the player's files in and out of the page (web/PlayerFiles.cpp),
// and how a message names a file there.
#pragma once

#include <filesystem>
#include <string>

#ifdef __EMSCRIPTEN__
#include <optional>

namespace quarn::web {

// The page downloads file as name (its bytes as they are) and tells the player told, unless told
// is empty.
void OfferDownload(const std::filesystem::path& file, const std::string& name,
                   const std::string& told);

// A zone file the player picked on the page, taken between ticks: put among the player's zones
// (a free name, written whole) when the editor can read it, the player told on the page either
// way. The copy, when one was made.
std::optional<std::filesystem::path> KeepPickedZoneWhenAsked();

// A file of the page as the player's messages name it, never by the page's own folders: the zone
// of a link is "zóna z odkazu", a file among the player's zones "tvé zóny/NAME"; any other path as
// it is.
std::string ShownFileName(const std::filesystem::path& file);

}  // namespace quarn::web
#else
namespace quarn::web {

// On a desktop a message names a file by its path.
inline std::string ShownFileName(const std::filesystem::path& file) { return file.string(); }

}  // namespace quarn::web
#endif
