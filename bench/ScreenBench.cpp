// ScreenBench.cpp — the game screen's work per tick and per frame: the tick with its drawing and
// the composing and presenting of what changed, on the first zone, the heaviest one and one
// where enemies roam out of view, and opening the heaviest zone.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <variant>

#include "platform/App.h"
#include "platform/Timers.h"
#include "sound/SoundModule.h"
#include "ui/Dialog.h"
#include "ui/GameScreen.h"
#include "ui/KeyFeed.h"
#include "run/Ghost.h"

namespace {

// A clock the benchmark moves: every present is due.
class StepClock : public quarn::platform::MonotonicClock {
 public:
  int64_t NowNs() override { return now; }
  int64_t now = 1'000'000'000;
};

const std::string Folder = quarn::ProgramFolder().string();

// A zone written by scripts/make-crowded-zone.sh (with its option, if any) once per run.
std::string MadeZone(const std::string& option, const std::string& name) {
  const std::string path = (std::filesystem::temp_directory_path() / name).string();
  const std::string command =
      std::string(QUARN_SOURCE_DIR) + "/scripts/make-crowded-zone.sh " + option + " " + path;
  return std::system(command.c_str()) == 0 ? path : std::string();
}

// The heaviest zone: 150 x 130 cells of hot potatoes and targets and 101 enemies.
std::string CrowdedZone() {
  static const std::string file = MadeZone("", "quarn-bench-crowded.qrn");
  return file;
}

// 150 x 130 cells of open floor with 101 enemies roaming it, most of them out of view.
std::string RoamingZone() {
  static const std::string file = MadeZone("--roaming", "quarn-bench-roaming.qrn");
  return file;
}

// The game screen on SDL's dummy display, playing a zone, sound off.
struct Screen {
  explicit Screen(const std::string& zone) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    app = std::make_unique<quarn::platform::App>(keyFeed, clock);
    app->AnswerInstead = [](const auto&, const auto&, const auto&) { return 0; };
    program = std::make_unique<quarn::ProgramContext>(tickKeys, &tickKeys);
    sound = std::make_unique<quarn::SoundModule>(Folder);
    sound->SetEnabled(false);
    dialog = std::make_unique<quarn::ui::Dialog>(*app, Folder);
    screen = std::make_unique<quarn::ui::GameScreen>(*app, *program, *sound, *dialog, Folder);
    ok = !zone.empty() && screen->Load(zone);
  }
  ~Screen() {
    screen.reset();
    dialog.reset();
    sound.reset();
    program.reset();
    app.reset();
  }
  // One tick of the game timer (64 a second), then the frame presented as the event loop would.
  void TickAndPresent() {
    clock.now += 1'000'000'000 / 64;  // the tick's period
    app->Timers().RunDue();
    screen->Window().PresentIfDue(clock.now);
  }
  void Present() {
    clock.now += 1'000'000'000 / 60;
    screen->Window().PresentIfDue(clock.now);
  }
  quarn::KeyState keys;
  // The game reads its keys once per tick, as in the game: going back replays with them.
  quarn::TickKeys tickKeys{keys};
  quarn::ui::KeyFeed keyFeed{keys};
  StepClock clock;
  std::unique_ptr<quarn::platform::App> app;
  std::unique_ptr<quarn::ProgramContext> program;
  std::unique_ptr<quarn::SoundModule> sound;
  std::unique_ptr<quarn::ui::Dialog> dialog;
  std::unique_ptr<quarn::ui::GameScreen> screen;
  bool ok = false;
};

void TickWithDrawing(benchmark::State& state, const std::string& zone) {
  Screen s(zone);
  if (!s.ok) return state.SkipWithError("no zone or Graphics folder beside the benchmark");
  int64_t ticks = 0;
  for (auto _ : state) {
    // A zone that ended (time out, or the player caught) is started again, off the clock.
    if (!s.screen->Timer1().Enabled()) {
      state.PauseTiming();
      s.screen->Click("Label5");
      state.ResumeTiming();
    }
    s.TickAndPresent();
    ++ticks;
  }
  state.counters["frames"] = benchmark::Counter(
      static_cast<double>(s.screen->Window().Presents()) / static_cast<double>(ticks));
}

void BM_TickZone01(benchmark::State& state) {
  TickWithDrawing(state, Folder + "/zones/01-prvni-kroky.qrn");
}
BENCHMARK(BM_TickZone01)->Unit(benchmark::kMicrosecond);

void BM_TickCrowdedZone(benchmark::State& state) { TickWithDrawing(state, CrowdedZone()); }
BENCHMARK(BM_TickCrowdedZone)->Unit(benchmark::kMicrosecond);

void BM_TickRoamingZone(benchmark::State& state) { TickWithDrawing(state, RoamingZone()); }
BENCHMARK(BM_TickRoamingZone)->Unit(benchmark::kMicrosecond);

// A ghost walking the heaviest zone: a run of steps to and fro, ten minutes long, played once.
std::shared_ptr<const quarn::GhostRun> CrowdedGhost() {
  static const std::shared_ptr<const quarn::GhostRun> ghost = [] {
    std::string text;
    for (int i = 0; i < 2400; ++i) text += i % 4 < 2 ? "8 right\n8 down\n" : "8 left\n8 up\n";
    auto script = quarn::ParseKeyScript(text);
    auto run = quarn::GhostRun::Play(CrowdedZone(), std::get<quarn::KeyScript>(script));
    auto* made = std::get_if<quarn::GhostRun>(&run);
    return made ? std::make_shared<const quarn::GhostRun>(std::move(*made)) : nullptr;
  }();
  return ghost;
}

void BM_TickCrowdedZoneWithGhost(benchmark::State& state) {
  Screen s(CrowdedZone());
  const auto ghost = CrowdedGhost();
  if (!s.ok || !ghost) return state.SkipWithError("no zone or Graphics folder beside the benchmark");
  s.screen->SetGhost(ghost, "nejlepšímu");
  int64_t ticks = 0;
  for (auto _ : state) {
    if (!s.screen->Timer1().Enabled()) {
      state.PauseTiming();
      s.screen->Click("Label5");
      state.ResumeTiming();
    }
    s.TickAndPresent();
    ++ticks;
  }
  state.counters["ghost_MB"] = static_cast<double>(ghost->MemoryBytes()) / 1e6;
}
BENCHMARK(BM_TickCrowdedZoneWithGhost)->Unit(benchmark::kMicrosecond);

// Backspace held for ten seconds' worth in one step, after ten seconds of play, with and
// without the ghost (arg 1: with).
void BM_BackTenSecondsCrowded(benchmark::State& state) {
  Screen s(CrowdedZone());
  const auto ghost = CrowdedGhost();
  if (!s.ok || !ghost) return state.SkipWithError("no zone or Graphics folder beside the benchmark");
  if (state.range(0) != 0) s.screen->SetGhost(ghost, "nejlepšímu");
  for (auto _ : state) {
    state.PauseTiming();
    s.screen->Click("Label5");
    for (int i = 0; i < 640; ++i) s.TickAndPresent();
    state.ResumeTiming();
    s.screen->GoBack(640);
    s.Present();
  }
}
BENCHMARK(BM_BackTenSecondsCrowded)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

// A frame where one cell of the board changed: that cell is composed and presented.
void BM_PresentOneCell(benchmark::State& state) {
  Screen s(Folder + "/zones/01-prvni-kroky.qrn");
  if (!s.ok) return state.SkipWithError("no zone or Graphics folder beside the benchmark");
  s.Present();
  for (auto _ : state) {
    s.screen->Window().InvalidateRect(SDL_Rect{200, 200, 40, 40});
    s.Present();
  }
}
BENCHMARK(BM_PresentOneCell)->Unit(benchmark::kMicrosecond);

// A frame where the board glided one pixel: the whole viewport is composed and presented.
void BM_PresentGlide(benchmark::State& state) {
  Screen s(CrowdedZone());
  if (!s.ok) return state.SkipWithError("no zone or Graphics folder beside the benchmark");
  s.Present();
  auto& game = s.screen->TheGame().State;
  int shift = 0;
  for (auto _ : state) {
    game.PoleLeft = -40.0 * 10 - (shift++ % 40);
    s.screen->Sync();
    s.Present();
  }
}
BENCHMARK(BM_PresentGlide)->Unit(benchmark::kMicrosecond);

// A frame where nothing changed: the controls are looked at, nothing is drawn.
void BM_PresentNothingChanged(benchmark::State& state) {
  Screen s(Folder + "/zones/01-prvni-kroky.qrn");
  if (!s.ok) return state.SkipWithError("no zone or Graphics folder beside the benchmark");
  s.Present();
  for (auto _ : state) {
    s.screen->Sync();
    s.Present();
  }
}
BENCHMARK(BM_PresentNothingChanged)->Unit(benchmark::kMicrosecond);

// The whole window composed afresh (tests and screenshots do this).
void BM_ComposeWholeGameScreen(benchmark::State& state) {
  Screen s(Folder + "/zones/01-prvni-kroky.qrn");
  if (!s.ok) return state.SkipWithError("no zone or Graphics folder beside the benchmark");
  for (auto _ : state) benchmark::DoNotOptimize(s.screen->Window().Compose());
}
BENCHMARK(BM_ComposeWholeGameScreen)->Unit(benchmark::kMicrosecond);

// Opening the heaviest zone: reading it, the board surface, every cell drawn, the first frame.
void BM_OpenCrowdedZone(benchmark::State& state) {
  const std::string zone = CrowdedZone();
  for (auto _ : state) {
    Screen s(zone);
    if (!s.ok) return state.SkipWithError("no zone or Graphics folder beside the benchmark");
    s.Present();
  }
}
BENCHMARK(BM_OpenCrowdedZone)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
