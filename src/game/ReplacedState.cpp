// ReplacedState.cpp — showing a game state that replaced the one on screen (after going back),
// and what drawing a cell tells of the figure on it.
#include <cmath>

#include "Game.h"

namespace quarn {
namespace {

inline constexpr Rgb DeathColour{64, 128, 255};

// The cells a sprite between two cells covers, along one axis: the cell it left and the one it
// enters (the same cell when it stands).
std::pair<int, int> CoveredCells(int fine, int steps) {
  return {static_cast<int>(std::floor(static_cast<double>(fine) / steps)),
          static_cast<int>(std::ceil(static_cast<double>(fine) / steps))};
}

}  // namespace

void Game::DrawCell(int x, int y) {
  GameState& s = State;
  Ports().Painter.Nakr(s, x, y);
  if (s.PlayerSteps <= 0) return;
  const auto [x0, x1] = CoveredCells(s.PlayerX, s.PlayerSteps);
  const auto [y0, y1] = CoveredCells(s.PlayerY, s.PlayerSteps);
  if ((x == x0 || x == x1) && (y == y0 || y == y1)) s.FigureOnTop = false;
}

void Game::SetCounters(const GameCounters& c) {
  wins_ = c.Wins;
  deaths_ = c.Deaths;
  restarts_ = c.Restarts;
  loadFailure_ = c.LoadFailure;
}

void Game::ShowReplacedState() {
  const GameState& s = State;
  BoardPainter& paint = Ports().Painter;
  paint.ResizeBoard(s.PoleWidth, s.PoleHeight);
  // A player or an enemy between two cells is drawn by its sprite at its fine position, as play
  // draws it; the two cells it covers hold its code and would show it twice, so they are drawn
  // from a copy of the state where they are floor.
  GameState shown = s;
  if (s.Moving != 0 && s.PlayerSteps > 0) {
    const auto [x0, x1] = CoveredCells(s.PlayerX, s.PlayerSteps);
    const auto [y0, y1] = CoveredCells(s.PlayerY, s.PlayerSteps);
    for (int x : {x0, x1}) {
      for (int y : {y0, y1}) {
        if (shown.Board.At(x, y) == tile::Start) shown.Board.Set(x, y, tile::Space);
      }
    }
  }
  for (int i = 0; i < s.EnemyCount; ++i) {
    const EnemyRec& e = s.Enemies[static_cast<size_t>(i)];
    const int steps = s.EnemySteps[static_cast<size_t>(std::clamp<int>(e.Kind, 1, 3) - 1)];
    if (e.Stepping == 0 || steps <= 0) continue;
    const auto [x0, x1] = CoveredCells(e.X, steps);
    const auto [y0, y1] = CoveredCells(e.Y, steps);
    for (int x : {x0, x1}) {
      for (int y : {y0, y1}) {
        if (shown.Board.At(x, y) == 12 + e.Kind) shown.Board.Set(x, y, tile::Space);
      }
    }
  }
  // A figure standing on a cell that does not picture it shows by its own drawing, which also
  // repaints the strip behind its last step: drawn first, the cells drawn after mend that strip.
  const bool standsOnCell = s.Moving == 0 && s.FigureOnTop && s.PlayerSteps > 0 &&
                            Mod(s.PlayerX, s.PlayerSteps) == 0 && Mod(s.PlayerY, s.PlayerSteps) == 0;
  if (standsOnCell) paint.NakrF(s);
  for (int y = 0; y < s.BoardHeight; ++y) {
    for (int x = 0; x < s.BoardWidth; ++x) {
      if (standsOnCell && x * s.PlayerSteps == s.PlayerX && y * s.PlayerSteps == s.PlayerY) continue;
      paint.Nakr(shown, x, y);
    }
  }
  if (!standsOnCell && (s.Moving != 0 || s.FigureOnTop)) paint.NakrF(s);
  for (int i = 0; i < s.EnemyCount; ++i) {
    if (s.Enemies[static_cast<size_t>(i)].Stepping != 0) paint.NakrN(s, i);
  }
  // The exclusive-or figures the end of a tick leaves on the board; the next tick erases them by
  // drawing them again.
  if (s.Dying != 0) {
    const double cx = (static_cast<double>(s.PlayerX) / s.PlayerSteps + 0.5) * CellPixels;
    const double cy = (static_cast<double>(s.PlayerY) / s.PlayerSteps + 0.5) * CellPixels;
    for (int half = 0; half <= 4; ++half) {
      paint.XorCircle(cx, cy, std::pow(2.0, half * 0.5 + static_cast<double>(s.DeathPhase)),
                      DeathColour);
    }
  }
  if (s.RadioCounter > 0) AnimRadio(1);

  // The walk sound loops while a step is under way and nothing else stops it.
  Ports().Sound.Stop(GameSound::Walk);
  if (s.Moving != 0 && s.GameOver == 0) Ports().Sound.Play(GameSound::Walk);
}

}  // namespace quarn
