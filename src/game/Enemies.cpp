// Enemies.cpp — Nepratele: every enemy takes one fine unit per tick or draws a new direction.
#include <cmath>

#include "Game.h"

namespace quarn {
namespace {

// Whether an enemy of s fine units per cell may step into cell (x, y) at all: the cell lies in the
// board's index range and its fine position fits the record's 16 bits.
bool Reachable(int x, int y, int s) {
  if (!BoardGrid::InRange(x, y)) return false;
  const long fx = static_cast<long>(x) * s;
  const long fy = static_cast<long>(y) * s;
  return fx >= -32768 && fx <= 32767 && fy >= -32768 && fy <= 32767;
}

}  // namespace

void Game::Nepratele() {
  GameState& s = State;
  for (int i = 0; i < s.EnemyCount; ++i) {
    EnemyRec& e = s.Enemies[static_cast<size_t>(i)];
    const int steps = s.EnemySteps[static_cast<size_t>(e.Kind - 1)];
    const int code = 12 + e.Kind;
    bool done = false;
    while (!done) {
      const int d = e.Dir;
      const int dx = DirDX(d);
      const int dy = DirDY(d);
      if (e.Stepping != 0) {
        e.X = static_cast<int16_t>(e.X + dx);
        e.Y = static_cast<int16_t>(e.Y + dy);
        Ports().Painter.NakrN(s, i);
        // An enemy whole over the figure's cell has drawn over the figure (one over a fallen
        // player, or a winner waiting on the exit).
        if (Mod(e.X, steps) == 0 && Mod(e.Y, steps) == 0 && s.PlayerSteps > 0 &&
            e.X / steps * s.PlayerSteps == s.PlayerX && e.Y / steps * s.PlayerSteps == s.PlayerY) {
          s.FigureOnTop = false;
        }
        done = true;

        // Contact: the same column or row exactly, less than 0.9 cells apart along it. Quirk: it
        // is tested only after a fine step, so a blocked enemy never kills, not even a player
        // standing in its cell.
        const double ex = static_cast<double>(e.X) / steps;
        const double ey = static_cast<double>(e.Y) / steps;
        const double px = static_cast<double>(s.PlayerX) / s.PlayerSteps;
        const double py = static_cast<double>(s.PlayerY) / s.PlayerSteps;
        if ((ex == px && std::abs(py - ey) < 0.9) || (ey == py && std::abs(px - ex) < 0.9)) {
          KillPlr(DeathCause::Enemy);
        }

        if ((dy == 0 && Mod(e.X, steps) == 0) || (dx == 0 && Mod(e.Y, steps) == 0)) {
          e.Stepping = FlagFalse;
          s.Board.Set(IndexOf(ex - dx), IndexOf(ey - dy), tile::Space);
          Ports().Painter.Vycisti(e.X - dx, e.Y - dy, steps, d);
        }
      } else {
        const int tx = IndexOf(static_cast<double>(e.X) / steps + dx);
        const int ty = IndexOf(static_cast<double>(e.Y) / steps + dy);
        // Mended: a step toward a cell past the board's index range (a zone open at its border)
        // is refused as if the cell were a wall; it would write outside the board.
        if (Reachable(tx, ty, steps) && s.Board.At(tx, ty) <= tile::Start) {
          // The cell is claimed now, so a later enemy heading for it finds it taken.
          e.Stepping = FlagTrue;
          s.Board.Set(tx, ty, code);
        } else {
          e.Dir = static_cast<uint8_t>(Int(program_.Rng.Next() * 4) + 1);
          done = true;
        }
      }
    }
  }
}

}  // namespace quarn
