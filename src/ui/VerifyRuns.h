// VerifyRuns.h — quarn --verify: every kept run of the player proved against the zone it is kept
// for, one line a run.
#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "run/RunCheck.h"

namespace quarn::ui {

// What the line of a run says after its name, in Czech.
std::string VerdictInCzech(const RunVerdict& check);

// Proves each kept run of runFolder (files "KEY-zone.keys", in the order of their names) against
// the zone it is kept for: the file its head names while that still holds the zone's content,
// else the zone of that content key in zones. Appends one line a run to out ("NAME: …") and
// returns how many fail, a run whose zone is found nowhere among them.
int VerifyKeptRuns(const std::filesystem::path& runFolder,
                   const std::map<std::string, std::filesystem::path>& zones, std::string& out);

}  // namespace quarn::ui
