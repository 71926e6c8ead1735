// Main.cpp — the quarn program: the start screen, --zone one zone played, --edit the zone editor.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <map>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Dialog.h"
#include "Flow.h"
#include "GameScreen.h"
#include "Host.h"
#include "KeyFeed.h"
#include "PadKeys.h"
#include "base/Text.h"
#include "base/Writing.h"
#include "platform/App.h"
#include "run/RunRecorder.h"
#include "sound/SoundModule.h"
#include "system/Catalogue.h"
#include "system/Folders.h"
#include "system/Leftovers.h"
#include "system/Recovery.h"
#include "system/Records.h"
#include "system/SafeFile.h"
#include "ui/RunProof.h"
#include "ui/VerifyRuns.h"
#include "ui/Version.h"

namespace {

struct ListedZone {
  std::string ContentKey;
  std::filesystem::path File;
  std::string Set;
};

// The zones the start screen lists (the shipped sets, the player's own), by content.
std::vector<ListedZone> ListedZones() {
  using namespace quarn;
  const std::filesystem::path data = system::DataFolder(platform::ProgramFolder());
  std::vector<system::CatalogueRoot> roots{
      {system::ShippedZoneFolder(data), system::ShippedSetTitle, true}};
  if (system::FolderTrusted(system::UserZoneFolder()))
    roots.push_back({system::UserZoneFolder(), system::OwnSetTitle, false});
  system::Catalogue catalogue(std::move(roots));
  catalogue.Refresh();
  std::vector<ListedZone> listed;
  for (const system::ZoneSet& set : catalogue.Sets()) {
    for (const system::ZoneEntry& zone : set.Zones) {
      if (const auto key = system::ZoneContentKey(zone.File)) {
        listed.push_back({*key, zone.File, set.Title});
      }
    }
  }
  return listed;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quarn;
  const ui::GameEndTold gameEndTold;
  const ui::Options options = ui::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (!options.Error.empty()) {
    std::fprintf(stderr, "quarn: %s\n%s", ShowControls(options.Error).c_str(), ui::Usage().c_str());
    return 2;
  }
  if (options.Help) {
    std::fputs(ui::Usage().c_str(), stdout);
    return 0;
  }
  if (options.Version) {
    std::printf("Quarn %s\n", QUARN_VERSION_TEXT);
    return 0;
  }

  if (options.Records) {
    // A folder others may write to is not read: what it holds may be anyone's.
    if (auto trusted = system::FolderTrusted(system::StateFolder()); !trusted) {
      std::fprintf(stderr, "quarn: záznamy se nečtou: %s\n", trusted.Error().Message.c_str());
      return 1;
    }
    auto records = system::ReadRecordsFile(system::StateFolder());
    if (!records) {
      std::fprintf(stderr, "quarn: záznamy nelze přečíst: %s\n",
                   ShowControls(records.Error().Message).c_str());
      return 1;
    }
    // As the start screen reads them: a kept run whose record a killed game did not write counts.
    if (system::FolderTrusted(system::RunFolder())) {
      for (const std::string& told :
           system::AddKeptRuns(system::RunFolder(), *records, ui::ProveKeptRun)) {
        std::fprintf(stderr, "quarn: %s\n", told.c_str());
      }
    }
    // Each record names the set its zone is listed in, found by the zone's content.
    std::map<std::string, std::string> sets;
    for (const ListedZone& zone : ListedZones()) sets.emplace(zone.ContentKey, zone.Set);
    std::fputs(ui::RecordsListing(*records,
                                  [&](const std::string& key) {
                                    const auto found = sets.find(key);
                                    return found == sets.end() ? std::string() : found->second;
                                  })
                   .c_str(),
               stdout);
    return 0;
  }

  if (options.Verify) {
    if (auto trusted = system::FolderTrusted(system::RunFolder()); !trusted) {
      std::fprintf(stderr, "quarn: uložené průchody se nečtou: %s\n",
                   trusted.Error().Message.c_str());
      return 1;
    }
    // A run whose head names a file that moved or changed is proved against the listed zone of
    // its content.
    std::map<std::string, std::filesystem::path> zones;
    for (const ListedZone& zone : ListedZones()) zones.emplace(zone.ContentKey, zone.File);
    std::string lines;
    const int failed = ui::VerifyKeptRuns(system::RunFolder(), zones, lines);
    if (lines.empty()) {
      std::fprintf(stderr, "quarn: ve složce %s není žádný uložený průchod\n",
                   ShowControls(system::RunFolder().string()).c_str());
    }
    std::fputs(lines.c_str(), stdout);
    return std::min(failed, 125);
  }

  const std::filesystem::path data = system::DataFolder(platform::ProgramFolder());
  ui::FlowFolders folders;
  folders.Data = data;
  folders.Shipped = system::ShippedZoneFolder(data);
  folders.UserZones = system::UserZoneFolder();
  if (auto made = system::MakePrivateFolder(folders.UserZones); !made) {
    // The game goes on with the shipped zones alone; nothing is read from or written there.
    folders.UserZonesRefused =
        made.Error().Message + "\nTvé zóny se nenačtou a kopie zón pro úpravy se neuloží.";
    folders.RefusedZones = folders.UserZones;
    folders.UserZones.clear();
    // The start screen tells it in the dialog, which writes it to stderr as well.
    if (options.Zone) std::fprintf(stderr, "quarn: %s\n", folders.UserZonesRefused.c_str());
  }
  folders.State = system::StateFolder();
  folders.Config = system::ConfigFolder();
  folders.Runs = system::RunFolder();
  // A game killed while writing leaves its temporary file; those older than a minute go, in the
  // folders the game writes that are the player's own: its state, the editor's recovery copies,
  // the kept runs, the player's zones and their sets, a --zones folder, the edited zone's folder.
  std::vector<std::filesystem::path> written{
      folders.State,
      folders.State.empty() ? std::filesystem::path() : system::RecoveryFolder(folders.State),
      folders.Runs, folders.UserZones,
      options.Zones ? std::filesystem::absolute(*options.Zones) : std::filesystem::path(),
      options.Edit ? std::filesystem::absolute(*options.Edit).parent_path()
                   : std::filesystem::path()};
  if (!folders.UserZones.empty()) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folders.UserZones, ec), end; !ec && it != end;
         it.increment(ec)) {
      if (it->is_directory(ec) && !it->is_symlink(ec)) written.push_back(it->path());
    }
  }
  for (const std::filesystem::path& folder : written) {
    if (!folder.empty() && system::FolderTrusted(folder)) {
      system::RemoveStaleTemporaries(folder);
    }
  }
  if (options.Zones) {
    folders.ZoneFolders = {system::CatalogueRoot(*options.Zones)};
  } else {
    folders.ZoneFolders = {{folders.Shipped, system::ShippedSetTitle, true}};
    if (!folders.UserZones.empty()) folders.ZoneFolders.push_back({folders.UserZones, system::OwnSetTitle});
  }

  try {
    KeyState keys;
    ui::KeyFeed keyFeed(keys);
    platform::SteadyClock clock;
    // An end forced by a signal lets a file being written whole finish first.
    platform::SetWritingCount([] { return FilesBeingWritten(); });
    platform::App app(keyFeed, clock);
    // Pads: SDL's mappings, SDL_GAMECONTROLLERCONFIG's and the player's own file.
    app.PadKeys = ui::MenuPadKeys();
    app.UsePads((system::ConfigFolder() / "gamecontrollerdb.txt").string());
    // The game reads its keys once per tick, so that a run can be recorded and played back.
    TickKeys tickKeys(keys);
    ProgramContext program(tickKeys, &tickKeys);
    SoundModule sound(data);
    // Without the question, sound is on unless --no-sound turns it off.
    sound.SetEnabled(!options.NoSound);
    ui::Dialog dialog(app, data);
    ui::Flow flow(app, program, sound, dialog, folders);

    // The trace: the player's position whenever it changes, and at the end how many ticks and
    // frames the run had, to check the game's speed from outside.
    int64_t ticks = 0, firstTickNs = 0, lastTickNs = 0, presents = 0, unchanged = 0;
    if (options.TracePlayer) {
      flow.OnNewGameScreen = [&](ui::GameScreen& screen) {
        screen.OnTicked = [&, shown = &screen, last = std::pair{-1, -1}]() mutable {
          lastTickNs = clock.NowNs();
          if (ticks++ == 0) firstTickNs = lastTickNs;
          presents = shown->Window().Presents();
          unchanged = shown->Window().Unchanged();
          const GameState& s = shown->TheGame().State;
          if (last == std::pair{s.PlayerX, s.PlayerY}) return;
          last = {s.PlayerX, s.PlayerY};
          std::printf("player %d %d\n", s.PlayerX, s.PlayerY);
          std::fflush(stdout);
        };
      };
    }
    // The page's hooks, in a browser (web/Host.cpp).
    ui::Host host;
    host.Attach(app, flow, options);
    if (options.Edit) {
      if (!flow.EditOnly(*options.Edit)) {
        return platform::SignalReceived() ? 128 + platform::SignalReceived() : 2;
      }
    } else if (options.Zone) {
      // A signal that ended the load's message box ends the program as a signal does.
      std::optional<std::string> watch;
      if (options.Watch) watch = *options.Watch;
      if (!flow.PlayOnly(*options.Zone, watch, options.Ghost)) {
        host.ZoneEnded();
        return platform::SignalReceived() ? 128 + platform::SignalReceived() : 2;
      }
    } else {
      flow.Begin(!options.NoSound);
    }
    host.Listen();
    app.Run();
    if (options.Zone) host.ZoneEnded();
    // Ended by a signal: the editor's unsaved changes are kept before anything else goes.
    if (platform::SignalReceived()) flow.KeepUnsavedWork();
    if (options.TracePlayer) {
      // Rates over the span from the first tick to the last one.
      const double seconds = static_cast<double>(lastTickNs - firstTickNs) / 1e9;
      const double perSecond = seconds > 0 ? 1 / seconds : 0;
      std::printf("ran %.3f s: %lld ticks (%.2f/s), %lld frames (%.2f/s), %lld unchanged\n",
                  seconds, static_cast<long long>(ticks),
                  static_cast<double>(ticks - 1) * perSecond, static_cast<long long>(presents),
                  static_cast<double>(presents) * perSecond, static_cast<long long>(unchanged));
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "quarn: %s\n", ShowControls(e.what()).c_str());
    return 1;
  }
  // Ended by SIGTERM, SIGINT or SIGHUP: the status says so, as the shell expects.
  if (const int ended = platform::SignalReceived()) return 128 + ended;
  return 0;
}
