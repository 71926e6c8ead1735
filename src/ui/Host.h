// Host.h — what the program around the game adds to it. On a desktop nothing (Host.cpp); in a
// browser the page (web/Host.cpp): it counts the ticks, names a link's zone as the player knows
// it, gives the start screen and the editor the page's keys and links, races a link's run, takes
// what the page asks for between the ticks, and is told when a zone played alone or the whole
// game has ended.
#pragma once

#include <memory>

namespace quarn::platform {
class App;
}

namespace quarn::ui {

class Flow;
struct Options;

// True in the browser build: the browser keeps some keys for itself (Ctrl+N among them), so the
// screens answer others there, and they offer a link to a zone.
bool InBrowser();

// Lives as long as main: its end tells the host the game has ended, however main returns.
class GameEndTold {
 public:
  GameEndTold() = default;
  ~GameEndTold();
  GameEndTold(const GameEndTold&) = delete;
  GameEndTold& operator=(const GameEndTold&) = delete;
};

// Lives as long as the flow it is attached to, and no longer than the app.
class Host {
 public:
  Host();
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  // Before the flow opens its first screen: the host's hooks on the flow's screens.
  void Attach(platform::App& app, Flow& flow, const Options& options);
  // Once the first screen is open (a zone refused by the loader never gets here): what the host
  // asks for is taken between the ticks from now on.
  void Listen();
  // A zone played alone has ended (closed, or refused by the loader).
  void ZoneEnded();

 private:
  struct Page;
  std::unique_ptr<Page> page_;
};

}  // namespace quarn::ui
