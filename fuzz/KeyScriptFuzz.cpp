// KeyScriptFuzz.cpp — any bytes as a key script: read or refused, never a crash.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "run/Replay.h"

using namespace quarn;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto result = ParseKeyScript(text, "fuzz.keys");
  if (const auto* error = std::get_if<KeyScriptError>(&result)) {
    if (error->Line < 1) std::abort();
    return 0;
  }
  const KeyScript& script = std::get<KeyScript>(result);
  int64_t total = 0;
  for (const KeyScriptStep& step : script.Steps) {
    if (step.Ticks < 0 || step.Line < 1) std::abort();
    // A step holds only keys a script can name: its mask and their keys turn into each other.
    if (MaskOfKeys(KeysOfMask(step.Keys)) != step.Keys) std::abort();
    total += step.Ticks;
  }
  if (total != script.TotalTicks()) std::abort();
  // The keys of a tick inside, at the edge of and past the script.
  for (int64_t t : {int64_t{0}, total / 2, total - 1, total, total + 1}) {
    if (t >= 0) script.KeysAt(t);
  }
  return 0;
}
