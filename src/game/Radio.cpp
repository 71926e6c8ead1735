// Radio.cpp — AnimRadio: one frame of the delivery beam, four fading lines to the target's corners.
#include "Game.h"

namespace quarn {

void Game::AnimRadio(int /*sss*/) {
  const GameState& s = State;
  const int n = s.RadioCounter;
  const Rgb colour{static_cast<uint8_t>(n), static_cast<uint8_t>(n), 0};
  // The far ends creep from a third of a cell inside the corners out to the corners as n fades.
  const double inset = CellPixels * static_cast<double>(n) / 765;
  const double fromX = (static_cast<double>(s.PlayerX) / s.PlayerSteps + 0.5) * CellPixels;
  const double fromY = (static_cast<double>(s.PlayerY) / s.PlayerSteps + 0.5) * CellPixels;
  const double left = CellPixels * s.RadioX + inset;
  const double right = CellPixels * (s.RadioX + 1) - inset;
  const double top = CellPixels * s.RadioY + inset;
  const double bottom = CellPixels * (s.RadioY + 1) - inset;
  BoardPainter& paint = Ports().Painter;
  paint.XorLine(fromX, fromY, left, top, colour);
  paint.XorLine(fromX, fromY, right, top, colour);
  paint.XorLine(fromX, fromY, left, bottom, colour);
  paint.XorLine(fromX, fromY, right, bottom, colour);
}

}  // namespace quarn
