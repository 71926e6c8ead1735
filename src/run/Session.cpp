// Session.cpp — the script cursor and the play session's ticks, steps back and bookkeeping.
#include "Session.h"

#include <algorithm>
#include <utility>

namespace quarn {

ScriptCursor::ScriptCursor(const KeyScript& script) : script_(&script) { SkipPlayed(); }

void ScriptCursor::SkipPlayed() {
  if (!script_) return;
  const std::vector<KeyScriptStep>& steps = script_->Steps;
  while (step_ < steps.size() && steps[step_].Action == KeyScriptAction::Keys &&
         tick_ >= steps[step_].Ticks) {
    ++step_;
    tick_ = 0;
  }
}

const KeyScriptStep* ScriptCursor::Between() const {
  if (!script_ || step_ >= script_->Steps.size()) return nullptr;
  const KeyScriptStep& step = script_->Steps[step_];
  return step.Action == KeyScriptAction::Keys ? nullptr : &step;
}

void ScriptCursor::Pass() {
  if (!Between()) return;
  ++step_;
  tick_ = 0;
  SkipPlayed();
}

bool ScriptCursor::AtEnd() const {
  if (!script_) return true;
  // Lines that take no ticks may stand before the end; key lines left have ticks (SkipPlayed).
  for (size_t s = step_; s < script_->Steps.size(); ++s) {
    if (script_->Steps[s].Action == KeyScriptAction::Keys) return false;
  }
  return true;
}

KeyMask ScriptCursor::Keys() const {
  if (!script_ || step_ >= script_->Steps.size() || Between()) return 0;
  return script_->Steps[step_].Keys;
}

void ScriptCursor::Ticked() {
  if (!script_ || step_ >= script_->Steps.size() || Between()) return;
  ++tick_;
  SkipPlayed();
}

void ScriptCursor::Finish() {
  if (!script_) return;
  step_ = script_->Steps.size();
  tick_ = 0;
}

bool ScriptCursor::StepBack(int64_t ticks) {
  if (!script_) return ticks == 0;
  size_t step = step_;
  int64_t tick = tick_;
  while (ticks > 0) {
    if (tick > 0) {
      const int64_t undo = std::min(tick, ticks);
      tick -= undo;
      ticks -= undo;
      continue;
    }
    if (step == 0) return false;
    const KeyScriptStep& before = script_->Steps[step - 1];
    if (before.Action != KeyScriptAction::Keys) return false;
    --step;
    tick = before.Ticks;
  }
  step_ = step;
  tick_ = tick;
  return true;
}

std::string HeldKeysText(const TickKeys& keys) {
  // The winning tick reads the arrows and space only; Enter, Ctrl and R of it do not count.
  std::vector<int> held;
  for (int key : {vk::Left, vk::Up, vk::Right, vk::Down, vk::Space}) {
    if (keys.Sampled(key) != 0) held.push_back(key);
  }
  return KeysText(MaskOfKeys(held));
}

int PlaySession::WinWatch::SkinMsgBox(const std::string& prompt, int buttons, int icon,
                                      const std::string& title) {
  // A watched run is not asked about: it stops at its win, which the screen shows.
  if (std::exchange(session_.winAsked_, false) && session_.watching_) return msgbox::ResultNo;
  return ask_.SkinMsgBox(prompt, buttons, icon, title);
}

PlaySession::PlaySession(ProgramContext& program, GamePorts ports, TickKeys& keys)
    : keys_(keys),
      winWatch_(*this, ports.Ask),
      game_(program, GamePorts{ports.Painter, ports.Sound, winWatch_}),
      rewind_(game_, keys) {
  game_.OnWin = [this] {
    winAsked_ = true;
    if (!watching_ && !practising_ && OnWin) OnWin();
  };
}

std::optional<OpenError> PlaySession::Open(const std::string& zonePath) {
  game_.State.FileName = zonePath;
  auto error = game_.Otevrit();
  slowed_ = game_.State.TickInterval != DesignTickInterval;
  return error;
}

std::optional<OpenError> PlaySession::Restart() {
  // The recorded keys would walk on from a reloaded zone that their run never saw.
  if (watching_) return RestartWatch();
  game_.Restart();
  slowed_ = game_.State.TickInterval != DesignTickInterval;
  wonHalted_ = false;
  haltedAt_.reset();
  return game_.LoadFailure();
}

void PlaySession::Follow(const KeyScript& script) {
  cursor_ = ScriptCursor(script);
  watchEnded_ = false;
}

std::optional<OpenError> PlaySession::Watch(const KeyScript& script) {
  Follow(script);
  watching_ = true;
  practising_ = false;
  watchRandom_ = game_.Program().Rng.State();
  return RestartWatch();
}

std::optional<OpenError> PlaySession::RestartWatch() {
  // Every watch of the run begins alike, and as the run's script expects it: the zone opened
  // afresh with nothing kept from before (as a new screen in a new program would have it).
  // The generator too, for a script without a "random" line of its own: a watch seeks back by
  // playing again from its start, which must be the start it had.
  game_.Program().Rng.SetState(watchRandom_);
  if (auto error = rewind_.Carry(CarriedState{})) return error;
  cursor_ = cursor_.Rewound();
  watchEnded_ = false;
  wonHalted_ = false;
  haltedAt_.reset();
  return std::nullopt;
}

SessionStep PlaySession::PlayBetween() {
  SessionStep done;
  while (const KeyScriptStep* step = cursor_.Between()) {
    const KeyScriptStep line = *step;
    cursor_.Pass();
    if (line.Action == KeyScriptAction::Back) {
      const BackResult back = Back(line.Value);
      done.Redraw = done.Redraw || back.RedrawBoard;
      continue;
    }
    // The cursor's script is the one this line came from.
    if (auto error = PlayBetweenTicks(rewind_, game_.State, *cursor_.Script(), line)) {
      done.Error = std::move(error);
      cursor_.Finish();
      return done;
    }
    if (line.Action == KeyScriptAction::Carry) done.Reopened = true;
  }
  return done;
}

void PlaySession::TickWith(std::optional<KeyMask> keys, SessionStep& step) {
  const int64_t restarts = game_.Restarts();
  const int64_t wins = game_.Wins();
  if (game_.State.TickInterval != DesignTickInterval) slowed_ = true;
  // While the win question waits the window's timer goes on: those ticks do nothing.
  if (!(keys ? rewind_.Tick(*keys) : rewind_.Tick())) return;
  step.Ran = true;
  ++ticksRun_;
  if (game_.State.GameOver == 0) {
    haltedAt_.reset();
  } else if (!haltedAt_ || *haltedAt_ > rewind_.RunTicks()) {
    haltedAt_ = rewind_.RunTicks();
  }
  if (game_.Restarts() != restarts) {
    // A new run begins with the reload: it is slowed only if it is played slowed.
    wonHalted_ = false;
    slowed_ = game_.State.TickInterval != DesignTickInterval;
    step.Reopened = true;
  } else if (game_.Wins() != wins && game_.State.GameOver != 0) {
    wonHalted_ = true;
    step.Won = true;
  }
  if (OnTicked) OnTicked();
}

void PlaySession::ScriptKeyTick(SessionStep& step) {
  const bool inScript = !cursor_.AtEnd();
  TickWith(cursor_.Keys(), step);
  if (step.Ran && inScript) cursor_.Ticked();
}

SessionStep PlaySession::ScriptTick() {
  SessionStep step = PlayBetween();
  if (!step.Error) ScriptKeyTick(step);
  return step;
}

SessionStep PlaySession::Tick() {
  if (!watching_) {
    SessionStep step;
    TickWith(std::nullopt, step);
    return step;
  }
  SessionStep step = PlayBetween();
  if (step.Error || cursor_.AtEnd()) {
    step.EndedNow = !watchEnded_;
    if (step.EndedNow) endedAt_ = rewind_.RunTicks();
    watchEnded_ = true;
    // A run that won ends as a win ends play for the player: the board stops where it won, and
    // no enemy wanders on into the figure. A run cut short leaves the zone living without keys.
    if (step.Error || wonHalted_) return step;
  }
  ScriptKeyTick(step);
  return step;
}

SessionStep PlaySession::Seek(int64_t ticks) {
  SessionStep done;
  if (!watching_) return done;
  if (ticks >= 0) {
    for (int64_t t = 0; t < ticks; ++t) {
      const SessionStep step = Tick();
      done.Redraw = done.Redraw || step.Redraw;
      done.Reopened = done.Reopened || step.Reopened;
      done.Ran = done.Ran || step.Ran;
      if (step.Error) done.Error = step.Error;
      if (!step.Ran) break;
    }
    return done;
  }
  const int64_t now = rewind_.RunTicks();
  const int64_t back = std::min(-ticks, now);
  if (back == 0) return done;
  // Past the script's end the ticks without keys are the cursor's too: they count from its end.
  const int64_t pastEnd = watchEnded_ ? std::max<int64_t>(0, now - endedAt_) : 0;
  const int64_t inScript = std::max<int64_t>(0, back - pastEnd);
  ScriptCursor cursor = cursor_;
  if (cursor.StepBack(inScript)) {
    const BackResult undone = Back(back);
    if (undone.Ticks == back) {
      cursor_ = cursor;
      watchEnded_ = watchEnded_ && back < pastEnd;
      if (game_.State.GameOver == 0) wonHalted_ = false;
      haltedAt_.reset();
      done.Redraw = true;
      return done;
    }
  }
  // From the start again, unseen, to the same tick of the run.
  const int64_t target = now - back;
  if (auto error = RestartWatch()) {
    done.Error = error;
    return done;
  }
  done.Reopened = true;
  for (int64_t guard = 0; rewind_.RunTicks() < target && guard <= target + 1; ++guard) {
    const SessionStep step = Tick();
    if (step.Error) done.Error = step.Error;
    if (!step.Ran) break;
  }
  return done;
}

void PlaySession::Practise() {
  if (!watching_) return;
  watching_ = false;
  practising_ = true;
  cursor_.Finish();
}

SessionStep PlaySession::Tick(KeyMask held) {
  SessionStep step;
  TickWith(held, step);
  return step;
}

BackResult PlaySession::Back(int64_t ticks) {
  const BackResult back = rewind_.Back(ticks);
  ticksRun_ -= back.Ticks;
  return back;
}

BackResult PlaySession::GoBack(int64_t ticks) {
  // One press after a death or a declined replay shows the second before the death or the win.
  if (game_.State.GameOver != 0 && haltedAt_ && *haltedAt_ <= rewind_.RunTicks()) {
    ticks += rewind_.RunTicks() - *haltedAt_;
  }
  const BackResult back = Back(ticks);
  if (game_.State.GameOver == 0) {
    haltedAt_.reset();
    wonHalted_ = false;
  }
  return back;
}

WonRun PlaySession::WinningRun() const {
  WonRun run;
  run.Rewound = rewind_.UsedRewind();
  // A run slowed down by Zpomalit is won, but it is no time: it is neither timed nor kept, as a
  // run changed by a debugging button.
  if (rewind_.Reproducible() && !slowed_ && !practising_) {
    // The win comes in the middle of the winning tick, which the run has not taken in yet: it
    // is this one more tick, with the arrows and space it read.
    run.Ticks = rewind_.RunTicks() + 1;
    run.Keys = rewind_.RunScript({}) + "1 " + HeldKeysText(keys_) + "\n";
  }
  return run;
}

}  // namespace quarn
