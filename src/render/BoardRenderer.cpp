// BoardRenderer.cpp — Nakr, NakrF, NakrN and Vycisti: cells, caps, blink frames and trail strips.
#include "BoardRenderer.h"

#include <utility>

#include "game/Numbers.h"

namespace quarn {

namespace {

constexpr double Cell = CellPixels;

Uint32 Packed(Rgb c) { return (Uint32{c.R} << 16) | (Uint32{c.G} << 8) | Uint32{c.B}; }

// The slot of the laser picture whose caps a wall beside laser door code `code` shows: active
// and open doors of one group share their group's picture.
int CapSlot(int code) { return static_cast<int>(Mod(code - tile::LaserA, 3)) + tile::LaserA; }

}  // namespace

BoardRenderer::BoardRenderer(std::filesystem::path base) : pictures_(std::move(base)) {}

std::optional<std::string> BoardRenderer::LoadGraphics(uint8_t& tileSize) {
  if (auto error = pictures_.Load()) return error;
  tileSize = pictures_.TileSize();
  return std::nullopt;
}

void BoardRenderer::ResizeBoard(int widthPx, int heightPx) {
  // The largest zone's surface is 6000 x 5200 pixels (about 120 MB): a restart of the same zone
  // only blackens it.
  if (!surface_ || widthPx != width_ || heightPx != height_) {
    surface_.reset();
    surface_ = MakeSurface(std::max(1, widthPx), std::max(1, heightPx));
    ++allocations_;
  } else {
    SDL_FillRect(surface_.get(), nullptr, 0);
  }
  width_ = widthPx;
  height_ = heightPx;
}

void BoardRenderer::Copy(int slot, SourceRect from, DestRect to) {
  if (!surface_ || slot < 0 || slot >= PictureSet::SlotCount) return;
  const SDL_Surface* picture = pictures_.Slot(slot);
  if (picture) ScaledCopy(*picture, from, *surface_, to);
}

void BoardRenderer::CopyWhole(int slot, DestRect to) {
  if (!surface_ || slot < 0 || slot >= PictureSet::SlotCount) return;
  const SDL_Surface* picture = pictures_.Slot(slot);
  if (picture) ScaledCopy(*picture, *surface_, to);
}

void BoardRenderer::Nakr(const GameState& s, int x, int y) {
  const int t = s.TileSize;
  const int code = s.Board.At(x, y);
  const double left = Cell * x, top = Cell * y;
  double dy = 0, cut = 0;
  int sy = 0;
  if (code == tile::Wall) {
    // Laser doors run between two walls; the walls carry the emitters as caps and give up the
    // rows they cover. The bottom cap is drawn first.
    const int below = s.Board.At(x, y + 1);
    if (tile::IsLaser(below)) {
      cut += 8;
      Copy(CapSlot(below), SourceRect{0, 0, t, t / 4}, DestRect{left, Cell * (y + 0.8), Cell, 8});
    }
    const int above = s.Board.At(x, y - 1);
    if (tile::IsLaser(above)) {
      cut += 8;
      dy = 8;
      const int capTop = static_cast<int16_t>(t * 5) / 4;
      Copy(CapSlot(above), SourceRect{0, capTop, t, t / 4}, DestRect{left, top, Cell, 8});
    }
  }
  // Potatoes and targets blink with the laser clock, each at its own pace; the lower frame shows
  // when the quotient rounds to an even number, so both start on it. A tick count over 3 or 5
  // never ends in a half, so the rounding is done in whole numbers, exact at any count.
  if (code == tile::HotPotato && IsEven((s.LaserTick + 1) / 3)) sy = t;
  if (code == tile::Target && IsEven((s.LaserTick + 2) / 5)) sy = t;
  if (tile::IsActiveLaser(code)) sy = t / 4;
  Copy(code, SourceRect{0, sy, t, t}, DestRect{left, top + dy, Cell, Cell - cut});
}

void BoardRenderer::NakrF(const GameState& s) {
  Vycisti(s.PlayerX, s.PlayerY, s.PlayerSteps, s.MoveDir);
  if (s.PlayerSteps == 0) return;
  const double steps = s.PlayerSteps;
  CopyWhole(tile::Start, DestRect{Cell * s.PlayerX / steps, Cell * s.PlayerY / steps, Cell, Cell});
}

void BoardRenderer::NakrN(const GameState& s, int c) {
  if (c < 0 || c >= MaxEnemies) return;
  const EnemyRec& e = s.Enemies[static_cast<size_t>(c)];
  if (e.Kind < 1 || e.Kind > 3) return;
  const int slot = static_cast<int16_t>(e.Kind + 12);
  const int steps = s.EnemySteps[static_cast<size_t>(e.Kind - 1)];
  const int t = s.TileSize;
  const SDL_Surface* picture = pictures_.Slot(slot);
  if (!picture || t == 0) return;
  // Single precision, as the frame count may be fractional for an odd-sized picture.
  const float frames = static_cast<float>(picture->h) / static_cast<float>(t);
  Vycisti(e.X, e.Y, steps, e.Dir);
  if (steps == 0) return;
  const double cx = static_cast<double>(e.X) / steps, cy = static_cast<double>(e.Y) / steps;
  // One remainder is 0 (an enemy moves along one axis), so the sum is its progress in the step.
  const int64_t progress = Mod(e.X, steps) + Mod(e.Y, steps);
  const int64_t frame = Int(static_cast<double>(static_cast<float>(progress) * frames) / steps);
  Copy(slot, SourceRect{0, static_cast<int>(t * frame), t, t},
       DestRect{Cell * cx, Cell * cy, Cell, Cell});
}

void BoardRenderer::Vycisti(double clx, double cly, double cn, int sm) {
  if (cn == 0) return;
  // The strip is one pixel wider than the step, so no sliver of the old sprite survives. Across
  // the motion the horizontal cases round, the vertical ones floor.
  const double w = static_cast<double>(Round(Cell / cn + 1));
  const double x = Cell * clx / cn, y = Cell * cly / cn;
  if (sm == dir::Left)
    CopyWhole(tile::Space,
              DestRect{static_cast<double>(Round(Cell * (clx + cn) / cn - 1)), y, w, Cell});
  if (sm == dir::Right)
    CopyWhole(tile::Space, DestRect{static_cast<double>(Round(Cell * (clx - 1) / cn)), y, w, Cell});
  if (sm == dir::Up)
    CopyWhole(tile::Space,
              DestRect{x, static_cast<double>(Int(Cell * (cly + cn) / cn - 1)), Cell, w});
  if (sm == dir::Down)
    CopyWhole(tile::Space, DestRect{x, static_cast<double>(Int(Cell * (cly - 1) / cn)), Cell, w});
}

void BoardRenderer::XorLine(double x1, double y1, double x2, double y2, Rgb colour) {
  if (surface_) quarn::XorLine(*surface_, x1, y1, x2, y2, Packed(colour));
}

void BoardRenderer::XorCircle(double cx, double cy, double radius, Rgb colour) {
  if (surface_) quarn::XorCircle(*surface_, cx, cy, radius, Packed(colour));
}

std::optional<std::string> BoardRenderer::SaveBmp(const std::string& path) const {
  if (!surface_) return path + ": there is no board to save";
  return SaveBmp24(*surface_, path);
}

}  // namespace quarn
