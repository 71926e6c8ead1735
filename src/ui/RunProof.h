// RunProof.h — a kept run proved by replaying it headless against the zone its head names.
#pragma once

#include "system/RunKeeper.h"

namespace quarn::ui {

// Replays a kept run against the zone its head names ("# soubor: …"), when that file is still
// the zone the run is kept for (the content key in the run's name); the rules run without a
// screen, as `quarn-zone play` runs them.
system::RunProof ProveKeptRun(const std::filesystem::path& run, const std::string& text);

// The author's run that ships beside a zone (NAME.keys beside NAME.qrn), if there is one.
std::optional<std::filesystem::path> AuthorRunOf(const std::filesystem::path& zone);
// The ticks the author's run wins the zone in, replayed headless; none without a run that wins.
std::optional<int64_t> AuthorTicks(const std::filesystem::path& zone);

}  // namespace quarn::ui
