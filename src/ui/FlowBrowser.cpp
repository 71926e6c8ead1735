// FlowBrowser.cpp — what the start screen's browser keys do with the player's kept runs: Shift+O
// sends a zone with its best run to beat in a link, Shift+S downloads the runs. Only the browser
// build has these keys; on a desktop the runs are files the player reaches directly.
#ifdef __EMSCRIPTEN__
#include <optional>
#include <string>

#include "Flow.h"
#include "PageFiles.h"
#include "base/Text.h"
#include "system/Launch.h"
#include "system/Records.h"

namespace quarn::ui {

void Flow::ShareWithRun(const std::filesystem::path& zone, const std::string& title) {
  const auto key = keeper_.ContentKeyOf(zone);
  const auto best = key ? keeper_.BestRunOf(*key) : std::nullopt;
  const system::ZoneRecord* record = key ? keeper_.Find(*key) : nullptr;
  if (!best || !record) {
    prompter_.SkinMsgBox("Zóna „" + ShowControls(title) +
                             "“ zatím nemá uložený průchod, odkaz s během k ní nejde udělat.\n"
                             "Vyhraj ji a hra si ho zapamatuje.",
                         msgbox::OkOnly, msgbox::IconInformation, "");
    return;
  }
  std::optional<int64_t> ticks = record->BestPlain;
  if (record->BestRewind && (!ticks || *record->BestRewind < *ticks)) ticks = record->BestRewind;
  system::ShareZoneLink(zone, title, *best, ticks ? system::SecondsText(*ticks) + " s" : "");
}

void Flow::DownloadRuns(const std::filesystem::path& zone, const std::string& title) {
  const auto key = keeper_.ContentKeyOf(zone);
  const auto best = key ? keeper_.BestRunOf(*key) : std::nullopt;
  if (!best) {
    prompter_.SkinMsgBox("Zóna „" + title +
                             "“ zatím nemá uložený průchod, není co stáhnout.\nVyhraj ji a hra si "
                             "ho zapamatuje.",
                         msgbox::OkOnly, msgbox::IconInformation, "");
    return;
  }
  // Named after the zone, by kind as the game names them; the bytes are the kept file's.
  const std::string rewoundSuffix = ".zpet.keys";
  const std::string bestName = best->filename().string();
  const bool bestRewound = bestName.size() >= rewoundSuffix.size() &&
                           bestName.compare(bestName.size() - rewoundSuffix.size(),
                                            rewoundSuffix.size(), rewoundSuffix) == 0;
  const std::string stem = zone.stem().string();
  auto nameOf = [&](bool rewound) { return stem + (rewound ? rewoundSuffix : ".keys"); };
  // The other kind, when the zone keeps one too, comes after the best.
  const auto other = system::FindRun(folders_.Runs, *key, !bestRewound);
  if (!other) {
    web::OfferDownload(*best, nameOf(bestRewound),
                       "Stahuje se nejlepší průchod zónou „" + title + "“ (" +
                           nameOf(bestRewound) + ").");
    return;
  }
  web::OfferDownload(*best, nameOf(bestRewound), "");
  web::OfferDownload(*other, nameOf(!bestRewound),
                     "Stahují se oba uložené průchody zónou „" + title + "“: " +
                         nameOf(bestRewound) + " (nejlepší) a " + nameOf(!bestRewound) + ".");
}

}  // namespace quarn::ui
#endif
