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
      game_(program_, GamePorts{painter, sound_, prompter_}),
      rewind_(game_, keys_) {}

Replay::Replay(bool answerYes) : Replay(ownPainter_, answerYes) {}

std::optional<OpenError> Replay::Open(const std::string& zonePath) {
  game_.State.FileName = zonePath;
  return game_.Otevrit();
}

bool Replay::Tick(const std::vector<int>& keysDown) {
  if (!rewind_.Tick(MaskOfKeys(keysDown))) return false;
  ++ticksRun_;
  return true;
}

int64_t Replay::Back(int64_t ticks) {
  const int64_t undone = rewind_.Back(ticks).Ticks;
  ticksRun_ -= undone;
  return undone;
}

std::optional<OpenError> Replay::Carry(const CarriedState& c) { return rewind_.Carry(c); }

std::optional<OpenError> PlayBetweenTicks(Rewind& run, const KeyScriptStep& step) {
  switch (step.Action) {
    case KeyScriptAction::Random:
      run.SetRandom(static_cast<uint32_t>(step.Value));
      break;
    case KeyScriptAction::Back:
      run.Back(step.Value);
      break;
    case KeyScriptAction::Carry:
      return run.Carry(step.Carried);
    case KeyScriptAction::Keys:
      break;
  }
  return std::nullopt;
}

std::optional<OpenError> Replay::Run(const KeyScript& script, std::optional<int64_t> ticks) {
  const int64_t total = ticks ? *ticks : script.TotalTicks();
  int64_t played = 0;
  for (const KeyScriptStep& step : script.Steps) {
    if (played >= total) break;
    if (step.Action == KeyScriptAction::Back) {
      Back(step.Value);
    } else if (step.Action != KeyScriptAction::Keys) {
      if (auto error = PlayBetweenTicks(rewind_, step)) return error;
    }
    for (int64_t t = 0; t < step.Ticks && played < total; ++t, ++played) {
      if (!Tick(step.Keys)) return game_.LoadFailure();
    }
  }
  for (; played < total; ++played) {
    if (!Tick({})) break;
  }
  return game_.LoadFailure();
}

}  // namespace quarn
