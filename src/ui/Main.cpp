// Main.cpp — the quarn program: opens a zone on the game screen and plays it.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "GameScreen.h"
#include "platform/App.h"
#include "sound/SoundModule.h"

int main(int argc, char** argv) {
  using namespace quarn;
  const ui::Options options = ui::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (!options.Error.empty()) {
    std::fprintf(stderr, "quarn: %s\n%s", options.Error.c_str(), ui::Usage().c_str());
    return 2;
  }
  if (options.Help) {
    std::fputs(ui::Usage().c_str(), stdout);
    return 0;
  }
  if (options.Version) {
    std::printf("Quarn %s\n", QUARN_VERSION_TEXT);
    return 0;
  }

  const std::string folder = platform::ProgramFolder();
  std::string zone;
  if (options.Zone) {
    zone = *options.Zone;
  } else if (auto first = ui::FirstZone(folder)) {
    zone = first->string();
  } else {
    std::fprintf(stderr, "quarn: no zone in %s/zones\n%s", folder.c_str(), ui::Usage().c_str());
    return 2;
  }

  try {
    KeyState keys;
    platform::SteadyClock clock;
    platform::App app(keys, clock);
    ProgramContext program(keys);
    SoundModule sound(folder);
    sound.SetEnabled(!options.NoSound);
    ui::GameScreen screen(app, program, sound, folder);
    // There is no start screen to go back to yet: closing the game ends the program.
    screen.OnClosed = [&app] { app.Quit(); };
    // The trace: the player's position whenever it changes, and at the end how many ticks and
    // frames the run had, to check the game's speed from outside.
    int64_t ticks = 0, firstTickNs = 0, lastTickNs = 0;
    if (options.TracePlayer) {
      screen.OnTicked = [&, last = std::pair{-1, -1}]() mutable {
        lastTickNs = clock.NowNs();
        if (ticks++ == 0) firstTickNs = lastTickNs;
        const GameState& s = screen.TheGame().State;
        if (last == std::pair{s.PlayerX, s.PlayerY}) return;
        last = {s.PlayerX, s.PlayerY};
        std::printf("player %d %d\n", s.PlayerX, s.PlayerY);
        std::fflush(stdout);
      };
    }
    if (!screen.Load(zone)) return 2;
    app.Run();
    if (options.TracePlayer) {
      // Rates over the span from the first tick to the last one.
      const double seconds = static_cast<double>(lastTickNs - firstTickNs) / 1e9;
      const double perSecond = seconds > 0 ? 1 / seconds : 0;
      const platform::Window& w = screen.Window();
      std::printf("ran %.3f s: %lld ticks (%.2f/s), %lld frames (%.2f/s), %lld unchanged\n",
                  seconds, static_cast<long long>(ticks),
                  static_cast<double>(ticks - 1) * perSecond, static_cast<long long>(w.Presents()),
                  static_cast<double>(w.Presents()) * perSecond,
                  static_cast<long long>(w.Unchanged()));
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "quarn: %s\n", e.what());
    return 1;
  }
  // Ended by SIGTERM, SIGINT or SIGHUP: the status says so, as the shell expects.
  if (const int ended = platform::SignalReceived()) return 128 + ended;
  return 0;
}
