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
    if (!InRange(x, y)) return;
    int16_t& cell = cells_[Index(x, y)];
    const bool was = Animates(cell);
    cell = static_cast<int16_t>(code);
    if (was != Animates(code) && !stale_) Follow(x, y, !was);
  }
  void Clear() {
    std::fill(cells_.begin(), cells_.end(), int16_t{0});
    animated_.clear();
    stale_ = true;  // a loader sets cell after cell; the list is built once, when first asked
  }

  // The cells that change with the clock by themselves: hot potatoes and targets blink, laser
  // doors open and shut. A tick visits these, not the board, so that a still zone costs the same
  // whatever its size. Keys in the order of columns (x, then y within x), as the rules visit
  // them; Set keeps the list, and it is built again after the storage was written whole.
  static constexpr bool Animates(int code) {
    return code == tile::HotPotato || code == tile::Target || tile::IsLaser(code);
  }
  const std::vector<int32_t>& Animated() const {
    if (stale_) Reindex();
    return animated_;
  }
  static constexpr int ColumnOf(int32_t key) { return key / Rows + MinX; }
  static constexpr int RowOf(int32_t key) { return key % Rows + MinY; }

  // The cells in storage order, for keeping and comparing whole boards (going back in a run).
  const int16_t* Cells() const { return cells_.data(); }
  // For writing cells in storage order: the list of animated cells is built again afterwards.
  int16_t* WriteCells() {
    stale_ = true;
    return cells_.data();
  }
  // Gives the storage up: a kept copy of the state holds its board elsewhere. Such a grid must
  // get cells again (assignment from a whole grid) before it is read.
  void Release() {
    std::vector<int16_t>().swap(cells_);
    std::vector<int32_t>().swap(animated_);
    stale_ = false;
  }
  bool Released() const { return cells_.empty(); }
  // The bytes its storage holds (none once given up).
  size_t HeldBytes() const {
    return cells_.capacity() * sizeof(int16_t) + animated_.capacity() * sizeof(int32_t);
  }

 private:
  static constexpr int Index(int x, int y) { return (y - MinY) * Columns + (x - MinX); }
  static constexpr int32_t KeyOf(int x, int y) { return (x - MinX) * Rows + (y - MinY); }
  // Adds (x, y) to the list of animated cells, or takes it out.
  void Follow(int x, int y, bool add) {
    const int32_t key = KeyOf(x, y);
    const auto at = std::lower_bound(animated_.begin(), animated_.end(), key);
    if (add) {
      animated_.insert(at, key);
    } else if (at != animated_.end() && *at == key) {
      animated_.erase(at);
    }
  }
  void Reindex() const {
    animated_.clear();
    for (int x = MinX; x <= MaxX; ++x) {
      for (int y = MinY; y <= MaxY; ++y) {
        if (Animates(cells_[Index(x, y)])) animated_.push_back(KeyOf(x, y));
      }
    }
    stale_ = false;
  }
  // On the heap, so that a kept copy of the state can give its board up.
  std::vector<int16_t> cells_ = std::vector<int16_t>(CellCount, 0);
  mutable std::vector<int32_t> animated_;
  mutable bool stale_ = false;
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
