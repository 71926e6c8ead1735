// Game.h — one game screen's zone in play: its state and the routines that open, tick and play it.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "GameState.h"
#include "Keyboard.h"
#include "Ports.h"
#include "Random.h"
#include "zone/Zone.h"

namespace quarn {

class TickKeys;

// Why a zone could not be opened: its file, or the game's pictures.
struct OpenError : ZoneError {
  // The game's pictures could not be read (Message names the file too); the zone itself is fine.
  std::optional<PictureProblem> Picture{};
  // A line of the run being played is at fault, not the zone.
  bool InRun = false;
};

// What lives as long as the program and is shared by every game screen: the keyboard's hold
// counters and the enemies' random generator (never re-seeded).
struct ProgramContext {
  // tickKeys: the object that samples each tick's keys, when keySource is one (a run is then
  // recorded with the keys the game read).
  explicit ProgramContext(KeySource& keySource, TickKeys* tickKeys = nullptr)
      : Keys(keySource), EachTick(tickKeys) {}
  Keyboard Keys;
  Random Rng;
  TickKeys* EachTick;  // null when the program polls its keys directly
};

// For each position of a laser pattern, whether its character differs from the one before it.
std::vector<bool> LaserSwitchesOf(const std::string& pattern);

// The outside world of one game screen.
struct GamePorts {
  BoardPainter& Painter;
  SoundPort& Sound;
  Prompter& Ask;
};

// The game's event counters and the failure of the last reload, kept and restored together when
// play goes back in time.
struct GameCounters {
  int64_t Wins = 0;
  int64_t Deaths = 0;
  int64_t Restarts = 0;
  std::optional<OpenError> LoadFailure;
};

// The values the restart keys had when the tick read them (step 4).
struct RestartKeysRead {
  bool Read = false;  // false when the tick ended before step 4 (a failed reload)
  int16_t Ctrl = 0, R = 0, Enter = 0;
};

class Game {
 public:
  Game(ProgramContext& program, GamePorts ports) : program_(program), ports_(ports) {}

  GameState State;

  // (Re)opens the zone named by State.FileName. On failure nothing at all has changed.
  std::optional<OpenError> Otevrit();
  // One tick of the game timer, its ten steps in order. Does nothing while the tick is disabled,
  // nor when it arrives while a question asked inside a tick is still open.
  void Tick();
  // A reload inside the tick (Ctrl+R, Enter, a replay after a win) that failed; the tick is then
  // disabled and the screen should tell the player. Cleared by the next successful Otevrit.
  const std::optional<OpenError>& LoadFailure() const { return loadFailure_; }

  // Buttons and labels of the game screen.
  void Restart();   // the Restart label: reload the zone from its file
  void Zrychlit();  // tick interval - 10 ms; a value below 0 is refused
  void Zpomalit();  // tick interval + 10 ms
  void RevealDebugButtons();
  void ToggleEnemies();  // enemies off / on
  void DeliverWhereStanding();  // deliver the pocket where the player stands
  void GiveKeyAndBox();  // give a key and a box
  void ResumePlay();  // resume halted play

  // Called by every opening of the zone that succeeds, just before the state changes: between
  // ticks, or inside one (InTick()).
  std::function<void()> OnOpening;
  // Called when the player walks into the exit, inside the tick, just before the win question;
  // not for ticks played again unseen while going back (other ports in use).
  std::function<void()> OnWin;
  bool InTick() const { return inTick_; }
  const RestartKeysRead& LastRestartKeys() const { return restartKeys_; }
  ProgramContext& Program() { return program_; }
  GameCounters Counters() const { return {wins_, deaths_, restarts_, loadFailure_}; }
  void SetCounters(const GameCounters& c);
  // Sends drawing, sound and questions to other ports (going back replays ticks unseen and
  // unheard); nullptr returns to the screen's own.
  void UsePorts(const GamePorts* ports) { active_ = ports ? ports : &ports_; }
  // After the state was replaced (going back): the whole board drawn anew from the state, the
  // figures and the exclusive-or circles and beam the state has on it, and the looped walk sound
  // playing exactly when a step is under way.
  void ShowReplacedState();

  // Counters the headless report shows.
  int64_t Wins() const { return wins_; }
  int64_t Deaths() const { return deaths_; }
  int64_t Restarts() const { return restarts_; }

  // The rules, one tick's worth each.
  void Vstupy();
  void MoveF();
  void MoveH();
  void LaserDoors();
  void Nepratele();
  void KillPlr(DeathCause cause);
  void AnimSmrt(float die, int sss);
  void AnimRadio(int sss);

 private:
  // Draws one cell as the rules do between loads; a cell under the figure covers its drawing.
  void DrawCell(int x, int y);
  void WinFlow();
  std::optional<OpenError> Reload();  // a reload during play: counted, failure remembered

  const GamePorts& Ports() const { return *active_; }

  ProgramContext& program_;
  GamePorts ports_;
  const GamePorts* active_ = &ports_;
  RestartKeysRead restartKeys_;
  std::optional<OpenError> loadFailure_;
  bool inTick_ = false;
  // 64 bits: Ctrl+R held restarts at every tick, and 32 bits would run out in weeks of that.
  int64_t wins_ = 0;
  int64_t deaths_ = 0;
  int64_t restarts_ = 0;
};

}  // namespace quarn
