// SharedZone.cpp — "Uložit do mých zón" on the page, for a zone opened from a link: the player's
// own copy of the zone, written whole into their zone folder as any of their zones is, and listed
// on the start screen from then on. The page only asks; the game takes the request between its
// ticks, since the page may not call into the game while the game waits (ASYNCIFY).
#include <emscripten.h>

#include <fstream>
#include <iterator>
#include <string>

#include "system/Copies.h"
#include "system/Folders.h"

namespace quarn::web {

void KeepSharedZoneWhenAsked() {
  const int asked = EM_ASM_INT({
    var asked = Module.quarnKeepAsked;
    Module.quarnKeepAsked = false;
    return asked ? 1 : 0;
  });
  if (!asked) return;
  // The zone the page unpacked from its link.
  std::ifstream in("/tmp/sdilena-zona.qrn", std::ios::binary);
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
