// Scrolling.cpp — MoveH: the board glides a tenth of the way toward keeping the player in view.
#include "Game.h"

namespace quarn {

void Game::MoveH() {
  GameState& s = State;
  // The player is kept at view column 9, row 5, without showing anything past the board's left
  // or top edge; the right and bottom clamp comes second, so a board smaller than the view is
  // pushed to the view's right or bottom edge.
  double left = CellPixels * (9 - static_cast<double>(s.PlayerX) / s.PlayerSteps);
  double top = CellPixels * (5 - static_cast<double>(s.PlayerY) / s.PlayerSteps);
  if (left > 0) left = 0;
  if (top > 0) top = 0;
  if (left < CellPixels * (20 - s.BoardWidth)) left = CellPixels * (20 - s.BoardWidth);
  if (top < CellPixels * (12 - s.BoardHeight)) top = CellPixels * (12 - s.BoardHeight);
  s.PoleLeft = s.PoleLeft + (left - s.PoleLeft) / 10;
  s.PoleTop = s.PoleTop + (top - s.PoleTop) / 10;
}

}  // namespace quarn
