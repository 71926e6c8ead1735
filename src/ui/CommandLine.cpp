// CommandLine.cpp — parsing the program's arguments.
#include "CommandLine.h"

#include <algorithm>

#include "base/Text.h"

namespace quarn::ui {

Options ParseCommandLine(const std::vector<std::string>& args) {
  Options o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      o.Help = true;
    } else if (a == "--version") {
      o.Version = true;
    } else if (a == "--no-sound") {
      o.NoSound = true;
    } else if (a == "--trace-player") {
      o.TracePlayer = true;
    } else if (a == "--records") {
      o.Records = true;
    } else if (a == "--verify") {
      o.Verify = true;
    } else if (a == "--watch") {
      if (i + 1 >= args.size()) {
        o.Error = "--watch potřebuje soubor s průchodem";
        return o;
      }
      o.Watch = args[++i];
    } else if (a.rfind("--watch=", 0) == 0) {
      o.Watch = a.substr(8);
    } else if (a == "--ghost") {
      if (i + 1 >= args.size()) {
        o.Error = "--ghost potřebuje soubor s průchodem";
        return o;
      }
      o.Ghost = args[++i];
    } else if (a.rfind("--ghost=", 0) == 0) {
      o.Ghost = a.substr(8);
    } else if (a == "--zone") {
      if (i + 1 >= args.size()) {
        o.Error = "--zone potřebuje soubor zóny";
        return o;
      }
      o.Zone = args[++i];
    } else if (a.rfind("--zone=", 0) == 0) {
      o.Zone = a.substr(7);
    } else if (a == "--zones") {
      if (i + 1 >= args.size()) {
        o.Error = "--zones potřebuje složku";
        return o;
      }
      o.Zones = args[++i];
    } else if (a.rfind("--zones=", 0) == 0) {
      o.Zones = a.substr(8);
    } else if (a == "--edit") {
      if (i + 1 >= args.size()) {
        o.Error = "--edit potřebuje soubor zóny";
        return o;
      }
      o.Edit = args[++i];
    } else if (a.rfind("--edit=", 0) == 0) {
      o.Edit = a.substr(7);
    } else {
      o.Error = "neznámý argument: " + a;
      return o;
    }
  }
  if (o.Watch && !o.Zone) o.Error = "--watch jde jen s --zone SOUBOR";
  if (o.Ghost && !o.Zone) o.Error = "--ghost jde jen s --zone SOUBOR";
  if (o.Ghost && o.Watch) o.Error = "--ghost a --watch nejdou použít spolu";
  if (o.Edit && o.Zone) o.Error = "--edit a --zone nejdou použít spolu";
  return o;
}

std::string RecordsListing(const std::map<std::string, system::ZoneRecord>& records,
                           const std::function<std::string(const std::string&)>& setOf) {
  std::vector<std::pair<const std::string*, const system::ZoneRecord*>> rows;
  for (const auto& [key, r] : records) rows.emplace_back(&key, &r);
  std::stable_sort(rows.begin(), rows.end(),
                   [](const auto& a, const auto& b) { return a.second->File < b.second->File; });
  auto ticks = [](const std::optional<int64_t>& t) { return t ? std::to_string(*t) : "-"; };
  // The set comes last, so that a reader of the first four columns reads them as before.
  std::string out = "ticks\tticks_with_rewind\ttitle\tfile\tset\n";
  for (const auto& [key, r] : rows) {
    // Mended: titles and file names went out raw: an escape sequence could retitle the terminal,
    // a NUL cut the listing short and a tab broke the columns. Escaped as quarn-zone does.
    const std::string set = setOf ? setOf(*key) : "";
    out += ticks(r->BestPlain) + '\t' + ticks(r->BestRewind) + '\t' + ShowControls(r->Title) + '\t' +
           ShowControls(r->File) + '\t' + (set.empty() ? "-" : ShowControls(set)) + '\n';
  }
  return out;
}

std::string Usage() {
  return "Usage: quarn [--zone FILE [--watch RUN | --ghost RUN] | --edit FILE\n"
         "             | --zones FOLDER]\n"
         "             [--no-sound] [--trace-player]\n"
         "       quarn --records | --verify\n"
         "  --zone FILE      play the zone FILE (a .qrn file) straight away, without the\n"
         "                   start screen; closing the game ends the program\n"
         "  --edit FILE      open the zone FILE in the zone editor (a new zone that is\n"
         "                   saved there when FILE does not exist); closing the editor\n"
         "                   ends the program\n"
         "  --zones FOLDER   list the zones of FOLDER on the start screen instead of the\n"
         "                   zones beside the program and the player's own zones\n"
         "  --watch RUN      with --zone: play the key script RUN in the window (P pauses,\n"
         "                   F runs four times faster, Esc ends; Enter after its end or\n"
         "                   Restart plays it again from the start); nothing is recorded\n"
         "  --ghost RUN      with --zone: race the key script RUN, its figure shown as\n"
         "                   the ghost and its deliveries and win in the splits\n"
         "  --records        print the best times of the zones won (in ticks, 64 a\n"
         "                   second, without and with going back), their titles and\n"
         "                   files, and stop\n"
         "  --verify         replay every kept best run against the zone it is kept for\n"
         "                   and print one line a run: the ticks it wins in, as its\n"
         "                   record says, or why not; the status is the number of runs\n"
         "                   that fail (at most 125)\n"
         "  --no-sound       play without sound and without the question about it\n"
         "  --trace-player   print the player's fine position whenever it changes, and at\n"
         "                   the end how many ticks and frames the run had\n"
         "  --version        print the version and stop\n"
         "  --help           print this text and stop\n"
         "Keys: arrows walk (walking into a box stack takes a box), space puts a carried\n"
         "box down behind you or back on a stack, Ctrl+R restarts, Enter restarts after\n"
         "the end, N opens the next zone after a win, Backspace goes back a second (held,\n"
         "it keeps going; the run then counts as one with rewind), P pauses, Esc goes back\n"
         "to the start screen, F1 shows the help, F11 or Alt+Enter switch fullscreen.\n"
         "Zpomalit and Zrychlit change the game's speed; a slowed run is not timed. Air\n"
         "doors melt as soon as a step ends next to them, also when walking past. On the\n"
         "start screen Enter plays the selected zone, W watches its best saved run, R\n"
         "shows the records of all zones, E opens the zone in the zone editor and Ctrl+N\n"
         "starts a new zone there. In the editor: Ctrl+S saves, Ctrl+Z undoes, Ctrl+Y\n"
         "redoes, F5 plays the zone, Esc closes. In a message: A or Y yes, N no, O OK.\n"
         "Records: $XDG_STATE_HOME/quarn/records.txt\n"
         "Best runs: $XDG_DATA_HOME/quarn/runs\n";
}

}  // namespace quarn::ui
