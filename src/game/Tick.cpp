// Tick.cpp — the game tick in its ten steps, the speed buttons and the hidden debugging buttons.
#include <cmath>

#include "Game.h"

namespace quarn {

void Game::Tick() {
  GameState& s = State;
  // The win question is modal inside the tick: a timer tick delivered while it is open (by a
  // platform that runs its event loop for the question) is dropped: play stands until the answer.
  if (!s.TickEnabled || inTick_) return;
  struct InTick {
    bool& flag_;
    explicit InTick(bool& f) : flag_(f) { flag_ = true; }
    ~InTick() { flag_ = false; }
  } guard(inTick_);
  restartKeys_ = {};

  // 1, 2: erase last tick's beam and circles; the exclusive-or figures vanish when drawn again.
  if (s.RadioCounter > 0) {
    AnimRadio(1);
    s.RadioCounter -= 3;
  }
  if (s.Dying != 0) {
    AnimSmrt(s.DeathPhase, 0);
    // Single precision on purpose: 45 additions give 9.999995, so the 46th ends the animation.
    s.DeathPhase = static_cast<float>(s.DeathPhase + 0.2);
    if (s.DeathPhase >= 10) s.Dying = FlagFalse;
  }

  // 3: the player. A failed reload in the win flow stops the tick here.
  if (s.GameOver == 0) MoveF();
  if (!s.TickEnabled) return;

  // 4: restart keys. Quirk: the key states are combined bitwise, so R tapped and released between
  // two ticks while Ctrl is held (0x0001 AND 0x8000) does not restart; a held R always does.
  KeySource& keys = program_.Keys.Source();
  const int16_t ctrl = keys.GetAsyncKeyState(vk::Ctrl);
  const int16_t r = keys.GetAsyncKeyState(vk::R);
  const int16_t enter = keys.GetAsyncKeyState(vk::Enter);
  restartKeys_ = {true, ctrl, r, enter};
  if (((s.GameOver & enter) | (r & ctrl)) != 0) {
    // The rest of the tick goes on with the reloaded zone. Quirk: a beam still fading keeps
    // fading on the fresh board, from the player's new place to the old target cell.
    if (Reload()) return;
  }

  // 5
  MoveH();
  Nepratele();
  LaserDoors();

  // 6: potatoes and targets animate, column by column, those of the zone and of one column and
  // one row past it (where none stands). Only the board's list of animated cells is visited.
  for (const int32_t key : s.Board.Animated()) {
    const int x = BoardGrid::ColumnOf(key), y = BoardGrid::RowOf(key);
    if (x < 0 || x > s.BoardWidth || y < 0 || y > s.BoardHeight) continue;
    const int code = s.Board.At(x, y);
    if (code == tile::HotPotato &&
        (std::abs(s.PlayerX - int64_t{x} * s.PlayerSteps) >= s.PlayerSteps ||
         std::abs(s.PlayerY - int64_t{y} * s.PlayerSteps) >= s.PlayerSteps)) {
      DrawCell(x, y);
    }
    if (code == tile::Target) DrawCell(x, y);
  }

  // 7: the countdown runs only while potatoes are carried; one unit lasts six cells' walk.
  // Quirk: a delivery does not wind it back, so carrying time adds up over the whole run.
  if (s.PotatoesCarried > 0) {
    const double d = (1.0 / 6) / s.PlayerSteps;
    if (Int(s.TimeLeft + 0.99) != Int(s.TimeLeft + 0.99 - d)) Ports().Sound.Play(GameSound::Tick);
    s.TimeLeft -= d;
    if (s.TimeLeft <= 0) {
      KillPlr(DeathCause::TimeOut);
      s.TimeLeft = 0;
    }
    s.Panel.TimeShown = static_cast<int>(Int(s.TimeLeft + 0.99));
  }

  // 8
  s.Panel.BoxIndicator = s.HasBox != 0;
  s.Panel.KeyIndicator = s.HasKey != 0;

  // 9, 10: this tick's circles and beam, erased again at the start of the next tick.
  if (s.Dying != 0) AnimSmrt(s.DeathPhase, 1);
  if (s.RadioCounter > 0) AnimRadio(1);
}

void Game::Zrychlit() {
  // The timer refuses a negative interval; the design interval of 2 ms therefore stays.
  if (State.TickInterval - 10 >= 0) State.TickInterval -= 10;
}

void Game::Zpomalit() { State.TickInterval += 10; }

void Game::RevealDebugButtons() { State.Panel.DebugButtonsVisible = true; }

void Game::ToggleEnemies() {
  GameState& s = State;
  if (s.EnemyCount == 0) {
    s.EnemyCount = s.SavedEnemyCount;
  } else {
    s.SavedEnemyCount = s.EnemyCount;
    s.EnemyCount = 0;
  }
}

void Game::DeliverWhereStanding() {
  GameState& s = State;
  // Mended: a live beam's frame is erased before the new beam starts. Replaced without the
  // erase, clicked between two ticks, the next tick's erase would draw the new beam's first
  // frame for good. Erasing here keeps the tick's erase-then-draw pairs matched.
  if (s.RadioCounter > 0) AnimRadio(1);
  s.PotatoesCarried = 0;
  s.RadioX = static_cast<double>(s.PlayerX) / s.PlayerSteps;
  s.RadioY = static_cast<double>(s.PlayerY) / s.PlayerSteps;
  s.RadioCounter = 255;
  s.Panel.KapsaWidth = 50;
  if (s.PotatoesLeft <= 0) {
    s.Board.Set(s.ExitX, s.ExitY, tile::Exit);
    DrawCell(s.ExitX, s.ExitY);
  }
  Ports().Sound.Play(GameSound::Target);
  AnimRadio(1);
}

void Game::GiveKeyAndBox() {
  State.HasKey = FlagTrue;
  State.HasBox = FlagTrue;
}

void Game::ResumePlay() { State.GameOver = FlagFalse; }

}  // namespace quarn
