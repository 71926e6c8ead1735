// EditorCanvas.cpp — drawing the edited zone's cells and composing the zoomed view of them.
#include "EditorCanvas.h"

#include <algorithm>

#include "zone/Zone.h"

namespace quarn::ui {

namespace {
constexpr platform::Colour Outside{24, 24, 48};  // canvas beyond the zone's edges
constexpr platform::Colour MarkInk{255, 40, 40};

Uint32* Row(SDL_Surface* s, int y) {
  return reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) +
                                   static_cast<ptrdiff_t>(y) * s->pitch);
}
const Uint32* Row(const SDL_Surface* s, int y) {
  return reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) +
                                         static_cast<ptrdiff_t>(y) * s->pitch);
}
}  // namespace

int16_t EditorCodeOf(char c) {
  if (c == 'E') return tile::Exit;
  static const std::array<std::string, 3> beamsOn{"0", "0", "0"};
  return CodeOfCharacter(c, beamsOn);
}

EditorCanvas::EditorCanvas(const std::filesystem::path& dataFolder, int viewWidth, int viewHeight)
    : painter_(dataFolder), state_(std::make_unique<GameState>()) {
  view_.ViewWidth = viewWidth;
  view_.ViewHeight = viewHeight;
  canvas_ = platform::NewSurface(viewWidth, viewHeight);
}

std::optional<PictureProblem> EditorCanvas::LoadPictures() {
  uint8_t tileSize = 0;
  return painter_.LoadGraphics(tileSize);
}

void EditorCanvas::SetZone(int columns, int rows, const std::vector<std::string>& cells) {
  const bool resized = columns != state_->BoardWidth || rows != state_->BoardHeight;
  state_->BoardWidth = columns;
  state_->BoardHeight = rows;
  state_->Board.Clear();
  cells_.assign(static_cast<size_t>(rows), std::string(static_cast<size_t>(columns), '.'));
  for (int y = 0; y < rows && y < static_cast<int>(cells.size()); ++y) {
    const std::string& row = cells[static_cast<size_t>(y)];
    for (int x = 0; x < columns && x < static_cast<int>(row.size()); ++x) {
      cells_[static_cast<size_t>(y)][static_cast<size_t>(x)] = row[static_cast<size_t>(x)];
    }
  }
  for (int y = 0; y < rows; ++y) {
    for (int x = 0; x < columns; ++x) state_->Board.Set(x, y, EditorCodeOf(CellAt(x, y)));
  }
  if (resized || !painter_.Surface()) painter_.ResizeBoard(40 * columns, 40 * rows);
  for (int y = 0; y < rows; ++y) {
    for (int x = 0; x < columns; ++x) DrawCell(x, y);
  }
  painter_.TakeDamage();
  view_.Columns = columns;
  view_.Rows = rows;
  view_.Clamp();
  ComposeAll();
}

char EditorCanvas::CellAt(int x, int y) const {
  if (y < 0 || y >= static_cast<int>(cells_.size())) return '.';
  const std::string& row = cells_[static_cast<size_t>(y)];
  return x >= 0 && x < static_cast<int>(row.size()) ? row[static_cast<size_t>(x)] : '.';
}

void EditorCanvas::SetCell(int x, int y, char c) {
  if (y < 0 || y >= state_->BoardHeight || x < 0 || x >= state_->BoardWidth) return;
  if (CellAt(x, y) == c) return;
  cells_[static_cast<size_t>(y)][static_cast<size_t>(x)] = c;
  state_->Board.Set(x, y, EditorCodeOf(c));
  // A wall's laser caps follow the cells above and below it.
  for (int dy = -1; dy <= 1; ++dy) {
    const int ny = y + dy;
    if (ny < 0 || ny >= state_->BoardHeight) continue;
    if (dy != 0 && state_->Board.At(x, ny) != tile::Wall) continue;
    DrawCell(x, ny);
    ComposeCell(x, ny);
  }
  painter_.TakeDamage();
}

void EditorCanvas::DrawCell(int x, int y) {
  painter_.Nakr(*state_, x, y);
  ++cellsDrawn_;
}

void EditorCanvas::SetMarks(std::vector<SDL_Point> cells) {
  std::vector<SDL_Point> old = std::move(marks_);
  marks_ = std::move(cells);
  for (const SDL_Point& p : old) ComposeCell(p.x, p.y);
  for (const SDL_Point& p : marks_) ComposeCell(p.x, p.y);
}

void EditorCanvas::ComposeAll() {
  damage_.clear();
  Compose(SDL_Rect{0, 0, view_.ViewWidth, view_.ViewHeight});
}

void EditorCanvas::ComposeCell(int x, int y) {
  // A mark's frame reaches one pixel past the cell.
  const SDL_Rect r = view_.CellRect(x, y);
  Compose(SDL_Rect{r.x - 1, r.y - 1, r.w + 2, r.h + 2});
}

std::vector<SDL_Rect> EditorCanvas::TakeDamage() {
  std::vector<SDL_Rect> taken;
  taken.swap(damage_);
  return taken;
}

void EditorCanvas::Compose(SDL_Rect wanted) {
  const SDL_Rect r = platform::Intersect(wanted, SDL_Rect{0, 0, view_.ViewWidth, view_.ViewHeight});
  if (r.w <= 0 || r.h <= 0) return;
  damage_.push_back(r);
  SDL_Surface* out = canvas_.get();
  const Uint32 outside = SDL_MapRGB(out->format, Outside.R, Outside.G, Outside.B);
  const SDL_Surface* board = painter_.Surface();
  const int k = 40 / view_.Zoom;  // board pixels per canvas pixel
  const int zoneW = view_.Columns * view_.Zoom, zoneH = view_.Rows * view_.Zoom;
  for (int j = r.y; j < r.y + r.h; ++j) {
    Uint32* dst = Row(out, j) + r.x;
    const int zy = view_.Top + j;
    if (!board || zy < 0 || zy >= zoneH) {
      std::fill_n(dst, r.w, outside);
      continue;
    }
    const Uint32* src = Row(board, zy * k);
    for (int i = 0; i < r.w; ++i) {
      const int zx = view_.Left + r.x + i;
      dst[i] = zx >= 0 && zx < zoneW ? src[zx * k] : outside;
    }
  }
  if (board && overlay_.size() == static_cast<size_t>(view_.Columns * view_.Rows)) {
    const int x0 = std::max(0, (view_.Left + r.x) / view_.Zoom);
    const int x1 = std::min(view_.Columns - 1, (view_.Left + r.x + r.w - 1) / view_.Zoom);
    const int y0 = std::max(0, (view_.Top + r.y) / view_.Zoom);
    const int y1 = std::min(view_.Rows - 1, (view_.Top + r.y + r.h - 1) / view_.Zoom);
    for (int cy = y0; cy <= y1; ++cy) {
      for (int cx = x0; cx <= x1; ++cx) {
        const Tint t = overlay_[static_cast<size_t>(cy * view_.Columns + cx)];
        if (t.Alpha == 0) continue;
        const SDL_Rect c = platform::Intersect(view_.CellRect(cx, cy), r);
        for (int j = c.y; j < c.y + c.h; ++j) {
          Uint32* px = Row(out, j) + c.x;
          for (int i = 0; i < c.w; ++i) {
            Uint8 pr, pg, pb;
            SDL_GetRGB(px[i], out->format, &pr, &pg, &pb);
            auto mix = [&](Uint8 under, Uint8 over) {
              return static_cast<Uint8>((under * (255 - t.Alpha) + over * t.Alpha) / 255);
            };
            px[i] = SDL_MapRGB(out->format, mix(pr, t.R), mix(pg, t.G), mix(pb, t.B));
          }
        }
      }
    }
  }
  // The findings' frames, a pixel outside their cells so that a small cell stays visible.
  const int t = std::max(1, view_.Zoom / 10);
  for (const SDL_Point& m : marks_) {
    const SDL_Rect c = view_.CellRect(m.x, m.y);
    const SDL_Rect f{c.x - 1, c.y - 1, c.w + 2, c.h + 2};
    if (platform::Intersect(f, r).w <= 0) continue;
    platform::FillRect(out, SDL_Rect{f.x, f.y, f.w, t}, r, MarkInk);
    platform::FillRect(out, SDL_Rect{f.x, f.y + f.h - t, f.w, t}, r, MarkInk);
    platform::FillRect(out, SDL_Rect{f.x, f.y, t, f.h}, r, MarkInk);
    platform::FillRect(out, SDL_Rect{f.x + f.w - t, f.y, t, f.h}, r, MarkInk);
  }
}

}  // namespace quarn::ui
