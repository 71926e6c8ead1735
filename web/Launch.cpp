// Launch.cpp — links and the text editor in a browser: a link opens in a new tab, a zone for a
// text editor is downloaded, and a zone's own link is made by the page. A page starts no
// programs.
#include <emscripten.h>

#include <filesystem>
#include <fstream>
#include <system_error>

#include "system/Launch.h"

namespace quarn::system {

namespace fs = std::filesystem;

bool StartDetached(const std::vector<std::string>&) { return false; }

bool OpenLink(const std::string& link) {
  EM_ASM({ window.open(UTF8ToString($0), "_blank", "noopener"); }, link.c_str());
  return true;
}

bool OpenInEditor(const fs::path& file) {
  EM_ASM(
      {
        var path = UTF8ToString($0);
        var a = document.createElement("a");
        a.href = URL.createObjectURL(new Blob([FS.readFile(path)], {type : "text/plain"}));
        a.download = path.split("/").pop();
        document.body.appendChild(a);
        a.click();
        a.remove();
      },
      file.string().c_str());
  return true;
}

// The page compresses the file and makes the link (web/index.html): the browser has the
// compressor, and the clipboard is the page's.
void ShareZoneLink(const fs::path& zone, const std::string& title, const fs::path& run,
                   const std::string& time) {
  EM_ASM({ Module.quarnShareZone(UTF8ToString($0), UTF8ToString($1), UTF8ToString($2),
                                 UTF8ToString($3)); },
         zone.string().c_str(), title.c_str(), run.string().c_str(), time.c_str());
}

void TellLinkRun(const std::string& said) {
  EM_ASM({ Module.quarnLinkRun = UTF8ToString($0); }, said.c_str());
}

void ShareZoneText(const std::string& zoneText, const std::string& title) {
  // In the page's memory, not in the player's storage: the page reads it once, for the link.
  const fs::path file = "/tmp/quarn-odkaz-na-zonu.qrn";
  // A write that fails leaves no file of an earlier link: the page then says it made none.
  std::error_code ec;
  fs::remove(file, ec);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << zoneText;
  out.close();
  ShareZoneLink(file, title);
}

}  // namespace quarn::system
