// Death.cpp — KillPlr halts play; AnimSmrt draws the growing circles and wipes the figure.
#include <cmath>

#include "Game.h"

namespace quarn {
namespace {

inline constexpr Rgb DeathColour{64, 128, 255};

}  // namespace

void Game::KillPlr(DeathCause cause) {
  GameState& s = State;
  // A player dies once, and not after winning.
  if (s.GameOver != 0) return;
  ++deaths_;
  Ports().Sound.Play(GameSound::Die);
  s.GameOver = FlagTrue;
  s.Dying = FlagTrue;
  s.Died = cause;
  s.DeathPhase = 1.0f;
  // The pocket is lost, which also stops the countdown; the pocket strip keeps its width.
  s.PotatoesCarried = 0;
  Ports().Sound.Stop(GameSound::Walk);
}

void Game::AnimSmrt(float die, int sss) {
  GameState& s = State;
  const double cellX = static_cast<double>(s.PlayerX) / s.PlayerSteps;
  const double cellY = static_cast<double>(s.PlayerY) / s.PlayerSteps;
  if (sss != 0 && Int(die) == 4) {
    // The figure leaves the board a third of the way through; only a floor cell the player
    // stepped onto (code 1) is wiped, so a player dead on an open laser door stays drawn.
    const int x = IndexOf(cellX);
    const int y = IndexOf(cellY);
    if (s.Board.At(x, y) == tile::Start) {
      s.Board.Set(x, y, tile::Space);
      DrawCell(x, y);
    }
  }
  const double cx = (cellX + 0.5) * CellPixels;
  const double cy = (cellY + 0.5) * CellPixels;
  for (int half = 0; half <= 4; ++half) {
    const double k = half * 0.5;
    Ports().Painter.XorCircle(cx, cy, std::pow(2.0, k + static_cast<double>(die)), DeathColour);
  }
}

}  // namespace quarn
