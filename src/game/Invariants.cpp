// Invariants.cpp — the state's guarantees, each with the rule that keeps it.
#include "Invariants.h"

#include <sstream>
#include <vector>

namespace quarn {
namespace {

bool IsFlag(Flag16 f) { return f == FlagFalse || f == FlagTrue; }

// A fine position p of something moving s units per cell lies on the board's index range.
bool FineInRange(int64_t p, int s, int min, int max) {
  return p >= int64_t{min} * s && p <= int64_t{max} * s;
}

}  // namespace

std::optional<std::string> BrokenInvariant(const GameState& s, bool wholeBoard) {
  std::ostringstream why;
  // 1. The zone's size is what the loader allows, and the speeds it accepted are positive.
  if (s.BoardWidth < 1 || s.BoardWidth > MaxBoardWidth || s.BoardHeight < 1 ||
      s.BoardHeight > MaxBoardHeight) {
    why << "zone size " << s.BoardWidth << " x " << s.BoardHeight;
    return why.str();
  }
  if (s.PlayerSteps < 1) return "player steps below 1";

  // 2. Every cell of the grid, margin included, holds a code of the tile table: the loader writes
  // only table codes and every rule writes one of its named codes.
  for (int y = BoardGrid::MinY; wholeBoard && y <= BoardGrid::MaxY; ++y) {
    for (int x = BoardGrid::MinX; x <= BoardGrid::MaxX; ++x) {
      const int code = s.Board.At(x, y);
      if (code < 0 || code >= tile::Count) {
        why << "cell (" << x << ", " << y << ") holds code " << code;
        return why.str();
      }
    }
  }

  // 2b. The list of animated cells a tick visits holds exactly the grid's hot potatoes, targets
  // and laser doors, in the order of columns: every rule writes cells through Set, which keeps it.
  if (wholeBoard) {
    std::vector<int32_t> found;
    for (int x = BoardGrid::MinX; x <= BoardGrid::MaxX; ++x) {
      for (int y = BoardGrid::MinY; y <= BoardGrid::MaxY; ++y) {
        if (BoardGrid::Animates(s.Board.At(x, y))) {
          found.push_back((x - BoardGrid::MinX) * BoardGrid::Rows + (y - BoardGrid::MinY));
        }
      }
    }
    if (found != s.Board.Animated()) {
      why << "the list of animated cells holds " << s.Board.Animated().size()
          << " cells, the board " << found.size();
      return why.str();
    }
  }

  // 3. The player stays on the grid's index range: a step out of it is refused like a wall.
  if (!FineInRange(s.PlayerX, s.PlayerSteps, BoardGrid::MinX, BoardGrid::MaxX) ||
      !FineInRange(s.PlayerY, s.PlayerSteps, BoardGrid::MinY, BoardGrid::MaxY)) {
    why << "player at fine (" << s.PlayerX << ", " << s.PlayerY << ") is off the board";
    return why.str();
  }

  // 4. The enemy table: at most 101 live records, each of kind 1..3 whose steps are positive (the
  // loader refuses steps below 1 for a kind the zone has), heading 0..4, on the grid.
  if (s.EnemyCount < 0 || s.EnemyCount > MaxEnemies) {
    why << "enemy count " << s.EnemyCount;
    return why.str();
  }
  for (int i = 0; i < s.EnemyCount; ++i) {
    const EnemyRec& e = s.Enemies[static_cast<size_t>(i)];
    if (e.Kind < 1 || e.Kind > 3) {
      why << "enemy " << i << " of kind " << e.Kind;
      return why.str();
    }
    const int steps = s.EnemySteps[static_cast<size_t>(e.Kind - 1)];
    if (steps < 1 || e.Dir > 4 || !IsFlag(e.Stepping) ||
        !FineInRange(e.X, steps, BoardGrid::MinX, BoardGrid::MaxX) ||
        !FineInRange(e.Y, steps, BoardGrid::MinY, BoardGrid::MaxY)) {
      why << "enemy " << i << " at fine (" << e.X << ", " << e.Y << "), steps " << steps
          << ", heading " << int{e.Dir};
      return why.str();
    }
  }
  if (s.SavedEnemyCount < 0 || s.SavedEnemyCount > MaxEnemies) return "parked enemy count";

  // 5. Counters never go negative: potatoes are taken one by one while some are left, the
  // countdown stops at 0, boxes are taken only while some are left.
  if (s.PotatoesLeft < 0 || s.PotatoesCarried < 0) {
    why << "potatoes left " << s.PotatoesLeft << ", carried " << s.PotatoesCarried;
    return why.str();
  }
  if (!(s.TimeLeft >= 0)) {
    why << "time left " << s.TimeLeft;
    return why.str();
  }
  if (s.Panel.BoxesLeft < 0) return "boxes left below 0";
  // The strip of potatoes still to find is as wide as their number.
  if (s.Panel.NeedWidth != 25 * s.PotatoesLeft) return "potato strip does not match the count";

  // 6. Flags hold -1 or 0; directions and the chosen key are codes of their tables.
  if (!IsFlag(s.GameOver) || !IsFlag(s.Dying) || !IsFlag(s.HasBox) || !IsFlag(s.HasKey) ||
      !IsFlag(s.Moving)) {
    return "a flag holds neither -1 nor 0";
  }
  if (s.MoveDir < 0 || s.MoveDir > 4) return "move direction " + std::to_string(s.MoveDir);
  if (s.KeyDir != 0 && (s.KeyDir < 37 || s.KeyDir > 40)) return "key " + std::to_string(s.KeyDir);

  // 7. Animations: the beam starts at 255 and loses 3 a tick while above 0; the death phase runs
  // from 1 in steps of 0.2 and the animation ends once it reaches 10.
  if (s.RadioCounter > 255 || s.RadioCounter < -2) {
    return "beam counter " + std::to_string(s.RadioCounter);
  }
  if (s.Dying != 0 && (s.DeathPhase < 0 || s.DeathPhase >= 10)) return "death phase out of range";

  // 8. The laser clock has run at least once since the load and never goes back.
  if (s.LaserTick < 1) return "laser clock " + std::to_string(s.LaserTick);
  return std::nullopt;
}

}  // namespace quarn
