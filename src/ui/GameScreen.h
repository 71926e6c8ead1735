// GameScreen.h — frmGame: the window where a zone is played, its controls, tick and buttons.
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "Dialog.h"
#include "GameLines.h"
#include "game/Game.h"
#include "platform/App.h"
#include "platform/Controls.h"
#include "platform/Timers.h"
#include "platform/Window.h"
#include "render/BoardRenderer.h"
#include "run/Ghost.h"
#include "run/Replay.h"
#include "run/RunRecorder.h"
#include "run/Session.h"
#include "sound/GameSounds.h"
#include "system/KeyBindings.h"
#include "system/RunKeeper.h"

namespace quarn::ui {

// Backspace goes back one second of game time per press.
inline constexpr int64_t TicksPerSecond = 64;

// What the line under the board says about a won run's time. The screen fills in the time; what
// keeps the records adds whether it is the best so far and the best it did not beat.
struct WinOutcome {
  std::optional<int64_t> Ticks;  // none: the run is not timed
  bool Rewound = false;          // timed as a run that went back
  bool NewRecord = false;        // the best of its kind so far
  std::optional<int64_t> Best;   // the best of its kind, when this run did not beat it
  // The ghost's win and whose run it is ("nejlepší", "autor", "průchod"): the line adds the
  // difference.
  std::optional<int64_t> Ghost;
  std::string GhostName;
};
// What the line offers after a win: no next zone (a zone played alone), the next one of the set,
// the first of the next set after a set's last zone, or none because this was the last zone.
struct NextOffer {
  enum Kind { None, Next, SetEnd, Last };
  NextOffer(Kind what = None, std::string set = {}, std::string nextSet = {})
      : What(what), Set(std::move(set)), NextSet(std::move(nextSet)) {}
  Kind What;
  std::string Set;      // the set whose last zone this is (NextSet, Last); empty: the only one
  std::string NextSet;  // the set N opens (SetEnd)
};
// "Čas 11,2 s · nový rekord · Enter – hrát znovu · N – další zóna · Esc – výběr zóny"; escape
// names where Esc leads ("výběr zóny", "konec", ...); keys names the keys (or the pad's buttons).
std::string WinLineText(const WinOutcome& outcome, NextOffer next, const std::string& escape,
                        const LineKeys& keys = {});
// "Čas vypršel · Enter – hrát znovu · Backspace – o sekundu zpět · Esc – výběr zóny".
std::string DeathLineText(DeathCause cause, const std::string& escape, const LineKeys& keys = {});
// "−0,8 s" ahead, "+1,2 s" behind, "±0,0 s" level: ticks less the ghost's.
std::string DifferenceText(int64_t ticks, int64_t ghostTicks);
// "Doručeno 2 z 5 · 12,4 s · −0,8 s": at a delivery, the run's time and the difference to the
// ghost at the same delivery (none when the ghost never delivered as many).
std::string SplitText(int delivered, int total, int64_t ticks, std::optional<int64_t> ghostTicks);
// "Quarn – Rychlík", "Quarn – Rychlík – záznam".
std::string GameTitle(const std::string& zoneTitle, bool watching);

class GameScreen {
 public:
  // Pictures come from folder's Graphics; the sound module and the prompter (the game's dialog)
  // outlive the screen. The program must read its keys through its EachTick sample (going back
  // and watching hold keys there); std::invalid_argument otherwise.
  GameScreen(platform::App& app, ProgramContext& program, SoundModule& sound, Prompter& prompter,
             const std::filesystem::path& folder);
  ~GameScreen();
  GameScreen(const GameScreen&) = delete;
  GameScreen& operator=(const GameScreen&) = delete;

  // The load event: the sounds, then the zone; the window appears when the zone is open. False,
  // after telling the player why, when the zone cannot be played: nothing of it is shown.
  bool Load(const std::string& zoneFile);
  // The × label and Esc: the tick stops, every sound slot is freed, the window goes, OnClosed
  // runs.
  void Close();
  // P: the tick stops with "Pauza" over the board, and the next P lets it go on.
  void TogglePause();
  bool Paused() const { return paused_; }
  // Backspace: goes back this many ticks, never past the zone's last opening; the board is
  // drawn anew from the state it returns to. Also after a death or a declined replay.
  void GoBack(int64_t ticks);
  // Plays script in the window instead of the player's keys, from the zone opened afresh; nothing
  // is recorded. F runs it four times faster; after its end Enter (and during it the Restart
  // label) watches it again from the start.
  void Watch(KeyScript script);
  bool Watching() const { return session_.Watching(); }
  void ToggleFast();
  // Left, Right (five seconds), comma and full stop (a tick, paused) while watching.
  void Seek(int64_t ticks);
  bool Fast() const { return fast_; }
  // The zone was won and the replay declined: the keys that lead on are shown.
  bool ShowsWayOn() const;
  // The won run, before the win question, inside the tick (not while watching): its ticks since
  // the zone was last opened (pauses and ticks gone back not counted), its keys, and the zone as
  // it was opened.
  std::function<void(const system::FinishedRun&)> OnWin;
  // Takes the zone as it stands at each opening (its content key, its title); unset, the run
  // names the file alone.
  std::function<system::OpenedZone(const std::filesystem::path&)> TakeOpening;
  // N after a won zone; unset, N does nothing and is not offered. WhatComesNext, when set, tells
  // what N leads to; when it is NextOffer::Last, N is not offered and the line says so.
  std::function<void()> OnNextZone;
  std::function<NextOffer()> WhatComesNext;
  // The zone's file as messages name it: a test-played copy is named by the author's file.
  std::string ShownPath;
  // The watched run's name (its file's name) for a message about a line of it.
  std::string WatchedName;
  // Where Esc leads, as the lines under the board name it.
  std::string EscapeLeadsTo = "konec";
  // Whatever kept the won run tells the line under the board whether it was a record (OnWin
  // runs first, with the screen's own outcome: the time alone).
  void SetWinOutcome(const WinOutcome& outcome);
  const WinOutcome& LastWin() const { return winOutcome_; }
  // The line under the board: in a pause, after a win, after a death, or empty.
  std::string WayOnText() const;
  // The player's own keys, as the lines name them (the window's KeyMap makes them the game's).
  void UseKeys(const system::KeyBindings& bindings);
  // The ghost: the figure of run (none: no ghost) drawn faint over the board, tick for tick with
  // the player's run since the zone's opening; the splits compare with it, and a run that goes
  // back with rewoundBest when there is one. name says whose run it is on the win line.
  void SetGhost(std::shared_ptr<const GhostRun> run, std::string name,
                std::shared_ptr<const GhostRun> rewoundBest = nullptr);
  const GhostRun* Ghost() const { return ghost_.get(); }
  // G: the ghost is shown or not (the player's setting, told through OnGhostToggled).
  void SetGhostShown(bool shown);
  bool GhostShown() const { return ghostShown_; }
  std::function<void(bool shown)> OnGhostToggled;
  // The split line over the board after the last delivery or the win, or empty.
  std::string SplitLine() const;
  // F1.
  std::function<void()> OnHelp;
  std::function<void()> OnClosed;
  // Runs after every tick (the end-to-end tests follow the player through it).
  std::function<void()> OnTicked;
  // The mail and web labels hand their link here; nothing else changes.
  std::function<void(const std::string& link)> OnLink;

  Game& TheGame() { return game_; }
  PlaySession& Session() { return session_; }
  platform::Window& Window() { return window_; }
  platform::Timer& Timer1() { return timer_; }
  RunRecorder& Recorder() { return session_.Recorder(); }
  // A control by its name in the layout table ("Pole" is the board surface, "Duch" the ghost's
  // figure over it).
  platform::Control& ControlNamed(const std::string& name);
  // Clicks a control as the mouse would.
  void Click(const std::string& name);
  // Brings every control and the timer in line with the game state.
  void Sync();

 private:
  void Build();
  void Bind();
  void Tick();
  void RestartWatch();
  // What a step of the session asks of the window: the board drawn anew, the strips.
  void Shown(const SessionStep& step);
  // After a tick in play: a delivery or the win shows its split.
  void UpdateSplits(bool won);
  // The ghost figure's place over the board, or hidden.
  void PlaceGhost();
  void BeforeWinQuestion();
  void OnKey(int virtualKey);
  // Whether N leads on after the win shown now.
  bool NextOffered() const;
  // The keys the lines name now: the pad's while one is plugged in, else the player's.
  LineKeys ShownKeys() const;
  void BackHeld();
  // The potato strips are painted once per load; their widths reveal the icons.
  void RepaintStrips();
  // After a button or label: a reload may have failed, the panel changed.
  void AfterReload();
  void ShowLoadFailure(const OpenError& error);
  platform::Label& LabelNamed(const std::string& name);
  platform::Image& ImageNamed(const std::string& name);

  platform::App& app_;
  BoardRenderer painter_;
  GameSounds sounds_;
  Prompter& prompter_;
  // The play session; the game is its.
  PlaySession session_;
  Game& game_;
  platform::Window window_;
  platform::Timer timer_;
  platform::Timer backTimer_;  // Backspace held: going on back
  std::map<std::string, std::unique_ptr<platform::Control>> controls_;
  platform::PictureBox pole_;
  platform::PictureBox* viewport_ = nullptr;  // Picture1, on the client area; the board is in it
  // The controls every Sync writes, found once when the screen is built: looked up by name
  // they cost a string search each tick.
  struct Panel {
    platform::Control* BoxOverlay = nullptr;
    platform::Label* BoxesLeft = nullptr;
    platform::Label* Time = nullptr;
    platform::Control* Kapsa = nullptr;
    platform::Control* Need = nullptr;
    platform::Image* DoorKey = nullptr;
    platform::Image* Carried = nullptr;
    std::array<platform::Control*, 4> Debug{};
    platform::Control* Pause = nullptr;
    platform::Label* WayOn = nullptr;  // the keys after a win
    platform::Label* WatchLine = nullptr;
  } panel_;
  platform::SurfacePtr kapsaCanvas_;
  platform::SurfacePtr needCanvas_;
  quarn::SurfacePtr logo_;
  bool failureShown_ = false;
  bool closed_ = false;
  bool paused_ = false;
  bool backHeld_ = false;
  system::OpenedZone opened_{};  // the zone as its last opening found it
  bool fast_ = false;
  KeyScript watchScript_;  // the watched run; the session's cursor steps through it
  WinOutcome winOutcome_;
  // The ghost: its run, the splits' run for a run that goes back, its figure over the board.
  std::shared_ptr<const GhostRun> ghost_;
  std::shared_ptr<const GhostRun> rewoundBest_;
  std::string ghostName_;
  bool ghostShown_ = true;
  platform::Image ghostFigure_;
  platform::SurfacePtr ghostPicture_;
  // The splits: potatoes of the run's opening, delivered so far, the line and when it was shown.
  bool splitsFresh_ = true;
  int runPotatoes_ = 0;
  int delivered_ = 0;
  std::string split_;
  bool splitAhead_ = false;
  std::optional<int64_t> splitAt_;  // the run's ticks when the line was shown
  std::string zoneTitle_;
  system::KeyBindings keys_;
};

}  // namespace quarn::ui
