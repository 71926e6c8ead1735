// EditorView.cpp — scrolling and zooming the editor's canvas over a zone.
#include "EditorView.h"

#include <algorithm>

namespace quarn::ui {

namespace {
void ClampAxis(int& offset, int content, int view, int spare) {
  if (content <= view) {
    offset = -(view - content) / 2;
  } else {
    offset = std::clamp(offset, 0, content - view + std::max(spare, 0));
  }
}
}  // namespace

void EditorView::Clamp() {
  ClampAxis(Left, Columns * Zoom, ViewWidth, SpareRight);
  ClampAxis(Top, Rows * Zoom, ViewHeight, SpareBottom);
}

void EditorView::ScrollBy(int dx, int dy) {
  Left += dx;
  Top += dy;
  Clamp();
}

std::optional<SDL_Point> EditorView::CellAt(SDL_Point p) const {
  if (p.x < 0 || p.y < 0 || p.x >= ViewWidth || p.y >= ViewHeight) return std::nullopt;
  const int zx = p.x + Left, zy = p.y + Top;
  if (zx < 0 || zy < 0) return std::nullopt;
  const int x = zx / Zoom, y = zy / Zoom;
  if (x >= Columns || y >= Rows) return std::nullopt;
  return SDL_Point{x, y};
}

SDL_Rect EditorView::CellRect(int x, int y) const {
  return SDL_Rect{x * Zoom - Left, y * Zoom - Top, Zoom, Zoom};
}

void EditorView::SetZoom(int zoom, SDL_Point anchor) {
  // The zone point under the anchor, in cells, stays there.
  const double cx = static_cast<double>(anchor.x + Left) / Zoom;
  const double cy = static_cast<double>(anchor.y + Top) / Zoom;
  Zoom = zoom;
  Left = static_cast<int>(cx * Zoom) - anchor.x;
  Top = static_cast<int>(cy * Zoom) - anchor.y;
  Clamp();
}

bool EditorView::Step(bool in, SDL_Point anchor) {
  const auto at = std::find(ZoomSteps.begin(), ZoomSteps.end(), Zoom);
  const int i = at == ZoomSteps.end() ? 0 : static_cast<int>(at - ZoomSteps.begin());
  const int next = in ? i - 1 : i + 1;
  if (next < 0 || next >= static_cast<int>(ZoomSteps.size())) return false;
  SetZoom(ZoomSteps[static_cast<size_t>(next)], anchor);
  return true;
}

int EditorView::FitZoom() const {
  for (int z : ZoomSteps) {
    if (Columns * z <= ViewWidth && Rows * z <= ViewHeight) return z;
  }
  return ZoomSteps.back();
}

void EditorView::Reveal(int x, int y) {
  Left = x * Zoom + Zoom / 2 - ViewWidth / 2;
  Top = y * Zoom + Zoom / 2 - ViewHeight / 2;
  Clamp();
}

}  // namespace quarn::ui
