// Render.cpp — quarn-zone render: a zone's board surface, after an optional replay, as a bitmap.
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>

#include "Commands.h"
#include "game/Replay.h"
#include "render/BoardRenderer.h"

namespace quarn::zonetool {

namespace {

constexpr const char* RenderUsage =
    "usage: quarn-zone render ZONE OUT.bmp [--keys FILE] [--ticks N]\n";

int UsageError(const std::string& message) {
  std::fprintf(stderr, "quarn-zone render: %s\n%s", message.c_str(), RenderUsage);
  return 2;
}

}  // namespace

int RunRender(const Args& args) {
  std::optional<std::string> zone, out, keysFile;
  std::optional<int64_t> ticks;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--keys") {
      if (!hasValue) return UsageError("--keys needs a file");
      keysFile = args[++i];
    } else if (a == "--ticks") {
      if (!hasValue) return UsageError("--ticks needs a number");
      const std::string& v = args[++i];
      int64_t n = 0;
      const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
      if (ec != std::errc{} || end != v.data() + v.size() || n < 0) {
        return UsageError("--ticks needs a whole number of 0 or more, not '" + v + "'");
      }
      ticks = n;
    } else if (a.size() > 1 && a[0] == '-') {
      return UsageError("unknown option '" + a + "'");
    } else if (!zone) {
      zone = a;
    } else if (!out) {
      out = a;
    } else {
      return UsageError("unexpected argument '" + a + "'");
    }
  }
  if (!zone || !out) return UsageError("which zone, and which picture to write?");

  KeyScript script;
  if (keysFile) {
    auto parsed = ReadKeyScript(*keysFile);
    if (auto* error = std::get_if<KeyScriptError>(&parsed)) {
      std::fprintf(stderr, "quarn-zone render: %s\n", error->Describe().c_str());
      return 2;
    }
    script = std::get<KeyScript>(std::move(parsed));
  }

  // Pictures come from the Graphics folder beside this program, as the game's do.
  BoardRenderer painter;
  Replay replay(painter, /*answerYes=*/false);
  if (auto error = replay.Open(*zone)) {
    std::fprintf(stderr, "quarn-zone render: %s\n", error->Describe().c_str());
    return 2;
  }
  if (keysFile || ticks) {
    if (auto error = replay.Run(script, ticks)) {
      std::fprintf(stderr, "quarn-zone render: reload failed after %lld ticks: %s\n",
                   static_cast<long long>(replay.TicksRun()), error->Describe().c_str());
      return 1;
    }
  }
  if (auto error = painter.SaveBmp(*out)) {
    std::fprintf(stderr, "quarn-zone render: %s\n", error->c_str());
    return 1;
  }
  return 0;
}

}  // namespace quarn::zonetool
