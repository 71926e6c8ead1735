// CommandLine.cpp — parsing the program's arguments.
#include "CommandLine.h"

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
    } else if (a == "--zone") {
      if (i + 1 >= args.size()) {
        o.Error = "--zone needs a zone file";
        return o;
      }
      o.Zone = args[++i];
    } else if (a.rfind("--zone=", 0) == 0) {
      o.Zone = a.substr(7);
    } else if (a == "--zones") {
      if (i + 1 >= args.size()) {
        o.Error = "--zones needs a folder";
        return o;
      }
      o.Zones = args[++i];
    } else if (a.rfind("--zones=", 0) == 0) {
      o.Zones = a.substr(8);
    } else if (a == "--edit") {
      if (i + 1 >= args.size()) {
        o.Error = "--edit needs a zone file";
        return o;
      }
      o.Edit = args[++i];
    } else if (a.rfind("--edit=", 0) == 0) {
      o.Edit = a.substr(7);
    } else {
      o.Error = "unknown argument: " + a;
      return o;
    }
  }
  if (o.Edit && o.Zone) o.Error = "--edit and --zone cannot be used together";
  return o;
}

std::string Usage() {
  return "Usage: quarn [--zone FILE | --edit FILE | --zones FOLDER] [--no-sound]\n"
         "  --zone FILE      play the zone FILE (a .qrn file) straight away, without the\n"
         "                   start screen; closing the game ends the program\n"
         "  --edit FILE      open the zone FILE in the zone editor (a new zone that is\n"
         "                   saved there when FILE does not exist); closing the editor\n"
         "                   ends the program\n"
         "  --zones FOLDER   list the zones of FOLDER on the start screen instead of the\n"
         "                   zones beside the program and the player's own zones\n"
         "  --no-sound       play without sound and without the question about it\n"
         "  --version        print the version and stop\n"
         "  --help           print this text and stop\n"
         "Keys: arrows walk, space puts down or takes a box, Ctrl+R restarts,\n"
         "Enter restarts after the end, P pauses, Esc goes back to the start screen,\n"
         "F11 or Alt+Enter switch fullscreen. On the start screen E opens the selected\n"
         "zone in the zone editor and Ctrl+N starts a new zone there. In the editor:\n"
         "Ctrl+S saves, Ctrl+Z undoes, Ctrl+Y redoes, F5 plays the zone, Esc closes.\n";
}

}  // namespace quarn::ui
