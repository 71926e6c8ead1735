// Session.h — one play session of a zone, with or without a window: the game, its run recorder,
// the halt and win bookkeeping, the slowed flag, and the one cursor every run is stepped by (the
// window's watch, the headless runner, the ghost).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "Replay.h"
#include "RunRecorder.h"
#include "game/Game.h"

namespace quarn {

// Where a run stands in its key script: before a line that takes no ticks ("random", "back",
// "carry"), inside or before a key line, or past the end. Key lines of no ticks are passed by
// themselves. The script must outlive the cursor.
class ScriptCursor {
 public:
  ScriptCursor() = default;
  explicit ScriptCursor(const KeyScript& script);
  // The line that takes no ticks and comes next, to be acted on and then Passed; null before a
  // key tick and at the end.
  const KeyScriptStep* Between() const;
  void Pass();
  // No key tick is left (lines that take none may still be: Between).
  bool AtEnd() const;
  // The keys of the next tick (none at the end).
  KeyMask Keys() const;
  // One tick of the current key line was played.
  void Ticked();
  // Some ticks of the current key line are played and some are not.
  bool InsideKeyLine() const { return tick_ > 0; }
  // Every line counts as played (a line that could not be played ends the run).
  void Finish();
  // Takes back this many ticks of key lines; false, and nothing changes, when that would cross
  // a line that takes no ticks or the script's start.
  bool StepBack(int64_t ticks);
  // The same script from its start.
  ScriptCursor Rewound() const { return script_ ? ScriptCursor(*script_) : ScriptCursor(); }
  const KeyScript* Script() const { return script_; }

 private:
  void SkipPlayed();
  const KeyScript* script_ = nullptr;
  size_t step_ = 0;
  int64_t tick_ = 0;  // ticks of the current key line played
};

// What one step of a session did.
struct SessionStep {
  bool Ran = false;       // a game tick ran
  bool Redraw = false;    // a "back" line put a kept state back: the board was drawn anew
  bool Reopened = false;  // the zone was opened again (inside the tick or by a "carry" line)
  bool Won = false;       // the tick won the zone: the game stands halted at the win
  bool EndedNow = false;  // the watched run reached its end with this step
  std::optional<OpenError> Error;  // a line of the script could not be played: the run ends
};

// The won run, taken inside the winning tick (before the win question).
struct WonRun {
  std::optional<int64_t> Ticks;  // none: slowed or changed outside the run, so not timed
  bool Rewound = false;
  std::string Keys;  // the lines after the head; empty without Ticks
};

// The key-script name of the arrows and space held in a tick ("right+space", "-").
std::string HeldKeysText(const TickKeys& keys);

// One zone's play: what the game screen drives and draws, and what the headless runner plays
// scripts through. In play the live keys are sampled each tick; a watched run plays its script
// instead (from the zone opened afresh), stops at its win and answers no question.
class PlaySession {
 public:
  // ports.Ask is asked every question but a watched run's win question. The game must read its
  // keys through keys (its ProgramContext built on it).
  PlaySession(ProgramContext& program, GamePorts ports, TickKeys& keys);
  PlaySession(const PlaySession&) = delete;
  PlaySession& operator=(const PlaySession&) = delete;

  Game& GetGame() { return game_; }
  const Game& GetGame() const { return game_; }
  RunRecorder& Recorder() { return rewind_; }
  const RunRecorder& Recorder() const { return rewind_; }

  // Opens the zone as a freshly created game screen does.
  std::optional<OpenError> Open(const std::string& zonePath);
  // The Restart label: the zone is read again; a run watched is watched again from its start.
  std::optional<OpenError> Restart();

  // From now on the ticks play script (which must outlive the session's use of it), from the
  // zone as it stands; nothing else changes (the headless runner).
  void Follow(const KeyScript& script);
  // Watches script: the zone is opened afresh with nothing kept from before, and the script's
  // own "random" and "carry" lines set what its opening had.
  std::optional<OpenError> Watch(const KeyScript& script);
  std::optional<OpenError> RestartWatch();
  bool Watching() const { return watching_; }
  bool WatchEnded() const { return watchEnded_; }
  const ScriptCursor& Cursor() const { return cursor_; }

  // Acts on the script's lines that take no ticks up to its next tick.
  SessionStep PlayBetween();
  // One step of the window's timer: in play a tick with the live keys; watching, the script's
  // lines between ticks and its next tick, past its end ticks without keys, none after a win.
  SessionStep Tick();
  // One tick with exactly these keys held, and a plain step back ("back N"): the headless
  // runner's own ticks.
  SessionStep Tick(KeyMask held);
  BackResult Back(int64_t ticks);
  // One tick of the followed script (its lines between ticks first), past its end without keys.
  SessionStep ScriptTick();
  // Watching: moves the watch by this many ticks, back when negative, exactly. Back goes through
  // the kept states when only key lines lie between, else the watch plays again from its start
  // to that tick unseen; forward plays on. Never before the run's opening or past its win.
  SessionStep Seek(int64_t ticks);
  // H while watching: the moment watched is the player's to play on, as practice, never timed
  // nor handed over as a win.
  void Practise();
  bool Practising() const { return practising_; }
  // Backspace: goes back this many ticks, never past the last opening. After a death or a win
  // the world goes on while the figure waits: the ticks count from the moment the game stopped.
  BackResult GoBack(int64_t ticks);

  // The zone was won and the game stands halted there (a declined replay).
  bool WonHalted() const { return wonHalted_; }
  // A tick of this run since its opening ran at another tick interval than the design one.
  bool Slowed() const { return slowed_; }
  // Ticks played since the session began, less those gone back.
  int64_t TicksRun() const { return ticksRun_; }
  // The run as won, inside the winning tick.
  WonRun WinningRun() const;

  // Inside the winning tick, before the win question; not for a watched run.
  std::function<void()> OnWin;
  // After every game tick.
  std::function<void()> OnTicked;

 private:
  // One game tick, with keys held or (none) sampled live, and its bookkeeping.
  void TickWith(std::optional<KeyMask> keys, SessionStep& step);
  void ScriptKeyTick(SessionStep& step);

  // Passes every question on, but a watched run's win question: the run stops at its win.
  class WinWatch : public Prompter {
   public:
    WinWatch(PlaySession& session, Prompter& ask) : session_(session), ask_(ask) {}
    int SkinMsgBox(const std::string& prompt, int buttons, int icon,
                   const std::string& title) override;

   private:
    PlaySession& session_;
    Prompter& ask_;
  };

  TickKeys& keys_;
  WinWatch winWatch_;
  Game game_;
  RunRecorder rewind_;
  ScriptCursor cursor_;
  bool watching_ = false;
  bool watchEnded_ = false;
  bool wonHalted_ = false;
  bool winAsked_ = false;  // the game's win hook ran: the next question is the win question
  bool slowed_ = false;
  bool practising_ = false;
  int64_t endedAt_ = 0;
  uint32_t watchRandom_ = 0;  // the enemies' generator when the watch began  // the run's ticks when the watched script ended
  // The run's tick count when the game last stopped (a death, a win); unset while it plays.
  std::optional<int64_t> haltedAt_;
  int64_t ticksRun_ = 0;
};

}  // namespace quarn
