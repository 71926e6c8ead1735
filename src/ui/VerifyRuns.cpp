// VerifyRuns.cpp — the player's kept runs replayed against their zones.
#include "VerifyRuns.h"

#include <algorithm>
#include <system_error>
#include <vector>

#include "base/Plural.h"
#include "base/Text.h"
#include "run/Replay.h"
#include "system/Records.h"
#include "system/SafeFile.h"

namespace quarn::ui {

namespace fs = std::filesystem;

namespace {

std::string Time(int64_t ticks) {
  return CzechCount(static_cast<long>(ticks), "tik", "tiky", "tiků") + " (" +
         system::SecondsText(ticks) + " s)";
}

}  // namespace

std::string VerdictInCzech(const RunVerdict& check) {
  using Verdict = RunVerdict::Kind;
  switch (check.What) {
    case Verdict::Wins:
      return "vyhrává za " + Time(check.Ticks) + (check.Claimed ? ", jak je zapsáno" : "");
    case Verdict::TimeDiffers:
      return "vyhrává za " + Time(check.Ticks) + ", ne za " +
             CzechCount(static_cast<long>(*check.Claimed), "tik", "tiky", "tiků") +
             ", jak o sobě tvrdí";
    case Verdict::NoWin:
      return "zónu nevyhraje (přehráno " +
             CzechCount(static_cast<long>(check.Played), "tik", "tiky", "tiků") + ")";
    case Verdict::OtherZone:
      return "je průchodem jiné zóny: " + check.Detail;
    case Verdict::Unreadable:
      return "nejde přečíst: " + check.Detail;
    case Verdict::ZoneFails:
      return "zónu nejde otevřít: " + check.Detail;
    case Verdict::ReloadFails:
      return "zónu se během průchodu nepodařilo znovu načíst: " + check.Detail;
  }
  return "";
}

int VerifyKeptRuns(const fs::path& runFolder, const std::map<std::string, fs::path>& zones,
                   std::string& out) {
  std::vector<fs::path> runs;
  std::error_code ec;
  for (fs::directory_iterator it(runFolder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (system::KeptRunKey(name) && name.ends_with(".keys")) runs.push_back(it->path());
  }
  std::sort(runs.begin(), runs.end());
  int failed = 0;
  for (const fs::path& run : runs) {
    const std::string name = run.filename().string();
    const std::string key = *system::KeptRunKey(name);
    std::string said;
    bool proved = false;
    const auto text = system::ReadWhole(run, static_cast<size_t>(MaxKeyScriptBytes));
    if (!text) {
      said = "nejde přečíst: " + text.Error().Message;
    } else {
      // The file the head names, while it is still that zone; else where that zone is listed.
      fs::path zone = system::RunHeadLine(*text, "soubor");
      if (zone.empty() || system::ZoneContentKey(zone) != key) {
        const auto listed = zones.find(key);
        zone = listed == zones.end() ? fs::path() : listed->second;
      }
      if (zone.empty()) {
        said = "zóna, pro kterou je uložen, tu už není (soubor v jeho hlavičce chybí nebo drží "
               "jinou zónu)";
      } else {
        const RunVerdict check = CheckRun(zone.string(), *text, name, system::RunTicksOf(*text));
        said = VerdictInCzech(check);
        proved = check.Proved();
        if (proved) said += " v zóně " + zone.string();
      }
    }
    if (!proved) ++failed;
    out += ShowControls(name) + ": " + ShowControls(said) + "\n";
  }
  return failed;
}

}  // namespace quarn::ui
