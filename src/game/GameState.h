// GameState.h — all of a running zone: board, player, counters, enemy and laser tables, panel values.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "Numbers.h"
#include "zone/Tiles.h"

namespace quarn {

inline constexpr int CellPixels = 40;    // edge of a cell on the board surface
inline constexpr int ViewWidth = 800;    // the board viewport, pixels
inline constexpr int ViewHeight = 480;
inline constexpr int FormWidth = 800;    // inner width of the game screen

// The board: 16-bit tile codes over x -2..150, y -2..130. Everything outside the zone is a margin of
// zeros that rules may look into. Reads outside the index range give 0 and writes there are dropped;
// the rules refuse steps that would lead there, so neither happens in play.
class BoardGrid {
 public:
  static constexpr int MinX = -2, MaxX = 150, MinY = -2, MaxY = 130;
  static constexpr int Columns = MaxX - MinX + 1, Rows = MaxY - MinY + 1;

  static constexpr bool InRange(int x, int y) {
    return x >= MinX && x <= MaxX && y >= MinY && y <= MaxY;
  }
  static constexpr int CellCount = Columns * Rows;

  int16_t At(int x, int y) const { return InRange(x, y) ? cells_[Index(x, y)] : 0; }
  void Set(int x, int y, int code) {
    if (InRange(x, y)) cells_[Index(x, y)] = static_cast<int16_t>(code);
  }
  void Clear() { std::fill(cells_.begin(), cells_.end(), int16_t{0}); }

  // The cells in storage order, for keeping and comparing whole boards (going back in a run).
  int16_t* Cells() { return cells_.data(); }
  const int16_t* Cells() const { return cells_.data(); }
  // Gives the storage up: a kept copy of the state holds its board elsewhere. Such a grid must
  // get cells again (assignment from a whole grid) before it is read.
  void Release() { std::vector<int16_t>().swap(cells_); }
  bool Released() const { return cells_.empty(); }
  // The bytes its storage holds (none once given up).
  size_t HeldBytes() const { return cells_.capacity() * sizeof(int16_t); }

 private:
  static constexpr int Index(int x, int y) { return (y - MinY) * Columns + (x - MinX); }
  // On the heap, so that a kept copy of the state can give its board up.
  std::vector<int16_t> cells_ = std::vector<int16_t>(CellCount, 0);
};

// One enemy: its fine position, kind, direction and stepping flag, 16 bits each but the direction.
struct EnemyRec {
  int16_t X = 0;         // fine x position, units of EnemySteps(Kind - 1)
  int16_t Y = 0;         // fine y position
  int16_t Kind = 0;      // 1, 2 or 3
  uint8_t Dir = 0;       // direction code of its current step; 0 until its first choice
  Flag16 Stepping = 0;   // -1 while between two cells
};

// What the side panel and the board overlays show. The rules keep these values here, where the
// headless runner can read them too; the screens copy them into their controls.
struct PanelState {
  int BoxesLeft = 10;             // caption of NoBx: boxes left in the stacks
  bool BoxOverlayVisible = false; // picBox, the overlay on a box stack next to the player
  int BoxOverlayLeft = 0;         // board pixels
  int BoxOverlayTop = 0;
  int TimeShown = 50;             // caption of lblRT: Int(TimeLeft + 0.99)
  int KapsaWidth = 50;            // picKapsa: 50 + 25 per carried potato
  int NeedWidth = 0;              // picNeed: 25 per potato left
  int NeedLeft = FormWidth - 5;   // picNeed is right-aligned 5 pixels from the form's edge
  int PaintedPotatoes = 0;        // potato icons painted on both strips by the last load
  bool KeyIndicator = false;      // ImC slot 11 on picKapsa
  bool BoxIndicator = false;      // ImC slot 22 on picKapsa
  bool DebugButtonsVisible = false;  // Command1..Command4, revealed by double-clicking the logo
};

// What ended the player's life, for the line that tells it; None while alive and after a win.
enum class DeathCause : uint8_t { None, TimeOut, Enemy, Laser };

// The tick interval the game is designed for, in milliseconds; a run played at any other is
// not timed.
inline constexpr int DesignTickInterval = 2;

// The game screen's state. Values marked "kept" survive a reload of the zone.
struct GameState {
  std::string FileName;  // the zone file being played

  BoardGrid Board;
  int BoardWidth = 0;   // cells
  int BoardHeight = 0;
  int PlayerSteps = 1;  // fine units per cell of the player; ticks per cell
  std::array<int, 3> EnemySteps{1, 1, 1};  // fine units per cell of enemy kinds 1, 2, 3
  std::array<std::string, 3> LaserPatterns;  // groups a, b, c
  // Per group and pattern position i: whether character i differs from the one before it (the
  // last one before the first). Decoded once by the load, read every laser period.
  std::array<std::vector<bool>, 3> LaserSwitches;
  // Ticks since the load. Mended: 64 bits never run out; 32 bits would wrap after 2^31 ticks
  // without a restart (weeks of play, minutes headless) and the next period would read before
  // the pattern.
  int64_t LaserTick = 0;

  int PlayerX = 0;  // fine units; kept when the zone has no "S"
  int PlayerY = 0;
  Flag16 Moving = 0;  // kept: a restart in the middle of a step leaves it set
  // The figure's own drawing (NakrF) is on top where it stands: no cell was drawn over it since.
  // A figure standing on a cell that does not picture it (a potato's floor, an open laser door)
  // shows only so; going back draws it again from this.
  bool FigureOnTop = false;
  int MoveDir = 0;
  std::array<uint8_t, 2> MoveMemory{};  // kept: [0] last finished step's direction, [1] push counter
  uint8_t KeyDir = 0;   // arrow key chosen this tick, 37..40 or 0
  bool KeySpace = false;

  int PotatoesLeft = 0;
  int PotatoesCarried = 0;
  double TimeLeft = 50;
  Flag16 HasBox = 0;
  Flag16 HasKey = 0;
  int ExitX = 0;  // kept when the zone has no "E"
  int ExitY = 0;

  std::array<EnemyRec, MaxEnemies> Enemies{};
  int EnemyCount = 0;
  int SavedEnemyCount = 0;  // kept: enemies parked by the debugging switch

  Flag16 GameOver = 0;
  Flag16 Dying = 0;
  DeathCause Died = DeathCause::None;
  float DeathPhase = 0;  // single precision on purpose: the animation ends with the 46th addition
  double RadioX = 0;     // kept: the delivery beam's target cell
  double RadioY = 0;
  int RadioCounter = 0;  // kept: 255 when a beam starts, -3 per tick

  uint8_t TileSize = 40;  // edge of one picture frame in source pixels

  // The board surface inside its 800 x 480 viewport; its position is the memory of the glide.
  double PoleLeft = 0;  // pixels, may be fractional
  double PoleTop = 0;
  int PoleWidth = 0;    // 40 x BoardWidth
  int PoleHeight = 0;

  // The game tick (Timer1).
  bool TickEnabled = false;
  int TickInterval = DesignTickInterval;  // milliseconds

  PanelState Panel;
};

}  // namespace quarn
