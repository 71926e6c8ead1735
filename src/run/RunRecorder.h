// RunRecorder.h — a run kept tick by tick since its last opening: going back in it (Backspace,
// "back N"), and writing what remains as a key script that plays the same run from a fresh load.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "game/Game.h"

namespace quarn {

// The eight keys a key script can name, one bit each (left, up, right, down, space, enter,
// ctrl, r, in this order).
using KeyMask = uint8_t;
inline constexpr std::array<int, 8> ScriptKeys = [] {
  std::array<int, 8> keys{};
  for (size_t i = 0; i < keys.size(); ++i) keys[i] = ScriptKeyNames[i].VirtualKey;
  return keys;
}();
// A tick's keys as a key line writes them: "left+space", "-" for none.
std::string KeysText(KeyMask mask);
KeyMask MaskOfKeys(const std::vector<int>& virtualKeys);  // keys outside the eight are dropped
std::vector<int> KeysOfMask(KeyMask mask);                // in the order of ScriptKeys

// The keys of one tick, fixed at its start. The window's key state changes with every event and a
// query clears its "pressed since" mark; a script holds its keys for the whole tick. Sampling each
// of the eight keys once when the tick starts and answering the tick's queries from that sample
// makes a recorded tick play back the same from a script. Within the tick the sample answers as
// the live state would: a key's first query sees its "pressed since" mark, later ones only
// whether it is down. Keys outside the eight read as up (the game asks for them only when it
// flushes the keyboard, and ignores the answers).
class TickKeys : public KeySource {
 public:
  TickKeys() = default;
  explicit TickKeys(KeySource& live) : live_(&live) {}
  // Start of a tick in play: queries each of the eight keys of the live source once.
  void SampleLive();
  // Start of a tick from a script or a recording: exactly these keys are down all tick.
  void Hold(KeyMask keys);
  int16_t GetAsyncKeyState(int virtualKey) override;
  // The sampled value of one of the eight keys (0 for others).
  int16_t Sampled(int virtualKey) const;

 private:
  KeySource* live_ = nullptr;
  std::array<int16_t, 8> sample_{};
  std::array<bool, 8> asked_{};
};

// What an opening of the zone keeps from before it (the loader leaves these as they were) and
// what the program keeps across openings: the key-script line "carry" sets them. Defaults are
// those of a freshly created game screen in a fresh program.
struct CarriedState {
  bool Halted = false;  // the opening came inside a tick: replay it as "carry", then "1 enter"
  Flag16 Moving = 0;
  std::array<uint8_t, 2> MoveMemory{};
  std::array<int, 4> HoldCounts{};  // left, up, right, down
  int RadioCounter = 0;
  double RadioX = 0, RadioY = 0;
  float DeathPhase = 0;
  int PlayerX = 0, PlayerY = 0;  // kept by a zone without "S"
  int ExitX = 0, ExitY = 0;      // kept by a zone without "E"
  bool operator==(const CarriedState&) const = default;
};

// The result of going back.
struct BackResult {
  int64_t Ticks = 0;         // how many ticks were undone (fewer than asked at the opening)
  bool RedrawBoard = false;  // the state changed: the board surface was drawn anew; the caller
                             // shows it and the side panel again
  int64_t Replayed = 0;      // ticks played again, unseen, from the nearest kept state
};

// One game screen's run since its zone was last opened. Every tick goes through Tick(), which
// records the tick's keys; openings (a load between ticks: the screen's load, the Restart label;
// or one inside a tick: Ctrl+R, Enter after a halt, Yes to the replay question) start a new run
// by themselves (the Game tells this object through Game::OnOpening, which it takes over). The
// Game must poll its keys through the TickKeys given here (its ProgramContext built on it).
//
// Going back redraws the whole board through the game's painter and sets the looped walk sound
// as the restored state has it (Game::ShowReplacedState); the caller repaints the window.
class RunRecorder {
 public:
  RunRecorder(Game& game, TickKeys& keys);
  ~RunRecorder();
  RunRecorder(const RunRecorder&) = delete;
  RunRecorder& operator=(const RunRecorder&) = delete;

  // A new run starts from the state as it stands. Openings of the zone (between ticks or inside
  // one) are noticed by themselves; this is for a state set up otherwise.
  void Opened();
  // The state was changed between ticks by something the run does not record (a debugging
  // button): Back stops here from now on, and the run no longer plays back from a script.
  void ChangedOutside();

  // One game tick with the live keys sampled, or with exactly these keys held. Returns false when
  // the tick is disabled (a failed reload) or the game is inside a tick already (the win question
  // waits), and nothing happened.
  bool Tick();
  bool Tick(KeyMask held);
  // Sets the enemies' generator state before the next tick ("random N"); part of the run.
  void SetRandom(uint32_t state);

  // Puts back what a run's opening kept from before it and opens the zone again, between ticks
  // ("carry"); halted, the game then stands halted so that the next tick's Enter opens the zone
  // inside the tick, as the run's own opening came.
  std::optional<OpenError> Carry(const CarriedState& carried);

  // Goes back this many ticks, never past the opening. Everything returns to what it was then:
  // the game state, the game's counters, the keyboard's hold counters, the generator.
  BackResult Back(int64_t ticks);

  // Ticks of the run that remain (the opening's own tick counts when the opening came inside it).
  int64_t RunTicks() const;
  bool UsedRewind() const;
  // False once something unrecorded changed the run (ChangedOutside).
  bool Reproducible() const;
  // The run as a key script: each comment as a "# " line, "random N", a "carry" line when the
  // opening kept anything a fresh load would not have, then "N KEYS" lines. It plays without
  // rewinding and, from a fresh load, ends where the run stands now.
  std::string RunScript(const std::vector<std::string>& comments) const;
  // Bytes held for going back (snapshots and keys), for the benchmark and the budget.
  size_t MemoryBytes() const;
  // The most ticks one step back may have to replay: the longest gap between kept states, or
  // from the last one to now.
  int64_t LongestReplay() const;

 private:
  // Starts the new run from the state as it stands (Opened, and Settle for an opening the getters
  // meet before the next tick: the opening has happened, its bookkeeping is completed here).
  void StartRun() const;
  // Starts the new run when the zone was opened between ticks since the last call.
  void Settle() const;
  // Whether a tick asked for now would run.
  bool Ticks() const;

  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace quarn
