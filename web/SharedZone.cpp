// SharedZone.cpp — "Uložit do mých zón" on the page, for a zone opened from a link: the player's
// own copy of the zone, written whole into their zone folder as any of their zones is, and listed
// on the start screen from then on. The page only asks; the game takes the request between its
// ticks, since the page may not call into the game while the game waits (ASYNCIFY). The page
// offers it only once the game is playing the zone: a zone the loader refused is not one to keep.
#include <emscripten.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "system/Copies.h"
#include "system/Folders.h"

namespace quarn::web {

namespace {
// Where the page puts the zone it unpacked from its link.
constexpr const char* SharedZoneFile = "/tmp/sdilena-zona.qrn";
}  // namespace

void KeepSharedZoneWhenAsked() {
  // Called first between the ticks of the zone just opened: the zone plays, so it may be kept.
  static bool offered = false;
  if (!offered) {
    offered = true;
    std::error_code ec;
    if (std::filesystem::is_regular_file(SharedZoneFile, ec)) {
      // With what the game said of the link's run (system::TellLinkRun), when it had one.
      EM_ASM({ if (Module.quarnOfferKeep) Module.quarnOfferKeep(Module.quarnLinkRun || ""); });
    }
  }
  const int asked = EM_ASM_INT({
    var asked = Module.quarnKeepAsked;
    Module.quarnKeepAsked = false;
    return asked ? 1 : 0;
  });
  if (!asked) return;
  // The zone the page unpacked from its link.
  std::ifstream in(SharedZoneFile, std::ios::binary);
  const std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::string told;
  if (!in || content.empty()) {
    told = "Zónu z odkazu nelze přečíst.";
  } else {
    const auto copy = system::OwnCopy("sdilena-zona.qrn", content, system::UserZoneFolder());
    told = copy ? "Zóna je uložena v tvých zónách jako " + copy->filename().string() + "."
                : "Zónu nelze uložit: " + copy.Error().Message;
  }
  EM_ASM({ Module.quarnKept(UTF8ToString($0)); }, told.c_str());
}

}  // namespace quarn::web
