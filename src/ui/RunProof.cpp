// RunProof.cpp — replaying a kept run to find the time it really wins in.
#include "RunProof.h"

#include "run/Replay.h"
#include "system/Records.h"

namespace quarn::ui {

system::RunProof ProveKeptRun(const std::filesystem::path& run, const std::string& text) {
  using Kind = system::RunProof::Kind;
  const std::string name = run.filename().string();
  const std::filesystem::path zone = system::RunHeadLine(text, "soubor");
  if (name.size() < 16 || zone.empty() || system::ZoneContentKey(zone) != name.substr(0, 16)) {
    return {};
  }
  auto parsed = ParseKeyScript(text, run.string());
  if (!std::holds_alternative<KeyScript>(parsed)) return {Kind::Fails, 0};
  Replay replay(false);
  if (replay.Open(zone.string())) return {};
  if (replay.Run(std::get<KeyScript>(parsed)) || replay.GetGame().Wins() == 0) {
    return {Kind::Fails, 0};
  }
  return {Kind::Wins, replay.TicksRun()};
}

}  // namespace quarn::ui
