// Otevrit.cpp — (re)opening a zone: the one routine that starts and restarts play.
#include <algorithm>

#include "Game.h"

namespace quarn {

std::optional<OpenError> Game::Otevrit() {
  // Everything that can fail is done before the state is touched: a failed load changes nothing.
  auto parsed = ParseZoneFile(State.FileName);
  if (!parsed.Ok()) return OpenError{parsed.Error()};
  const ParsedZone& zone = parsed.Value();
  uint8_t tileSize = 0;
  if (auto error = Ports().Painter.LoadGraphics(tileSize)) {
    return OpenError{{State.FileName, 0, "", error->Describe()}, *error};
  }
  if (OnOpening) OnOpening();
  GameState& s = State;

  s.GameOver = FlagFalse;
  s.Dying = FlagFalse;
  s.Died = DeathCause::None;
  s.TileSize = tileSize;

  s.BoardWidth = zone.Width;
  s.BoardHeight = zone.Height;
  s.PlayerSteps = zone.PlayerSteps;
  s.EnemySteps = zone.EnemySteps;
  s.LaserPatterns = zone.LaserPatterns;
  for (size_t g = 0; g < 3; ++g) s.LaserSwitches[g] = LaserSwitchesOf(s.LaserPatterns[g]);

  s.PoleWidth = CellPixels * zone.Width;
  s.PoleHeight = CellPixels * zone.Height;
  Ports().Painter.ResizeBoard(s.PoleWidth, s.PoleHeight);

  s.LaserTick = 0;
  s.EnemyCount = 0;
  s.PotatoesLeft = zone.Potatoes;

  // Mended: the whole grid, margin included, starts clean. Rewriting only the zone's own cells
  // would let codes that enemies left in the margin of an open zone survive a restart.
  s.Board.Clear();
  for (int y = 0; y < zone.Height; ++y) {
    for (int x = 0; x < zone.Width; ++x) s.Board.Set(x, y, zone.CodeAt(x, y));
  }
  // Quirk: a zone without "S" keeps the player where the last run left him, and one without
  // "E" keeps the old exit site.
  if (zone.Start) {
    s.PlayerX = zone.Start->first * s.PlayerSteps;
    s.PlayerY = zone.Start->second * s.PlayerSteps;
    s.MoveDir = 0;
  }
  if (zone.Exit) {
    s.ExitX = zone.Exit->first;
    s.ExitY = zone.Exit->second;
  }
  for (const ZoneEnemy& e : zone.Enemies) {
    EnemyRec& rec = s.Enemies[static_cast<size_t>(s.EnemyCount)];
    const int steps = s.EnemySteps[static_cast<size_t>(e.Kind - 1)];
    rec.X = static_cast<int16_t>(steps * e.X);
    rec.Y = static_cast<int16_t>(steps * e.Y);
    rec.Dir = 0;
    rec.Kind = static_cast<int16_t>(e.Kind);
    rec.Stepping = FlagFalse;
    ++s.EnemyCount;
  }
  // Mended: the count the enemy switch parked is capped at this load's enemies. Kept across
  // loads, after the zone file lost enemies it would revive records of the previous load, of
  // kinds the new zone may give 0 steps. With an unchanged file the parked count never exceeds
  // the zone's, so this changes nothing.
  s.SavedEnemyCount = std::min(s.SavedEnemyCount, s.EnemyCount);

  for (int y = 0; y < s.BoardHeight; ++y) {
    for (int x = 0; x < s.BoardWidth; ++x) Ports().Painter.Nakr(s, x, y);
  }
  s.FigureOnTop = false;
  LaserDoors();

  // The potato strips: icons are painted once here; the strips' widths reveal them.
  PanelState& panel = s.Panel;
  panel.PaintedPotatoes = s.PotatoesLeft;
  panel.KapsaWidth = 50;
  panel.NeedWidth = 25 * s.PotatoesLeft;
  panel.NeedLeft = FormWidth - 5 - panel.NeedWidth;
  // Mended: a load hides the box overlay. Left where the previous run put it, it could stand over
  // a stack far from the player after a restart, and boxes could be taken from there.
  panel.BoxOverlayVisible = false;

  // The view starts with the exit site at column 9, row 5 and glides to the player from there.
  s.PoleLeft = CellPixels * (9 - s.ExitX);
  s.PoleTop = CellPixels * (5 - s.ExitY);
  MoveH();

  s.PotatoesCarried = 0;
  s.TimeLeft = 50;
  panel.BoxesLeft = 10;
  s.HasBox = FlagFalse;
  s.HasKey = FlagFalse;

  program_.Keys.FlushKeys();
  s.KeyDir = 0;
  s.KeySpace = false;
  s.MoveDir = 0;

  panel.TimeShown = static_cast<int>(Int(s.TimeLeft + 0.99));
  s.TickEnabled = true;
  loadFailure_.reset();
  return std::nullopt;
}

std::optional<OpenError> Game::Reload() {
  ++restarts_;
  auto error = Otevrit();
  if (error) {
    // The zone cannot be played any more (its file went away or broke): stop the tick and leave
    // the last good state on the screen.
    loadFailure_ = error;
    State.TickEnabled = false;
  }
  return error;
}

void Game::Restart() {
  // Mended: the label is clicked between two ticks, when the beam's last frame is on the board
  // that the load has just replaced; without a frame to find, the next tick's erase would draw
  // that frame onto the fresh board for good. The live frame is drawn once on the fresh board so
  // the erase finds it. (The death circles need nothing: the load clears Dying, so no erase
  // follows.)
  if (!Reload() && State.RadioCounter > 0) AnimRadio(1);
}

}  // namespace quarn
