// BoardRenderer.h — the board surface (Pole) and the drawing of cells, figures and XOR figures.
#pragma once

#include <algorithm>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "PictureSet.h"
#include "Surface.h"
#include "game/GameState.h"
#include "game/Ports.h"

namespace quarn {

// The rules' BoardPainter over a retained software surface, 40 pixels per cell, black where
// nothing is drawn. The game screen presents Surface(); quarn-zone saves it.
class BoardRenderer : public BoardPainter {
 public:
  // Pictures come from base's Graphics folder; an empty base means the program's folder.
  explicit BoardRenderer(std::filesystem::path base = {});

  std::optional<PictureProblem> LoadGraphics(uint8_t& tileSize) override;
  void ResizeBoard(int widthPx, int heightPx) override;
  void Nakr(const GameState& s, int x, int y) override;
  void NakrF(const GameState& s) override;
  void NakrN(const GameState& s, int c) override;
  void Vycisti(double clx, double cly, double cn, int sm) override;
  void XorLine(double x1, double y1, double x2, double y2, Rgb colour) override;
  void XorCircle(double cx, double cy, double radius, Rgb colour) override;

  const PictureSet& Pictures() const { return pictures_; }
  // The board surface, XRGB8888, every cell drawn; null before the first ResizeBoard.
  const SDL_Surface* Surface() const;
  // The board pixels the player can see (everything until a screen says otherwise). What is
  // drawn wholly outside them (cells, figures, trail strips) waits in a log per cell and is drawn
  // only when the cell comes into them, when a figure or beam is drawn over it, or when the
  // surface is read whole: on a zone full of blinking potatoes and wandering enemies only those
  // in view cost a copy. The cells pending inside the new area are drawn now.
  void SetShownArea(const SDL_Rect& area);
  // The board surface with only the shown area sure to be up to date, for the screen.
  const SDL_Surface* ShownSurface() const { return surface_.get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Writes the board as a 24-bit bitmap; an error names the file.
  std::optional<std::string> SaveBmp(const std::string& path) const;
  // How many times the surface has been allocated: a new size allocates, a reload does not.
  int Allocations() const { return allocations_; }
  // The rectangles of board pixels drawn on inside the shown area since the last call (few:
  // past a handful they become the one rectangle around them), and forgets them.
  std::vector<SDL_Rect> TakeDamage();
  // Cells copied by Nakr since the board was made (a cell that already showed the same picture
  // frame is not copied again).
  int64_t CellCopies() const { return cellCopies_; }
  // How many copies may wait out of view over the whole board before the cells logged longest
  // ago are drawn after all.
  void LimitLogs(int64_t copies) { maxLogged_ = std::max<int64_t>(copies, 1); }
  // Pixels written by picture copies since the board was made.
  int64_t CopiedPixels() const { return copiedPixels_; }

 private:
  // A picture copy as the rules asked for it.
  struct CopyOp {
    int Slot = 0;
    SourceRect From;
    DestRect To;
  };
  void Copy(int slot, SourceRect from, DestRect to);
  void CopyWhole(int slot, DestRect to);
  // Copies without first drawing the pending cells under the copy, only the pixels inside clip.
  void CopyNow(const CopyOp& op, const PixelBox& clip) const;
  // Keeps op for a cell out of view, to be copied (cut to the cell) when it is drawn.
  void Defer(size_t cell, const CopyOp& op);
  // Draws what is pending in the cell: the picture Nakr left there, then the logged copies.
  void DrawPendingCell(size_t cell) const;
  bool HasPending(size_t cell) const {
    return cells_[cell].Pending != Unknown || cells_[cell].Head >= 0;
  }
  // The cell's logged copies: one added at the end (piece: the pixels of the cell it writes);
  // those a new piece and the one before it write over forgotten; all given back to the pool.
  void Append(size_t cell, const CopyOp& op, const PixelBox& piece);
  void Prune(size_t cell, const PixelBox& piece);
  void ClearLog(size_t cell) const;
  PixelBox CellBox(size_t cell) const;
  // Pixels [x0, x1) x [y0, y1) were drawn on: what shows of them is damage, and the cells
  // under them no longer show what Nakr last put there.
  void Touch(int x0, int y0, int x1, int y1) const;
  // Draws the pending cells that meet pixels [x0, x1) x [y0, y1).
  void DrawPending(int x0, int y0, int x1, int y1) const;
  void DrawCell(size_t cell, int32_t look) const;
  void ForgetCells();
  // The pixels [x0, x1) x [y0, y1) cut to the surface, and the cells they meet (inclusive);
  // false when nothing of them lies on the surface.
  struct Span {
    int X0, Y0, X1, Y1;      // pixels
    int Cx0, Cy0, Cx1, Cy1;  // cells
  };
  bool SpanOf(int x0, int y0, int x1, int y1, Span& span) const;
  // Whether any of the span's cells meets the shown area.
  bool InView(const Span& span) const;

  // What Nakr last copied whole into each cell (slot, frame edge and frame row), or Unknown once
  // anything else was drawn over it; and what is still to be drawn there, out of view: a
  // picture Nakr left, then copies that met the cell, in the order they came. Drawing pending
  // cells changes when pixels are written, not what they become, so a read of the surface (a
  // const member) may do it.
  static constexpr int32_t Unknown = -1;
  // Read for every cell a tick draws, so kept small and together.
  struct CellState {
    int32_t Drawn = Unknown;
    int32_t Pending = Unknown;  // the picture Nakr left to copy, or Unknown
    int32_t Head = -1;          // the first logged copy, or -1
  };
  mutable std::vector<CellState> cells_;
  // The logs are lists threaded through one pool of entries, so their memory is what is pending
  // at the worst moment, not what every cell ever held. Past a budget of entries the cells
  // logged longest ago (most likely left by the figure that drew there) are drawn after all.
  struct LogEntry {
    CopyOp Op;
    PixelBox Piece;
    int32_t Next = -1;
    int32_t Prev = -1;
  };
  struct CellLog {
    int32_t Tail = -1;
    int32_t Length = 0;
    bool Queued = false;  // in order_
  };
  mutable std::vector<CellLog> logs_;
  mutable std::vector<LogEntry> entries_;
  mutable int32_t freeEntries_ = -1;
  mutable int64_t liveEntries_ = 0;
  int64_t maxLogged_ = 32768;         // about 2.9 MB: with 101 figures, few cells drawn early
  std::deque<size_t> order_;          // cells in the order their logs began
  mutable int64_t pendingCount_ = 0;  // cells with anything pending
  int columns_ = 0;
  int rows_ = 0;
  SDL_Rect shown_{0, 0, 1 << 30, 1 << 30};
  mutable std::vector<SDL_Rect> damage_;
  mutable int64_t cellCopies_ = 0;
  mutable int64_t copiedPixels_ = 0;

  PictureSet pictures_;
  SurfacePtr surface_;
  int width_ = 0;
  int height_ = 0;
  int allocations_ = 0;
};

}  // namespace quarn
