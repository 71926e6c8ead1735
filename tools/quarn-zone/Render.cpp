// Render.cpp — quarn-zone render: a zone's board surface, after an optional replay, as a bitmap.
#include <cstdio>
#include <optional>
#include <string>

#include "Commands.h"
#include "render/BoardRenderer.h"
#include "render/PictureSet.h"
#include "run/Replay.h"
#include "system/Folders.h"
#include "base/Text.h"

namespace quarn::zonetool {

namespace {

constexpr const char* RenderUsage =
    "usage: quarn-zone render ZONE OUT.bmp [--keys FILE] [--ticks N]\n"
    "Writes the whole board of ZONE, as the game draws it, to the bitmap OUT.bmp; after a\n"
    "replay when --keys or --ticks is given.\n"
    "  --keys FILE     hold the keys of the key script FILE (lines \"TICKS KEYS\")\n"
    "  --ticks N       run N ticks (default: as long as the key script lasts)\n"
    "Status 0 when the picture was written, 1 when the replay or writing failed, 2 when the\n"
    "zone, key script or command line is wrong.\n";

int UsageError(const std::string& message) { return zonetool::UsageError("render", RenderUsage, message); }

}  // namespace

int RunRender(const Args& args) {
  if (WantsHelp(args)) return Help(RenderUsage);
  std::optional<std::string> zone, out;
  ReplayOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string error;
    const OptionTaken taken = TakeReplayOption(args, i, options, error);
    if (taken == OptionTaken::Failed) return UsageError(error);
    if (taken == OptionTaken::Yes) continue;
    const std::string& a = args[i];
    if (a.size() > 1 && a[0] == '-') {
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

  const std::optional<KeyScript> script = LoadKeyScript(options, "render");
  if (!script) return 2;

  // Pictures come from the data folder's Graphics, as the game's do.
  BoardRenderer painter(system::DataFolder(ProgramFolder()));
  Replay replay(painter, /*answerYes=*/false);
  if (auto error = replay.Open(*zone)) {
    std::fprintf(stderr, "quarn-zone render: %s\n", error->Describe().c_str());
    return 2;
  }
  if (options.KeysFile || options.Ticks) {
    if (auto error = replay.Run(*script, options.Ticks)) {
      std::fprintf(stderr, "quarn-zone render: reload failed after %lld ticks: %s\n",
                   static_cast<long long>(replay.TicksRun()), error->Describe().c_str());
      return 1;
    }
  }
  if (auto error = painter.SaveBmp(*out)) {
    std::fprintf(stderr, "quarn-zone render: %s\n", ShowControls(*error).c_str());
    return 1;
  }
  return 0;
}

}  // namespace quarn::zonetool
