// PageFiles.h — in a browser, the player's files in and out of the page (web/PlayerFiles.cpp),
// and how a message names a file there.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace quarn::web {

// Only in a browser (web/PlayerFiles.cpp): the page downloads file as name (its bytes as they
// are) and tells the player told, unless told is empty.
void OfferDownload(const std::filesystem::path& file, const std::string& name,
                   const std::string& told);

// Only in a browser: a zone file the player picked on the page, taken between ticks: put among
// the player's zones (a free name, written whole) when the editor can read it, the player told
// on the page either way. The copy, when one was made.
std::optional<std::filesystem::path> KeepPickedZoneWhenAsked();

// A file as the player's messages name it: on a desktop by its path (ui/Host.cpp); in a browser
// never by the page's own folders: the zone of a link is "zóna z odkazu", a file among the
// player's zones "tvé zóny/NAME"; any other path as it is.
std::string ShownFileName(const std::filesystem::path& file);

}  // namespace quarn::web
