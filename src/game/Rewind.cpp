// Rewind.cpp — the run since the last opening: recording, going back, the run as a key script.
#include "Rewind.h"

namespace quarn {

KeyMask MaskOfKeys(const std::vector<int>& virtualKeys) {
  KeyMask mask = 0;
  for (int key : virtualKeys) {
    for (size_t i = 0; i < ScriptKeys.size(); ++i) {
      if (ScriptKeys[i] == key) mask = static_cast<KeyMask>(mask | (1u << i));
    }
  }
  return mask;
}

std::vector<int> KeysOfMask(KeyMask mask) {
  std::vector<int> keys;
  for (size_t i = 0; i < ScriptKeys.size(); ++i) {
    if (mask & (1u << i)) keys.push_back(ScriptKeys[i]);
  }
  return keys;
}

namespace {
int SlotOf(int virtualKey) {
  for (size_t i = 0; i < ScriptKeys.size(); ++i) {
    if (ScriptKeys[i] == virtualKey) return static_cast<int>(i);
  }
  return -1;
}
}  // namespace

void TickKeys::SampleLive() {
  for (size_t i = 0; i < ScriptKeys.size(); ++i) {
    sample_[i] = live_ ? live_->GetAsyncKeyState(ScriptKeys[i]) : int16_t{0};
  }
  asked_.fill(false);
}

void TickKeys::Hold(KeyMask keys) {
  for (size_t i = 0; i < ScriptKeys.size(); ++i) {
    sample_[i] = (keys & (1u << i)) ? static_cast<int16_t>(-32768) : int16_t{0};
  }
  asked_.fill(false);
}

int16_t TickKeys::GetAsyncKeyState(int virtualKey) {
  const int slot = SlotOf(virtualKey);
  if (slot < 0) return 0;
  const size_t i = static_cast<size_t>(slot);
  // The live state's first query of the tick clears the "pressed since" mark; later ones see
  // only whether the key is down.
  const int16_t value = asked_[i] ? static_cast<int16_t>(sample_[i] & int16_t{-32768}) : sample_[i];
  asked_[i] = true;
  return value;
}

int16_t TickKeys::Sampled(int virtualKey) const {
  const int slot = SlotOf(virtualKey);
  return slot < 0 ? int16_t{0} : sample_[static_cast<size_t>(slot)];
}

struct Rewind::Impl {
  Game& game;
  TickKeys& keys;
};

Rewind::Rewind(Game& game, TickKeys& keys) : impl_(new Impl{game, keys}) {}
Rewind::~Rewind() = default;
void Rewind::Opened() {}
void Rewind::ChangedOutside() { reproducible_ = false; }
bool Rewind::Tick() {
  if (!impl_->game.State.TickEnabled) return false;
  impl_->keys.SampleLive();
  impl_->game.Tick();
  return true;
}
bool Rewind::Tick(KeyMask held) {
  if (!impl_->game.State.TickEnabled) return false;
  impl_->keys.Hold(held);
  impl_->game.Tick();
  return true;
}
void Rewind::SetRandom(uint32_t) {}
BackResult Rewind::Back(int64_t) { return {}; }
int64_t Rewind::RunTicks() const { return 0; }
std::string Rewind::RunScript(const std::vector<std::string>&) const { return {}; }
size_t Rewind::MemoryBytes() const { return 0; }

}  // namespace quarn
