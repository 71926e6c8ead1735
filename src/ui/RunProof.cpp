// RunProof.cpp — replaying a kept run to find the time it really wins in.
#include "RunProof.h"

#include "run/RunCheck.h"
#include "system/Records.h"

namespace quarn::ui {

system::RunProof ProveKeptRun(const std::filesystem::path& run, const std::string& text) {
  using Kind = system::RunProof::Kind;
  const std::string name = run.filename().string();
  const std::filesystem::path zone = system::RunHeadLine(text, "soubor");
  if (name.size() < 16 || zone.empty() || system::ZoneContentKey(zone) != name.substr(0, 16)) {
    return {};
  }
  // The time replaying gives counts here, whatever the head claims.
  const RunVerdict check = CheckRun(zone.string(), text, run.string(), std::nullopt);
  if (check.What == RunVerdict::Kind::ZoneFails) return {};
  if (!check.Proved()) return {Kind::Fails, 0};
  return {Kind::Wins, check.Ticks};
}

}  // namespace quarn::ui
