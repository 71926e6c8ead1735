// FlowBrowser.cpp — the player's kept runs in a browser: Shift+O on the start screen sends a zone
// with its best run to beat in a link, Shift+S downloads the runs, and a link's run is raced as
// the ghost. Only the browser build has these (web/Host.cpp hooks them on); on a desktop the runs
// are files the player reaches directly.
#include <memory>
#include <optional>
#include <string>

#include "base/Text.h"
#include "system/Launch.h"
#include "system/Records.h"
#include "ui/Flow.h"
#include "ui/PageFiles.h"

namespace quarn::ui {

bool Flow::PlayWithLinkRun(const std::string& zone, const std::string& runFile) {
  // Whatever is wrong with the link's run is said on the page, and the zone is played without it.
  auto unplayable = [](const std::string& why) {
    system::TellLinkRun("Běh z odkazu nejde přehrát (" + ShowControls(why) +
                        "), zóna se hraje bez něj.");
  };
  auto script = ReadKeyScript(runFile);
  if (auto* error = std::get_if<KeyScriptError>(&script)) {
    unplayable(error->Describe());
    return OpenGame(zone, [this] { app_.Quit(); }, "", false);
  }
  if (!OpenGame(zone, [this] { app_.Quit(); }, "", false)) return false;
  auto run = GhostRun::Play(zone, std::get<KeyScript>(script));
  if (auto* error = std::get_if<OpenError>(&run)) {
    unplayable(error->Describe());
    return true;
  }
  auto raced = std::make_shared<const GhostRun>(std::move(std::get<GhostRun>(run)));
  system::TellLinkRun(raced->WonAt() ? "Překonej čas " + system::SecondsText(*raced->WonAt()) + " s."
                                     : "Běh z odkazu zónu nevyhraje; běží jako duch až do konce.");
  game_->SetGhost(std::move(raced), "průchodu");
  return true;
}

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
