// Replay.cpp — the headless ports (keys, painter, sound, questions) and the replay runner.
#include "Replay.h"

#include <algorithm>

#include "Session.h"

namespace quarn {

void ScriptedKeys::Hold(const std::vector<int>& virtualKeys) {
  down_.fill(false);
  for (int key : virtualKeys) {
    if (key > 0 && key < 256) down_[static_cast<size_t>(key)] = true;
  }
}

int16_t ScriptedKeys::GetAsyncKeyState(int virtualKey) {
  if (virtualKey <= 0 || virtualKey >= 256) return 0;
  // The top bit, as the platform reports a key held down; the same value at every query.
  return down_[static_cast<size_t>(virtualKey)] ? static_cast<int16_t>(-32768) : 0;
}

std::optional<PictureProblem> NullPainter::LoadGraphics(uint8_t& tileSize) {
  tileSize = CellPixels;
  return std::nullopt;
}

void CountingSound::Play(GameSound sound) { ++starts_[static_cast<size_t>(sound)]; }

void CountingSound::Stop(GameSound sound) { ++stops_[static_cast<size_t>(sound)]; }

void CountingSound::SetVolume(GameSound sound, int32_t hundredthsDb) {
  if (sound == GameSound::LaserDoors) laserVolume_ = std::clamp<int32_t>(hundredthsDb, -10000, 0);
}

int AnsweringPrompter::SkinMsgBox(const std::string& prompt, int, int, const std::string&) {
  ++asked_;
  lastPrompt_ = prompt;
  return yes_ ? msgbox::ResultYes : msgbox::ResultNo;
}

Replay::Replay(BoardPainter& painter, bool answerYes)
    : program_(keys_),
      prompter_(answerYes),
      session_(std::make_unique<PlaySession>(program_, GamePorts{painter, sound_, prompter_},
                                             keys_)) {}

Replay::~Replay() = default;

int64_t Replay::TicksRun() const { return session_->TicksRun(); }
RunRecorder& Replay::Recorder() { return session_->Recorder(); }
const RunRecorder& Replay::Recorder() const { return session_->Recorder(); }
Game& Replay::GetGame() { return session_->GetGame(); }
const Game& Replay::GetGame() const { return session_->GetGame(); }

Replay::Replay(bool answerYes) : Replay(ownPainter_, answerYes) {}

std::optional<OpenError> Replay::Open(const std::string& zonePath) {
  return session_->Open(zonePath);
}

bool Replay::Tick(const std::vector<int>& keysDown) { return Tick(MaskOfKeys(keysDown)); }

bool Replay::Tick(KeyMask keysDown) { return session_->Tick(keysDown).Ran; }

int64_t Replay::Back(int64_t ticks) { return session_->Back(ticks).Ticks; }

std::optional<OpenError> Replay::Carry(const CarriedState& c) { return Recorder().Carry(c); }

namespace {

// Mended: "carry player=" could put the figure anywhere, far outside the board, where the rules
// index cells that do not exist. A run's opening keeps the figure and the exit only where the
// board has cells: the zone's own, or the margin a zone open at its border lets the figure reach.
std::optional<OpenError> CarryWithin(RunRecorder& run, const GameState& state,
                                     const CarriedState& c, int line) {
  const int64_t steps = std::max(1, state.PlayerSteps);
  // The cell a fine position lies in, also when it is part-way through a step.
  auto cell = [&](int64_t fine) {
    return static_cast<int>(fine >= 0 ? fine / steps : -((-fine + steps - 1) / steps));
  };
  std::string what;
  if (!BoardGrid::InRange(cell(c.PlayerX), cell(c.PlayerY))) {
    what = "player=" + std::to_string(c.PlayerX) + "," + std::to_string(c.PlayerY);
  } else if (!BoardGrid::InRange(c.ExitX, c.ExitY)) {
    what = "exit=" + std::to_string(c.ExitX) + "," + std::to_string(c.ExitY);
  }
  if (!what.empty()) {
    return OpenError{
        ZoneError{state.FileName, 0, "",
                  "řádek " + std::to_string(line) + " průchodu nejde přehrát: " + what +
                      " leží mimo desku zóny (pole " + std::to_string(BoardGrid::MinX) + ".." +
                      std::to_string(BoardGrid::MaxX) + " × " + std::to_string(BoardGrid::MinY) +
                      ".." + std::to_string(BoardGrid::MaxY) + ", " + std::to_string(steps) +
                      " kroků na pole)"},
        std::nullopt, true};
  }
  return run.Carry(c);
}

}  // namespace

std::optional<OpenError> PlayBetweenTicks(RunRecorder& run, const GameState& state,
                                          const KeyScript& script, const KeyScriptStep& step) {
  switch (step.Action) {
    case KeyScriptAction::Random:
      run.SetRandom(static_cast<uint32_t>(step.Value));
      break;
    case KeyScriptAction::Back:
      run.Back(step.Value);
      break;
    case KeyScriptAction::Carry:
      return CarryWithin(run, state, script.Carried.at(static_cast<size_t>(step.Value)), step.Line);
    case KeyScriptAction::Keys:
      break;
  }
  return std::nullopt;
}

std::optional<OpenError> Replay::Run(const KeyScript& script, std::optional<int64_t> ticks) {
  // The ticks go through the session's script cursor, as a watched run's and the ghost's do.
  const int64_t total = ticks ? *ticks : script.TotalTicks();
  session_->Follow(script);
  for (int64_t played = 0; played < total; ++played) {
    SessionStep step = session_->ScriptTick();
    if (step.Error) return step.Error;
    if (!step.Ran) return GetGame().LoadFailure();
  }
  // Mended: the lines that take no ticks act once every key line before them has been played,
  // also after the last one; a "back" that ends a script was skipped, and the run ended in the
  // state before it. Play cut inside a key line reaches none of the lines after it.
  if (!session_->Cursor().InsideKeyLine()) {
    if (auto error = session_->PlayBetween().Error) return error;
  }
  return GetGame().LoadFailure();
}

}  // namespace quarn
