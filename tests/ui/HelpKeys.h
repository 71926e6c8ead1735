// HelpKeys.h — the keys the help names, read back from its text, for the tests that hold the
// screens to it.
#pragma once

#include <map>
#include <set>
#include <string>
#include <tuple>

#include "ui/HelpWindow.h"

namespace quarn::ui {

struct KeyPress {
  int Key = 0;
  bool Ctrl = false;
  bool Alt = false;
  bool Shift = false;
  auto operator<=>(const KeyPress&) const = default;
};

// The virtual keys behind one of the help's key names; empty for what is no key (a button, the
// mouse, a number on the screen).
inline std::set<KeyPress> KeysNamed(const std::string& name) {
  static const std::map<std::string, std::set<KeyPress>> names = {
      {"šipky", {{37}, {38}, {39}, {40}}},
      {"šipky nahoru a dolů", {{38}, {40}}},
      {"šipky vlevo a vpravo", {{37}, {39}}},
      {"čárka", {{188}}},
      {"tečka", {{190}}},
      {"Shift+šipky", {{37, false, false, true}, {38, false, false, true}, {39, false, false, true},
                       {40, false, false, true}}},
      {"Delete", {{46}}},
      {"Shift+F5", {{116, false, false, true}}},
      {"Mezera", {{32}}},
      {"Backspace", {{8}}},
      {"Enter", {{13}}},
      {"Esc", {{27}}},
      {"Home", {{36}}},
      {"End", {{35}}},
      {"Page Up", {{33}}},
      {"Page Down", {{34}}},
      {"F1", {{112}}},
      {"F5", {{116}}},
      {"F11", {{122}}},
      {"Alt+Enter", {{13, false, true}}},
      {"Ctrl++", {{187, true}, {107, true}}},
      {"Ctrl+−", {{189, true}, {109, true}}},
  };
  if (auto it = names.find(name); it != names.end()) return it->second;
  if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') return {{name[0]}};
  if (name.size() == 6 && name.rfind("Ctrl+", 0) == 0) return {{name[5], true}};
  if (name.size() == 7 && name.rfind("Shift+", 0) == 0) return {{name[6], false, false, true}};
  if (name.size() == 12 && name.rfind("Ctrl+Shift+", 0) == 0) return {{name[11], true, false, true}};
  return {};
}

// The keys of each group of the help, by its heading. "A, N – Ano, Ne" names A and N;
// "Ctrl+Z – zpět, Ctrl+Y – znovu" names both.
// browser: the help of the browser build.
inline std::map<std::string, std::set<KeyPress>> HelpKeysByGroup(bool browser = false) {
  std::map<std::string, std::set<KeyPress>> groups;
  std::string group;
  for (const std::string& line : HelpKeys(browser)) {
    if (line.find(" – ") == std::string::npos) {
      group = line;
      groups[group];
      continue;
    }
    // Every ", "-separated part that is followed by " – " or stands before one names keys.
    size_t at = 0;
    while (at < line.size()) {
      const size_t dash = line.find(" – ", at);
      if (dash == std::string::npos) break;
      std::string names = line.substr(at, dash - at);
      size_t from = 0;
      while (true) {
        const size_t comma = names.find(", ", from);
        const std::string name = names.substr(from, comma == std::string::npos ? std::string::npos
                                                                               : comma - from);
        for (const KeyPress& k : KeysNamed(name)) groups[group].insert(k);
        if (comma == std::string::npos) break;
        from = comma + 2;
      }
      // A second "KEY – what" in the same line follows the last ", " before its dash.
      const size_t next = line.find(" – ", dash + 3);
      if (next == std::string::npos) break;
      const size_t comma = line.rfind(", ", next);
      if (comma == std::string::npos || comma < dash) break;
      at = comma + 2;
    }
  }
  return groups;
}

}  // namespace quarn::ui
