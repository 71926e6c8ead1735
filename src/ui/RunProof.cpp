// RunProof.cpp — replaying a kept run to find the time it really wins in.
#include "RunProof.h"

#include "run/Ghost.h"
#include "run/Replay.h"
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

std::optional<std::filesystem::path> AuthorRunOf(const std::filesystem::path& zone) {
  std::filesystem::path run = zone;
  run.replace_extension(".keys");
  std::error_code ec;
  if (!std::filesystem::is_regular_file(run, ec)) return std::nullopt;
  return run;
}

std::optional<int64_t> AuthorTicks(const std::filesystem::path& zone) {
  const auto run = AuthorRunOf(zone);
  if (!run) return std::nullopt;
  auto script = ReadKeyScript(run->string());
  if (!std::holds_alternative<KeyScript>(script)) return std::nullopt;
  auto played = GhostRun::Play(zone.string(), std::get<KeyScript>(script));
  if (!std::holds_alternative<GhostRun>(played)) return std::nullopt;
  return std::get<GhostRun>(played).WonAt();
}

}  // namespace quarn::ui
