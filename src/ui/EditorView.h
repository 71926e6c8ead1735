// EditorView.h — which part of a zone the editor's canvas shows, and at what size.
#pragma once

#include <SDL.h>

#include <array>
#include <optional>

namespace quarn::ui {

// Pixels per cell, largest first. The game's 40 divided by each is whole, so a cell's pixels are
// every k-th pixel of its picture; the smallest shows a 150 x 130 zone whole in the canvas.
inline constexpr std::array<int, 6> ZoomSteps{40, 20, 10, 8, 5, 4};

struct EditorView {
  int ViewWidth = 0, ViewHeight = 0;  // the canvas, pixels
  int Columns = 1, Rows = 1;          // the zone, cells
  int Zoom = 40;                      // pixels per cell, one of ZoomSteps
  // The zone's pixels (at Zoom) left of and above the canvas; negative when the zone is
  // narrower or lower than the canvas and stands in its middle.
  int Left = 0, Top = 0;
  // Pixels a zone larger than the canvas may be scrolled past its right and bottom edges, so that
  // what stands in the canvas's bottom-right corner (the overview) hides no cell for good.
  int SpareRight = 0, SpareBottom = 0;

  // Keeps the zone in view: a zone larger than the canvas cannot be scrolled past its edges
  // (but for the spare pixels), a smaller one is centred.
  void Clamp();
  void ScrollBy(int dx, int dy);
  // The cell under canvas point p, or none outside the zone.
  std::optional<SDL_Point> CellAt(SDL_Point p) const;
  // The canvas pixels of cell (x, y) (may lie outside the canvas).
  SDL_Rect CellRect(int x, int y) const;
  // The next zoom step in (true) or out; the zone pixel under anchor stays under it.
  bool Step(bool in, SDL_Point anchor);
  // The largest step at which the whole zone fits the canvas (the smallest step if none does).
  int FitZoom() const;
  void SetZoom(int zoom, SDL_Point anchor);
  // Scrolls so that cell (x, y) stands in the middle of the canvas (as far as the edges allow).
  void Reveal(int x, int y);
};

}  // namespace quarn::ui
