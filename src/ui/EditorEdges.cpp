// EditorEdges.cpp — growing or cutting the zone by dragging one of its edges on the canvas.
#include <algorithm>
#include <cmath>

#include "EditorScreen.h"
#include "base/Plural.h"
#include "zone/Zone.h"

namespace quarn::ui {

namespace {
// How far outside the zone a press still takes its edge, in canvas pixels.
constexpr int EdgeBand = 12;
}  // namespace

std::optional<int> EditorScreen::EdgeAt(SDL_Point p) const {
  const EditorView& v = const_cast<EditorCanvas&>(canvas_).View();
  const SDL_Rect zone{-v.Left, -v.Top, v.Columns * v.Zoom, v.Rows * v.Zoom};
  const bool alongX = p.x >= zone.x - EdgeBand && p.x < zone.x + zone.w + EdgeBand;
  const bool alongY = p.y >= zone.y - EdgeBand && p.y < zone.y + zone.h + EdgeBand;
  // The distance outside each edge; the nearest edge within the band wins.
  const int out[4] = {zone.x - p.x, zone.y - p.y, p.x - (zone.x + zone.w - 1),
                      p.y - (zone.y + zone.h - 1)};
  std::optional<int> best;
  for (int e = 0; e < 4; ++e) {
    const bool along = e % 2 == 0 ? alongY : alongX;
    if (!along || out[e] <= 0 || out[e] > EdgeBand) continue;
    if (!best || out[e] < out[*best]) best = e;
  }
  return best;
}

void EditorScreen::EdgeDrag(SDL_Point p) {
  const EditorView& v = canvas_.View();
  const int along = edgeDragged_ % 2 == 0 ? p.x - dragStart_.x : p.y - dragStart_.y;
  int cells = static_cast<int>(std::lround(static_cast<double>(along) / v.Zoom));
  if (edgeDragged_ < 2) cells = -cells;  // left and top grow outwards, that is leftwards and up
  // The zone keeps at least one cell and at most what the game allows.
  const bool wide = edgeDragged_ % 2 == 0;
  const int size = wide ? model_.Width() : model_.Height();
  const int limit = wide ? MaxBoardWidth : MaxBoardHeight;
  edgeCells_ = std::clamp(cells, 1 - size, limit - size);
  // The new outline, framed on the canvas.
  int x = -v.Left, y = -v.Top, w = v.Columns * v.Zoom, h = v.Rows * v.Zoom;
  const int d = edgeCells_ * v.Zoom;
  if (edgeDragged_ == 0) x -= d;
  if (edgeDragged_ == 1) y -= d;
  if (wide) w += d;
  if (!wide) h += d;
  rectangle_->Visible = true;
  rectangle_->Bounds = SDL_Rect{x - 1, y - 1, w + 2, h + 2};
  static const char* const names[4] = {"vlevo", "nahoře", "vpravo", "dole"};
  message_ = std::string("Okraj ") + names[edgeDragged_] + ": " + (edgeCells_ > 0 ? "+" : "") +
             (wide ? CzechCount(edgeCells_, "sloupec", "sloupce", "sloupců")
                   : CzechCount(edgeCells_, "řádek", "řádky", "řádků")) +
             " (pusť tlačítko)";
  UpdateStatus();
  window_.Invalidate();
}

void EditorScreen::EdgeUp() {
  rectangle_->Visible = false;
  const int cells = edgeCells_;
  edgeCells_ = 0;
  message_.clear();
  if (cells != 0) {
    GrowEdge(edgeDragged_, cells);
  } else {
    UpdateStatus();
  }
  window_.Invalidate();
}

}  // namespace quarn::ui
