// BoardRenderer.cpp — Nakr, NakrF, NakrN and Vycisti: cells, caps, blink frames and trail strips.
#include "BoardRenderer.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "game/Numbers.h"

namespace quarn {

namespace {

constexpr double Cell = CellPixels;

bool Empty(const PixelBox& b) { return b.X0 >= b.X1 || b.Y0 >= b.Y1; }
bool Inside(const PixelBox& inner, const PixelBox& outer) {
  return outer.X0 <= inner.X0 && outer.Y0 <= inner.Y0 && inner.X1 <= outer.X1 &&
         inner.Y1 <= outer.Y1;
}
PixelBox Common(const PixelBox& a, const PixelBox& b) {
  return PixelBox{std::max(a.X0, b.X0), std::max(a.Y0, b.Y0), std::min(a.X1, b.X1),
                  std::min(a.Y1, b.Y1)};
}
// The union of two boxes when it is itself a box.
std::optional<PixelBox> Joined(const PixelBox& a, const PixelBox& b) {
  if (Inside(a, b)) return b;
  if (Inside(b, a)) return a;
  const PixelBox around{std::min(a.X0, b.X0), std::min(a.Y0, b.Y0), std::max(a.X1, b.X1),
                        std::max(a.Y1, b.Y1)};
  if (a.Y0 == b.Y0 && a.Y1 == b.Y1 && a.X0 <= b.X1 && b.X0 <= a.X1) return around;
  if (a.X0 == b.X0 && a.X1 == b.X1 && a.Y0 <= b.Y1 && b.Y0 <= a.Y1) return around;
  return std::nullopt;
}

Uint32 Packed(Rgb c) { return (Uint32{c.R} << 16) | (Uint32{c.G} << 8) | Uint32{c.B}; }

// The slot of the laser picture whose caps a wall beside laser door code `code` shows: active
// and open doors of one group share their group's picture.
int CapSlot(int code) { return static_cast<int>(Mod(code - tile::LaserA, 3)) + tile::LaserA; }

// A figure's edge in whole pixels, kept in range of an int however far off the board it lies.
int Down(double v) { return static_cast<int>(std::clamp(std::floor(v), -1e9, 1e9)); }
int Up(double v) { return static_cast<int>(std::clamp(std::ceil(v), -1e9, 1e9)); }

}  // namespace

BoardRenderer::BoardRenderer(std::filesystem::path base) : pictures_(std::move(base)) {}

std::optional<PictureProblem> BoardRenderer::LoadGraphics(uint8_t& tileSize) {
  // The cells still to draw are drawn with the pictures they were meant with, when those change.
  // A restart reads the same pictures again: drawing every cell out of view then would take the
  // memory of the whole board surface, which the opening blackens next.
  if (auto error = pictures_.Load([this] { DrawPending(0, 0, width_, height_); })) return error;
  ForgetCells();
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
    BlackenSurface(*surface_);
  }
  width_ = widthPx;
  height_ = heightPx;
  columns_ = (std::max(1, widthPx) + CellPixels - 1) / CellPixels;
  rows_ = (std::max(1, heightPx) + CellPixels - 1) / CellPixels;
  cells_.assign(static_cast<size_t>(columns_) * static_cast<size_t>(rows_), CellState{});
  logs_.assign(cells_.size(), {});
  entries_.clear();
  freeEntries_ = -1;
  liveEntries_ = 0;
  order_.clear();
  pendingCount_ = 0;
  damage_.assign(1, SDL_Rect{0, 0, surface_->w, surface_->h});
}

void BoardRenderer::ForgetCells() {
  for (CellState& c : cells_) c.Drawn = Unknown;
}

const SDL_Surface* BoardRenderer::Surface() const {
  DrawPending(0, 0, width_, height_);
  return surface_.get();
}

void BoardRenderer::SetShownArea(const SDL_Rect& area) {
  shown_ = area;
  DrawPending(area.x, area.y, area.x + area.w, area.y + area.h);
}

bool BoardRenderer::SpanOf(int x0, int y0, int x1, int y1, Span& span) const {
  if (!surface_) return false;
  span.X0 = std::max(x0, 0);
  span.Y0 = std::max(y0, 0);
  span.X1 = std::min(x1, surface_->w);
  span.Y1 = std::min(y1, surface_->h);
  if (span.X0 >= span.X1 || span.Y0 >= span.Y1) return false;
  span.Cx0 = span.X0 / CellPixels;
  span.Cy0 = span.Y0 / CellPixels;
  span.Cx1 = std::min((span.X1 - 1) / CellPixels, columns_ - 1);
  span.Cy1 = std::min((span.Y1 - 1) / CellPixels, rows_ - 1);
  return true;
}

bool BoardRenderer::InView(const Span& span) const {
  return span.Cx0 * CellPixels < shown_.x + shown_.w && (span.Cx1 + 1) * CellPixels > shown_.x &&
         span.Cy0 * CellPixels < shown_.y + shown_.h && (span.Cy1 + 1) * CellPixels > shown_.y;
}

PixelBox BoardRenderer::CellBox(size_t cell) const {
  const int cx = static_cast<int>(cell % static_cast<size_t>(columns_));
  const int cy = static_cast<int>(cell / static_cast<size_t>(columns_));
  return PixelBox{CellPixels * cx, CellPixels * cy, CellPixels * (cx + 1), CellPixels * (cy + 1)};
}

void BoardRenderer::DrawPending(int x0, int y0, int x1, int y1) const {
  Span span;
  if (pendingCount_ == 0 || !SpanOf(x0, y0, x1, y1, span)) return;
  for (int cy = span.Cy0; cy <= span.Cy1 && pendingCount_ > 0; ++cy) {
    for (int cx = span.Cx0; cx <= span.Cx1; ++cx) {
      const size_t cell =
          static_cast<size_t>(cy) * static_cast<size_t>(columns_) + static_cast<size_t>(cx);
      if (HasPending(cell)) DrawPendingCell(cell);
    }
  }
}

void BoardRenderer::DrawPendingCell(size_t cell) const {
  const int32_t look = cells_[cell].Pending;
  cells_[cell].Pending = Unknown;
  if (look != Unknown) DrawCell(cell, look);
  for (int32_t e = cells_[cell].Head; e >= 0; e = entries_[static_cast<size_t>(e)].Next)
    CopyNow(entries_[static_cast<size_t>(e)].Op, entries_[static_cast<size_t>(e)].Piece);
  ClearLog(cell);
  --pendingCount_;
}

void BoardRenderer::Append(size_t cell, const CopyOp& op, const PixelBox& piece) {
  int32_t e = freeEntries_;
  if (e >= 0) {
    freeEntries_ = entries_[static_cast<size_t>(e)].Next;
  } else {
    e = static_cast<int32_t>(entries_.size());
    entries_.emplace_back();
  }
  ++liveEntries_;
  CellLog& log = logs_[cell];
  entries_[static_cast<size_t>(e)] = LogEntry{op, piece, -1, log.Tail};
  if (log.Tail >= 0)
    entries_[static_cast<size_t>(log.Tail)].Next = e;
  else
    cells_[cell].Head = e;
  log.Tail = e;
  ++log.Length;
}

void BoardRenderer::Prune(size_t cell, const PixelBox& piece) {
  CellLog& log = logs_[cell];
  if (log.Length == 0) return;
  // A figure moving through the cell draws a trail strip and then itself, a little further on,
  // every tick: the two together write over all of the figure's last piece, which comes just
  // before the strip. Only the last two entries are looked at (each look is likely a cache miss);
  // older ones wait for the cell's next whole copy or its drawing.
  constexpr int Lookback = 2;
  const PixelBox& last = entries_[static_cast<size_t>(log.Tail)].Piece;
  const PixelBox reach = Joined(last, piece).value_or(piece);
  int32_t e = log.Tail;
  for (int looked = 0; e >= 0 && looked < Lookback; ++looked) {
    LogEntry& entry = entries_[static_cast<size_t>(e)];
    const int32_t before = entry.Prev;
    if (Inside(entry.Piece, e == log.Tail ? piece : reach)) {
      (entry.Prev >= 0 ? entries_[static_cast<size_t>(entry.Prev)].Next : cells_[cell].Head) =
          entry.Next;
      (entry.Next >= 0 ? entries_[static_cast<size_t>(entry.Next)].Prev : log.Tail) = entry.Prev;
      entry.Next = freeEntries_;
      freeEntries_ = e;
      --log.Length;
      --liveEntries_;
    }
    e = before;
  }
}

void BoardRenderer::ClearLog(size_t cell) const {
  int32_t& head = cells_[cell].Head;
  if (head < 0) return;
  CellLog& log = logs_[cell];
  entries_[static_cast<size_t>(log.Tail)].Next = freeEntries_;
  freeEntries_ = head;
  liveEntries_ -= log.Length;
  head = log.Tail = -1;
  log.Length = 0;
}

void BoardRenderer::Defer(size_t cell, const CopyOp& op) {
  const PixelBox box = Common(CellBox(cell), PixelBox{0, 0, width_, height_});
  const PixelBox piece = Common(CoveredPixels(op.To), box);
  if (Empty(piece)) return;
  const bool counted = HasPending(cell);
  if (Inside(box, piece)) {
    // The copy writes every pixel of the cell: nothing drawn there before it can show.
    cells_[cell].Pending = Unknown;
    ClearLog(cell);
  } else {
    Prune(cell, piece);
  }
  Append(cell, op, piece);
  if (!counted) ++pendingCount_;
  cells_[cell].Drawn = Unknown;
  if (!logs_[cell].Queued) {
    logs_[cell].Queued = true;
    order_.push_back(cell);
  }
  while (liveEntries_ > maxLogged_ && !order_.empty()) {
    const size_t oldest = order_.front();
    order_.pop_front();
    logs_[oldest].Queued = false;
    if (cells_[oldest].Head >= 0) DrawPendingCell(oldest);
  }
}

void BoardRenderer::DrawCell(size_t cell, int32_t look) const {
  const int cx = static_cast<int>(cell % static_cast<size_t>(columns_));
  const int cy = static_cast<int>(cell / static_cast<size_t>(columns_));
  const int slot = look >> 16, t = (look >> 8) & 0xFF, sy = look & 0xFF;
  CopyNow(CopyOp{slot, SourceRect{0, sy, t, t}, DestRect{Cell * cx, Cell * cy, Cell, Cell}},
          CellBox(cell));
  ++cellCopies_;
  cells_[cell].Drawn = look;
}

void BoardRenderer::Touch(int x0, int y0, int x1, int y1) const {
  Span span;
  if (!SpanOf(x0, y0, x1, y1, span)) return;
  for (int cy = span.Cy0; cy <= span.Cy1; ++cy) {
    for (int cx = span.Cx0; cx <= span.Cx1; ++cx) {
      cells_[static_cast<size_t>(cy) * static_cast<size_t>(columns_) + static_cast<size_t>(cx)]
          .Drawn = Unknown;
    }
  }
  // Only what shows is damage: a board that moves to show other parts is drawn again whole.
  const SDL_Rect drawn{span.X0, span.Y0, span.X1 - span.X0, span.Y1 - span.Y0};
  SDL_Rect r;
  if (!SDL_IntersectRect(&drawn, &shown_, &r)) return;
  constexpr size_t MaxDamage = 64;
  if (damage_.size() >= MaxDamage) {
    SDL_Rect all = r;
    for (const SDL_Rect& d : damage_) SDL_UnionRect(&all, &d, &all);
    damage_.assign(1, all);
  } else {
    damage_.push_back(r);
  }
}

std::vector<SDL_Rect> BoardRenderer::TakeDamage() {
  std::vector<SDL_Rect> taken;
  taken.swap(damage_);
  return taken;
}

void BoardRenderer::Copy(int slot, SourceRect from, DestRect to) {
  if (slot < 0 || slot >= PictureSet::SlotCount || !pictures_.Slot(slot)) return;
  const CopyOp op{slot, from, to};
  Span span;
  if (from.W <= 0 || from.H <= 0 || to.W <= 0 || to.H <= 0 ||
      !SpanOf(Down(to.X), Down(to.Y), Up(to.X + to.W), Up(to.Y + to.H), span))
    return;
  if (InView(span)) {
    // Whatever lies under the copy is drawn first, in the order the rules drew it.
    DrawPending(span.X0, span.Y0, span.X1, span.Y1);
    CopyNow(op, PixelBox{span.X0, span.Y0, span.X1, span.Y1});
    return;
  }
  // Wholly out of view: each cell it meets keeps its piece of it for later.
  for (int cy = span.Cy0; cy <= span.Cy1; ++cy) {
    for (int cx = span.Cx0; cx <= span.Cx1; ++cx) {
      Defer(static_cast<size_t>(cy) * static_cast<size_t>(columns_) + static_cast<size_t>(cx), op);
    }
  }
}

void BoardRenderer::CopyNow(const CopyOp& op, const PixelBox& clip) const {
  const SDL_Surface* picture = pictures_.Slot(op.Slot);
  if (!surface_ || !picture) return;
  ScaledCopy(*picture, op.From, *surface_, op.To, clip);
  const PixelBox covered = CoveredPixels(op.To);
  const int x0 = std::max({covered.X0, clip.X0, 0}), x1 = std::min({covered.X1, clip.X1, width_});
  const int y0 = std::max({covered.Y0, clip.Y0, 0}), y1 = std::min({covered.Y1, clip.Y1, height_});
  if (x0 >= x1 || y0 >= y1) return;
  copiedPixels_ += int64_t{x1 - x0} * (y1 - y0);
  Touch(x0, y0, x1, y1);
}

void BoardRenderer::CopyWhole(int slot, DestRect to) {
  const SDL_Surface* picture =
      slot >= 0 && slot < PictureSet::SlotCount ? pictures_.Slot(slot) : nullptr;
  if (picture) Copy(slot, SourceRect{0, 0, picture->w, picture->h}, to);
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
  // A cell that still shows the same frame of the same picture, untouched since, keeps it: on a
  // zone full of potatoes and targets most of them did not change this tick.
  const bool whole = dy == 0 && cut == 0 && x >= 0 && y >= 0 && x < columns_ && y < rows_ &&
                     code >= 0 && code < PictureSet::SlotCount && t > 0 && t < 256 && sy < 256;
  if (!whole) {
    Copy(code, SourceRect{0, sy, t, t}, DestRect{left, top + dy, Cell, Cell - cut});
    ++cellCopies_;
    return;
  }
  const size_t cell =
      static_cast<size_t>(y) * static_cast<size_t>(columns_) + static_cast<size_t>(x);
  const int32_t look = (code << 16) | (t << 8) | sy;
  // A later whole copy of the cell replaces all that is still pending there.
  if (HasPending(cell)) {
    cells_[cell].Pending = Unknown;
    ClearLog(cell);
    --pendingCount_;
  }
  if (cells_[cell].Drawn == look) return;
  const int px = CellPixels * x, py = CellPixels * y;
  const bool inView = px < shown_.x + shown_.w && px + CellPixels > shown_.x &&
                      py < shown_.y + shown_.h && py + CellPixels > shown_.y;
  if (!inView) {
    cells_[cell].Pending = look;
    ++pendingCount_;
    return;
  }
  DrawCell(cell, look);
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
  if (!surface_) return;
  DrawPending(Down(std::min(x1, x2)) - 2, Down(std::min(y1, y2)) - 2, Up(std::max(x1, x2)) + 3,
              Up(std::max(y1, y2)) + 3);
  quarn::XorLine(*surface_, x1, y1, x2, y2, Packed(colour));
  Touch(Down(std::min(x1, x2)) - 2, Down(std::min(y1, y2)) - 2, Up(std::max(x1, x2)) + 3,
        Up(std::max(y1, y2)) + 3);
}

void BoardRenderer::XorCircle(double cx, double cy, double radius, Rgb colour) {
  if (!surface_) return;
  const double r = std::abs(radius);
  DrawPending(Down(cx - r) - 2, Down(cy - r) - 2, Up(cx + r) + 3, Up(cy + r) + 3);
  quarn::XorCircle(*surface_, cx, cy, radius, Packed(colour));
  Touch(Down(cx - r) - 2, Down(cy - r) - 2, Up(cx + r) + 3, Up(cy + r) + 3);
}

std::optional<std::string> BoardRenderer::SaveBmp(const std::string& path) const {
  if (!surface_) return path + ": there is no board to save";
  DrawPending(0, 0, width_, height_);
  return SaveBmp24(*surface_, path);
}

}  // namespace quarn
