// PlayerFiles.cpp — the player's files in and out of the page: a zone or a kept run downloaded as
// the very file the game has, and a zone file from the player's disk put among their own zones.
// Downloading is the page's (the game only names the file); a zone from disk is asked for by the
// page and taken by the game between its ticks, since the page may not call into the game while
// the game waits (ASYNCIFY).
#include <emscripten.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "base/Text.h"
#include "ui/PageFiles.h"
#include "system/Copies.h"
#include "system/Folders.h"
#include "zone/Zone.h"

namespace quarn::web {

namespace fs = std::filesystem;

namespace {

// Where the page puts the picked file, and the most it takes (as for a zone in a link).
constexpr const char* PickedZoneFile = "/tmp/nahrana-zona.qrn";
constexpr const char* PickedNameFile = "/tmp/nahrana-zona.jmeno";
constexpr size_t PickedZoneLimit = size_t{1} << 20;
// Where the page puts the zone of a link (web/SharedZone.cpp plays and keeps it).
constexpr const char* SharedZoneFile = "/tmp/sdilena-zona.qrn";

// The name the copy is given: the picked file's own, as a .qrn file the zone list shows.
fs::path CopyNameFor(const std::string& picked) {
  std::string name;
  for (unsigned char c : fs::path(picked).filename().string()) {
    if (c >= 0x20 && c != 0x7f) name += static_cast<char>(c);
  }
  fs::path path(name);
  std::string extension = path.extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == ".qrn") path.replace_extension(".qrn");
  else path += ".qrn";
  if (path.stem().empty() || path.stem() == "." || path.stem() == "..") return "nahrana-zona.qrn";
  return path;
}

// What the page left in file (nothing when there is none), the file gone.
std::string ReadAndRemove(const char* file) {
  std::string content;
  {
    std::ifstream in(file, std::ios::binary);
    content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::error_code ec;
  fs::remove(file, ec);
  return content;
}

void Tell(const std::string& text) {
  EM_ASM({ Module.quarnPicked(UTF8ToString($0)); }, text.c_str());
}

}  // namespace

std::string ShownFileName(const fs::path& file) {
  if (file == SharedZoneFile) return "zóna z odkazu";
  const fs::path own = system::UserZoneFolder().lexically_normal();
  const fs::path relative = file.lexically_normal().lexically_relative(own);
  if (!relative.empty() && *relative.begin() != ".." && relative != ".") {
    return "tvé zóny/" + relative.generic_string();
  }
  return file.string();
}

void OfferDownload(const fs::path& file, const std::string& name, const std::string& told) {
  EM_ASM({ Module.quarnDownload(UTF8ToString($0), UTF8ToString($1), UTF8ToString($2)); },
         file.string().c_str(), name.c_str(), told.c_str());
}

std::optional<fs::path> KeepPickedZoneWhenAsked() {
  const int asked = EM_ASM_INT({
    var asked = Module.quarnPickAsked;
    Module.quarnPickAsked = false;
    return asked ? 1 : 0;
  });
  if (!asked) return std::nullopt;
  const std::string pickedName = ReadAndRemove(PickedNameFile);
  const std::string shown = "„" + ShowControls(pickedName) + "“";

  const std::string content = ReadAndRemove(PickedZoneFile);
  if (content.size() > PickedZoneLimit) {
    Tell("Soubor " + shown + " má víc než 1 MB, taková zóna to není. Do tvých zón se neuložil.");
    return std::nullopt;
  }
  // A zone the editor can open is kept, even one the game would not play yet: its author mends
  // it there. Anything else is no zone, and is not kept: the page has no way to remove a file
  // from the player's zones again.
  const auto readable = ParseZoneText(content, pickedName, ZoneLimits::Editor);
  if (!readable) {
    Tell("Soubor " + shown + " není zóna, do tvých zón se neuložil. " +
         ShowControls(readable.Error().Describe()));
    return std::nullopt;
  }
  const auto copy = system::OwnCopy(CopyNameFor(pickedName), content, system::UserZoneFolder());
  if (!copy) {
    Tell("Zónu " + shown + " nelze uložit: " + ShowControls(copy.Error().Message));
    return std::nullopt;
  }
  std::string told = "Zóna „" + ShowControls(readable->Title) + "“ je v tvých zónách jako " +
                     copy->filename().string() + ".";
  if (const auto playable = ParseZoneText(content, pickedName); !playable) {
    told += " Hrát se zatím nedá, oprav ji v editoru (E): " +
            ShowControls(playable.Error().Describe());
  }
  Tell(told);
  return *copy;
}

}  // namespace quarn::web
