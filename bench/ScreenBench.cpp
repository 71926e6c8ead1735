// ScreenBench.cpp — composing the game screen's frame, the work behind every present.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "platform/App.h"
#include "platform/Timers.h"
#include "sound/SoundModule.h"
#include "ui/GameScreen.h"
#include "ui/KeyFeed.h"

namespace {

// The game screen on SDL's dummy display, playing the first shipped zone, sound off.
struct Screen {
  Screen() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    const std::string folder = quarn::platform::ProgramFolder();
    app = std::make_unique<quarn::platform::App>(keyFeed, clock);
    app->AnswerInstead = [](const auto&, const auto&, const auto&) { return 0; };
    program = std::make_unique<quarn::ProgramContext>(keys);
    sound = std::make_unique<quarn::SoundModule>(folder);
    sound->SetEnabled(false);
    screen = std::make_unique<quarn::ui::GameScreen>(*app, *program, *sound, folder);
    ok = screen->Load(folder + "/zones/01-prvni-kroky.qrn");
  }
  ~Screen() {
    screen.reset();
    sound.reset();
    program.reset();
    app.reset();
  }
  quarn::KeyState keys;
  quarn::ui::KeyFeed keyFeed{keys};
  quarn::platform::SteadyClock clock;
  std::unique_ptr<quarn::platform::App> app;
  std::unique_ptr<quarn::ProgramContext> program;
  std::unique_ptr<quarn::SoundModule> sound;
  std::unique_ptr<quarn::ui::GameScreen> screen;
  bool ok = false;
};

void BM_ComposeGameScreen(benchmark::State& state) {
  Screen s;
  if (!s.ok) return state.SkipWithError("no zones or Graphics folder beside the benchmark");
  for (auto _ : state) benchmark::DoNotOptimize(s.screen->Window().Compose());
}
BENCHMARK(BM_ComposeGameScreen)->Unit(benchmark::kMicrosecond);

// A frame whose countdown changed: the labels render their text again.
void BM_ComposeWithNewCountdown(benchmark::State& state) {
  Screen s;
  if (!s.ok) return state.SkipWithError("no zones or Graphics folder beside the benchmark");
  int shown = 0;
  for (auto _ : state) {
    s.screen->TheGame().State.Panel.TimeShown = shown++ % 100;
    s.screen->Sync();
    benchmark::DoNotOptimize(s.screen->Window().Compose());
  }
}
BENCHMARK(BM_ComposeWithNewCountdown)->Unit(benchmark::kMicrosecond);

}  // namespace
