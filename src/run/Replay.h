// Replay.h — a zone played headless from a key script: screenless ports, the runner, the report.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "RunRecorder.h"
#include "game/Game.h"

namespace quarn {
class PlaySession;
}

namespace quarn {

// What a line of a key script does.
enum class KeyScriptAction : uint8_t {
  Keys,    // "N KEYS": during the next Ticks ticks exactly Keys are down
  Random,  // "random N": the enemies' generator state is Value before the next tick
  Back,    // "back N": go back Value ticks, as Backspace does, never past the last opening
  Carry,   // "carry ...": what the run's opening kept from before it (Carried); the zone is opened
           // again with it
};

// One line of a key script: during the next Ticks ticks exactly Keys are down. Sixteen bytes, so
// that a script of millions of lines takes memory in proportion to its file; consecutive key
// lines with the same keys are one step.
struct KeyScriptStep {
  int32_t Ticks = 0;  // 0 for lines other than key lines; at most 1000000000
  int32_t Line = 0;   // 1-based line of the script
  // "random": the generator state; "back": the ticks; "carry": the index in KeyScript::Carried.
  int32_t Value = 0;
  KeyScriptAction Action = KeyScriptAction::Keys;
  KeyMask Keys = 0;
};

struct KeyScript {
  std::vector<KeyScriptStep> Steps;
  std::vector<CarriedState> Carried;  // what each "carry" line holds
  // The zone a saved run names in its comment "# zóna: TITLE" (the first such line), if any.
  std::optional<std::string> NamedZone;
  // Ticks of the key lines (a "back" line takes none away).
  int64_t TotalTicks() const;
  // The keys down during tick t (0-based) of the key lines; none past the script's end.
  std::vector<int> KeysAt(int64_t t) const;
};

// Does what a "random", "back" or "carry" line of script does, between two ticks of the run (a
// key line does nothing here: its ticks are the caller's). A watched run plays its lines through
// this. state is the game's as it stands: a "carry" that would put the figure or the exit
// outside its zone is refused before anything changes.
std::optional<OpenError> PlayBetweenTicks(RunRecorder& run, const GameState& state,
                                          const KeyScript& script, const KeyScriptStep& step);

// A key script that cannot be played: where and why.
struct KeyScriptError {
  std::string File;
  int Line = 0;  // 0 when the file could not be read
  std::string Message;
  std::string Describe() const;  // "FILE:LINE: message"
};

// Parses key-script text ("12 right", "1 ctrl+r", "30 -"; '#' comments). fileName is for errors.
std::variant<KeyScript, KeyScriptError> ParseKeyScript(std::string_view text,
                                                       const std::string& fileName = "keys");
// The largest key script read: an hour of play written one tick a line is about 2 MB.
inline constexpr int64_t MaxKeyScriptBytes = int64_t{64} << 20;
// Reads a key script as zones are read: a regular file only, opened without blocking (a pipe, a
// device or a folder is refused with the reason), at most MaxKeyScriptBytes.
std::variant<KeyScript, KeyScriptError> ReadKeyScript(const std::string& path);
// The text of a key script, read with the same care and limits, for a reader of its head too.
std::variant<std::string, KeyScriptError> ReadKeyScriptText(const std::string& path);

// Keys that change only between ticks: a key held reads as down at every query of the tick.
class ScriptedKeys : public KeySource {
 public:
  void Hold(const std::vector<int>& virtualKeys);
  int16_t GetAsyncKeyState(int virtualKey) override;

 private:
  std::array<bool, 256> down_{};
};

// Draws nothing; pictures always "load".
class NullPainter : public BoardPainter {
 public:
  std::optional<PictureProblem> LoadGraphics(uint8_t& tileSize) override;
  void ResizeBoard(int, int) override {}
  void Nakr(const GameState&, int, int) override {}
  void NakrF(const GameState&) override {}
  void NakrN(const GameState&, int) override {}
  void Vycisti(double, double, double, int) override {}
  void XorLine(double, double, double, double, Rgb) override {}
  void XorCircle(double, double, double, Rgb) override {}
};

// Plays nothing; counts the starts of each sound and keeps the laser volume as the sound module
// would hold it.
class CountingSound : public SoundPort {
 public:
  void Play(GameSound sound) override;
  void Stop(GameSound sound) override;
  void SetVolume(GameSound sound, int32_t hundredthsDb) override;

  int Starts(GameSound sound) const { return starts_[static_cast<size_t>(sound)]; }
  int Stops(GameSound sound) const { return stops_[static_cast<size_t>(sound)]; }
  // The last volume set on the laser sound after the clamp to -10000..0; none if never set.
  std::optional<int32_t> LaserVolume() const { return laserVolume_; }

 private:
  std::array<int, GameSoundCount> starts_{};
  std::array<int, GameSoundCount> stops_{};
  std::optional<int32_t> laserVolume_;
};

// Answers every question the same way and counts them.
class AnsweringPrompter : public Prompter {
 public:
  explicit AnsweringPrompter(bool yes) : yes_(yes) {}
  int SkinMsgBox(const std::string& prompt, int buttons, int icon,
                 const std::string& title) override;
  int Asked() const { return asked_; }
  const std::string& LastPrompt() const { return lastPrompt_; }

 private:
  bool yes_;
  int asked_ = 0;
  std::string lastPrompt_;
};

// A zone played headless (a play session): one game screen with its own program context (keyboard counters and a
// random generator from their start values), a counting sound port and an answering prompter.
// The painter is the caller's, so the same replay can draw a picture of the board.
class Replay {
 public:
  Replay(BoardPainter& painter, bool answerYes);
  explicit Replay(bool answerYes = false);  // draws nothing
  ~Replay();
  Replay(const Replay&) = delete;
  Replay& operator=(const Replay&) = delete;

  // Opens the zone as a freshly created game screen does.
  std::optional<OpenError> Open(const std::string& zonePath);
  // One game tick with exactly these keys (virtual-key codes) down. Returns false when the tick
  // is disabled (a reload failed) and so did nothing. Keys other than the eight a script can name
  // read as up.
  bool Tick(const std::vector<int>& keysDown);
  bool Tick(KeyMask keysDown);
  // Goes back this many ticks (never past the last opening); returns how many were undone.
  int64_t Back(int64_t ticks);
  // Puts back what a run's opening kept from before it, and opens the zone again ("carry").
  std::optional<OpenError> Carry(const CarriedState& carried);
  // Plays the script: ticks of its key lines, cut or padded with no keys, or its own length;
  // "random", "back" and "carry" lines act between ticks, those after the last key line too (not
  // those after a cut). Stops early, returning the error, when a reload fails.
  std::optional<OpenError> Run(const KeyScript& script, std::optional<int64_t> ticks = {});

  // Ticks played, less those gone back.
  int64_t TicksRun() const;
  RunRecorder& Recorder();
  const RunRecorder& Recorder() const;
  Game& GetGame();
  const Game& GetGame() const;
  const GameState& State() const { return GetGame().State; }
  PlaySession& Session() { return *session_; }
  const CountingSound& Sound() const { return sound_; }
  const AnsweringPrompter& Prompts() const { return prompter_; }

  // The report: one JSON object (a line, no trailing newline). withBoard adds the tile codes.
  std::string Report(bool withBoard) const;

 private:
  NullPainter ownPainter_;
  TickKeys keys_;
  ProgramContext program_;
  CountingSound sound_;
  AnsweringPrompter prompter_;
  std::unique_ptr<PlaySession> session_;
};

}  // namespace quarn
