// EditorCanvas.h — the zone being edited, drawn with the game's own pictures at the view's zoom.
#pragma once

#include <SDL.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "EditorView.h"
#include "game/GameState.h"
#include "platform/Controls.h"
#include "render/BoardRenderer.h"

namespace quarn::ui {

// The tile code the editor draws for a zone character: what the game shows at the start, except
// that every laser door shows its beam (an open one would look like floor) and the exit site
// shows the exit (in play it is a wall until the last delivery).
int16_t EditorCodeOf(char c);

// Cells are drawn at 40 pixels onto a board surface as the game draws them (laser caps on the
// walls beside laser doors included); the canvas shows the view's part of it scaled down to the
// zoom, with the findings framed in red. Only what changed is composed again.
class EditorCanvas {
 public:
  EditorCanvas(const std::filesystem::path& dataFolder, int viewWidth, int viewHeight);
  EditorCanvas(const EditorCanvas&) = delete;
  EditorCanvas& operator=(const EditorCanvas&) = delete;

  // Reads the game's pictures; an error names the file.
  std::optional<PictureProblem> LoadPictures();
  const PictureSet& Pictures() const { return painter_.Pictures(); }

  // A zone of a new size, or a new zone: rows[y][x] is the character of cell (x, y) (a short row
  // is floor past its end). Every cell is drawn and the view is clamped.
  void SetZone(int columns, int rows, const std::vector<std::string>& cells);
  // Cell (x, y) now holds c: the cell and the walls above and below it (whose laser caps depend
  // on it) are drawn again and the canvas composed where they show.
  void SetCell(int x, int y, char c);
  char CellAt(int x, int y) const;
  // The cells framed as findings.
  void SetMarks(std::vector<SDL_Point> cells);
  const std::vector<SDL_Point>& Marks() const { return marks_; }

  // Colours laid over the cells (the editor's overlays): one a cell, y * columns + x; a colour
  // of Alpha 0 leaves its cell alone. Ignored while its size is not the zone's. Compose again
  // (ComposeAll) to show it.
  struct Tint {
    uint8_t R = 0, G = 0, B = 0, Alpha = 0;
  };
  void SetOverlay(std::vector<Tint> cells) { overlay_ = std::move(cells); }
  const std::vector<Tint>& Overlay() const { return overlay_; }

  EditorView& View() { return view_; }
  // After the view was scrolled or zoomed: the canvas is composed again whole.
  void ComposeAll();
  // The canvas, view-sized, XRGB8888.
  const SDL_Surface* Surface() const { return canvas_.get(); }
  // The canvas rectangles composed since the last call.
  std::vector<SDL_Rect> TakeDamage();

  // Cells drawn onto the board surface since the canvas was made (the benchmark's count).
  int64_t CellsDrawn() const { return cellsDrawn_; }

 private:
  void DrawCell(int x, int y);
  void Compose(SDL_Rect r);
  void ComposeCell(int x, int y);

  BoardRenderer painter_;
  std::unique_ptr<GameState> state_;  // only the board and its size are read by the drawing
  std::vector<std::string> cells_;
  std::vector<SDL_Point> marks_;
  std::vector<Tint> overlay_;
  EditorView view_;
  platform::SurfacePtr canvas_;
  std::vector<SDL_Rect> damage_;
  int64_t cellsDrawn_ = 0;
};

}  // namespace quarn::ui
