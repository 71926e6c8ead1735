// Replay.cpp — the headless ports (keys, painter, sound, questions) and the replay runner.
#include "Replay.h"

#include <algorithm>

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
      game_(program_, GamePorts{painter, sound_, prompter_}) {}

Replay::Replay(bool answerYes) : Replay(ownPainter_, answerYes) {}

std::optional<ZoneError> Replay::Open(const std::string& zonePath) {
  game_.State.FileName = zonePath;
  return game_.Otevrit();
}

bool Replay::Tick(const std::vector<int>& keysDown) {
  if (!game_.State.TickEnabled) return false;
  keys_.Hold(keysDown);
  game_.Tick();
  ++ticksRun_;
  return true;
}

std::optional<ZoneError> Replay::Run(const KeyScript& script, std::optional<int64_t> ticks) {
  const int64_t total = ticks ? *ticks : script.TotalTicks();
  const std::vector<int> none;
  size_t step = 0;
  int64_t usedOfStep = 0;
  for (int64_t t = 0; t < total; ++t) {
    while (step < script.Steps.size() && usedOfStep >= script.Steps[step].Ticks) {
      ++step;
      usedOfStep = 0;
    }
    const std::vector<int>& keys = step < script.Steps.size() ? script.Steps[step].Keys : none;
    ++usedOfStep;
    if (!Tick(keys)) break;
  }
  return game_.LoadFailure();
}

}  // namespace quarn
