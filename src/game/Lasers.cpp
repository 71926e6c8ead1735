// Lasers.cpp — the laser-door clock: groups toggle when their pattern's character changes.
#include <array>
#include <cmath>

#include "Game.h"
#include "base/Text.h"

namespace quarn {
namespace {

inline constexpr int PeriodTicks = 60;
inline constexpr double NoDoorSwitched = 1000;  // distance sentinel, cells

// Whether a group's pattern changes character between phases p - 1 and p.
bool GroupChanged(const std::vector<bool>& switches, int64_t p) {
  const auto n = static_cast<int64_t>(switches.size());
  // Mended: an empty pattern never changes; taking the phase modulo its length would divide by
  // zero.
  if (n == 0) return false;
  return switches[static_cast<size_t>(p % n)];
}

}  // namespace

std::vector<bool> LaserSwitchesOf(const std::string& pattern) {
  // Mended: a pattern is decoded once per load; decoded again every period, a pattern of 100 MB
  // would cost 0.3 s each time. Characters are counted as code points, so a pattern of letters
  // with accents reads one per letter.
  const std::vector<char32_t> chars = CodePoints(pattern);
  std::vector<bool> switches(chars.size());
  for (size_t i = 0; i < chars.size(); ++i) {
    switches[i] = chars[i] != chars[(i + chars.size() - 1) % chars.size()];
  }
  return switches;
}

void Game::LaserDoors() {
  GameState& s = State;
  s.LaserTick += 1;
  if (s.LaserTick % PeriodTicks != 0) return;
  const int64_t phase = s.LaserTick / PeriodTicks;

  std::array<bool, 3> changed{};
  for (size_t g = 0; g < 3; ++g) changed[g] = GroupChanged(s.LaserSwitches[g], phase);

  const double px = static_cast<double>(s.PlayerX) / s.PlayerSteps;
  const double py = static_cast<double>(s.PlayerY) / s.PlayerSteps;
  double nearest = NoDoorSwitched;
  // Column by column through the board's list of animated cells: a door that switches stays in
  // it (it only changes between the codes of its group), so the list holds still meanwhile.
  for (const int32_t key : s.Board.Animated()) {
    const int x = BoardGrid::ColumnOf(key), y = BoardGrid::RowOf(key);
    if (x < 0 || x >= s.BoardWidth || y < 0 || y >= s.BoardHeight) continue;
    const int k = s.Board.At(x, y);
    if (!tile::IsLaser(k)) continue;
    if (k == tile::LaserA && changed[0]) {
      s.Board.Set(x, y, tile::LaserOpenA);
    } else if (k == tile::LaserB && changed[1]) {
      s.Board.Set(x, y, tile::LaserOpenB);
    } else if (k == tile::LaserC && changed[2]) {
      s.Board.Set(x, y, tile::LaserOpenC);
    } else {
      if (s.Board.At(x, y) == tile::LaserOpenA && changed[0]) s.Board.Set(x, y, tile::LaserA);
      if (s.Board.At(x, y) == tile::LaserOpenB && changed[1]) s.Board.Set(x, y, tile::LaserB);
      if (s.Board.At(x, y) == tile::LaserOpenC && changed[2]) s.Board.Set(x, y, tile::LaserC);
      // Quirk: only a player on the door's own row is caught; one passing through it
      // vertically, between two rows, walks on unharmed.
      if (k >= tile::LaserOpenA && changed[static_cast<size_t>(k - tile::LaserOpenA)] &&
          py == y && std::abs(px - x) < 1) {
        KillPlr(DeathCause::Laser);
      }
    }
    DrawCell(x, y);
    if (changed[static_cast<size_t>((k - tile::LaserA) % 3)]) {
      const double distance = std::sqrt((x - px) * (x - px) + (y - py) * (y - py));
      if (distance < nearest) nearest = distance;
    }
  }
  if (nearest != NoDoorSwitched) {
    // Hundredths of a decibel: -5 dB at one cell, -20 dB at sixteen.
    Ports().Sound.SetVolume(GameSound::LaserDoors,
                            static_cast<int32_t>(Round(-500 * std::sqrt(nearest))));
    Ports().Sound.Play(GameSound::LaserDoors);
  }
}

}  // namespace quarn
