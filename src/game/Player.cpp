// Player.cpp — the player's rule (MoveF): keys, fine steps, what each tile does, boxes, the win.
#include "Game.h"

namespace quarn {
namespace {

// A cell the rules may write: inside the board's index range.
bool InBoard(int x, int y) { return BoardGrid::InRange(x, y); }

// A cell index along one axis: the real cell position plus an offset, taken to the nearest whole
// cell. The offset is added before rounding: a player left half-way between cells by a restart
// (a zone without "S") looks at cell Round(1.5 + 1) = 2, not Round(1.5) + 1 = 3.
int CellAt(int fine, int steps, int offset) {
  return IndexOf(static_cast<double>(fine) / steps + offset);
}

}  // namespace

void Game::Vstupy() {
  State.KeyDir = program_.Keys.ChooseArrowKey();
  State.KeySpace = program_.Keys.SpaceDown();
}

void Game::MoveF() {
  GameState& s = State;
  BoardPainter& paint = Ports().Painter;
  SoundPort& sound = Ports().Sound;
  Vstupy();

  // The per-call flags. The loop runs a second pass only when a standing pass begins a step, so
  // the first fine unit of a step is taken in the tick that decides it.
  bool loopAgain = false;
  bool mayMove = false;
  bool airDoorMelted = false;
  bool delivered = false;
  bool stackShown = false;
  uint8_t& pushes = s.MoveMemory[1];

  do {
    if (s.Moving == FlagTrue) {
      const int dx = DirDX(s.MoveDir);
      const int dy = DirDY(s.MoveDir);
      s.PlayerX += dx;
      s.PlayerY += dy;
      paint.NakrF(s);
      s.FigureOnTop = true;
      loopAgain = false;

      // Quirk: a restart in the middle of a step leaves Moving set with MoveDir 0; that "step"
      // has length 0 and finishes at once on the start cell, which then reads 0.
      const bool finished = (dy == 0 && Mod(s.PlayerX, s.PlayerSteps) == 0) ||
                            (dx == 0 && Mod(s.PlayerY, s.PlayerSteps) == 0);
      if (!finished) continue;

      s.Moving = FlagFalse;
      const int px = CellAt(s.PlayerX, s.PlayerSteps, -dx);
      const int py = CellAt(s.PlayerY, s.PlayerSteps, -dy);
      if (s.Board.At(px, py) == tile::Start) {
        s.Board.Set(px, py, tile::Space);
      } else if (s.Board.At(px, py) == tile::SlamDoor) {
        s.Board.Set(px, py, tile::SlamLock);
        DrawCell(px, py);
      }

      const int nx = CellAt(s.PlayerX, s.PlayerSteps, 0);
      const int ny = CellAt(s.PlayerY, s.PlayerSteps, 0);
      s.MoveMemory[0] = static_cast<uint8_t>(s.MoveDir);
      if (s.Board.At(nx, ny) == tile::Exit) DrawCell(nx, ny);
      if (s.Board.At(nx, ny) == tile::HotPotato) {
        // The potato was counted when the step began; only the cell and the sound are left.
        s.Board.Set(nx, ny, tile::Space);
        sound.Play(GameSound::HotPotato);
      }

      for (int i = dir::Left; i <= dir::Down; ++i) {
        const int mx = nx + DirDX(i);
        const int my = ny + DirDY(i);
        if (s.Board.At(mx, my) == tile::AirDoor) {
          s.Board.Set(mx, my, tile::Space);
          DrawCell(mx, my);
          airDoorMelted = true;
        }
        if (s.Board.At(mx, my) == tile::Target && s.PotatoesCarried != 0) {
          delivered = true;
          s.PotatoesCarried = 0;
          s.RadioX = mx;
          s.RadioY = my;
          s.RadioCounter = 255;
          s.Panel.KapsaWidth = 50;
          // The exit appears only on a delivery made after the last potato was picked up.
          if (s.PotatoesLeft <= 0) {
            s.Board.Set(s.ExitX, s.ExitY, tile::Exit);
            DrawCell(s.ExitX, s.ExitY);
          }
        }
        if (s.Board.At(mx, my) == tile::Boxes && !stackShown) {
          s.Panel.BoxOverlayLeft = 2 + CellPixels * mx;
          s.Panel.BoxOverlayTop = 2 + CellPixels * my;
          s.Panel.BoxOverlayVisible = true;
          stackShown = true;
        }
      }
      if (airDoorMelted) sound.Play(GameSound::AirDoor);
      if (delivered) sound.Play(GameSound::Target);
      if (!stackShown) s.Panel.BoxOverlayVisible = false;
      continue;
    }

    // Standing: decide whether a step begins.
    const int d = s.KeyDir - 36;
    if (s.KeyDir == 0) {
      sound.Stop(GameSound::Walk);
    } else {
      const int tx = CellAt(s.PlayerX, s.PlayerSteps, DirDX(d));
      const int ty = CellAt(s.PlayerY, s.PlayerSteps, DirDY(d));
      mayMove = true;
      // Mended: a step toward a cell past the board's index range (a zone open at its border) is
      // refused like a wall; it would read and write outside the board. Those cells read 0, so
      // nothing below acts on them.
      if (!InBoard(tx, ty)) mayMove = false;

      // A player who holds a box can neither pick up a second one nor take one from a stack.
      // Quirk: letting go of the key does not clear the count, only a step that begins does, so
      // pushes made in several goes add up.
      if (s.HasBox != 0) pushes = 0;
      // Mended: the byte push counter stops at 255. Wrapping to 0, pushing on and on would reach
      // 10 and 20 again; those values come only by counting up from 0.
      auto push = [&pushes] {
        if (pushes < 255) ++pushes;
      };
      if (s.Board.At(tx, ty) == tile::Box) {
        push();
        if (pushes == 20) {
          s.Board.Set(tx, ty, tile::Space);
          DrawCell(tx, ty);
          s.HasBox = FlagTrue;
        } else {
          mayMove = false;
        }
      }
      if (s.Board.At(tx, ty) == tile::Boxes) {
        push();
        if (pushes == 10 && s.Panel.BoxOverlayVisible && s.Panel.BoxesLeft > 0) {
          s.HasBox = FlagTrue;
          s.Panel.BoxesLeft -= 1;
        }
      }
      if (s.Board.At(tx, ty) == tile::LockedDoor && s.HasKey == 0) mayMove = false;

      const int target = s.Board.At(tx, ty);
      if (target == tile::Wall || target == tile::SlamLock || target == tile::Boxes ||
          target == tile::Target || !mayMove) {
        sound.Stop(GameSound::Walk);
      } else {
        loopAgain = true;
        pushes = 0;
        // Each effect sees what the one before left in the cell.
        if (s.Board.At(tx, ty) == tile::HotPotato) {
          s.PotatoesCarried += 1;
          s.PotatoesLeft -= 1;
          s.Panel.NeedWidth = 25 * s.PotatoesLeft;
          s.Panel.NeedLeft = FormWidth - 5 - s.Panel.NeedWidth;
          s.Panel.KapsaWidth = 25 * (s.PotatoesCarried + 2);
        }
        if (s.Board.At(tx, ty) == tile::DoorKey) {
          // No redraw: the figure covers the cell.
          s.Board.Set(tx, ty, tile::Space);
          s.HasKey = FlagTrue;
        }
        if (s.Board.At(tx, ty) == tile::LockedDoor) {
          s.Board.Set(tx, ty, tile::Space);
          s.HasKey = FlagFalse;
          DrawCell(tx, ty);
        }
        if (s.Board.At(tx, ty) == tile::Space) s.Board.Set(tx, ty, tile::Start);
        if (s.Board.At(tx, ty) == tile::Exit) {
          WinFlow();
          return;
        }
        if (s.Board.At(tx, ty) == tile::Time) {
          s.Board.Set(tx, ty, tile::Space);
          s.TimeLeft += 30;
          s.Panel.TimeShown = static_cast<int>(Int(s.TimeLeft + 0.99));
        }
        if (tile::IsActiveLaser(s.Board.At(tx, ty))) {
          KillPlr(DeathCause::Laser);
          return;
        }
        s.Moving = FlagTrue;
        s.MoveDir = d;
        sound.Play(GameSound::Walk);
      }
    }

    // Putting a box down or handing it back ends every standing pass, also one that began a step.
    if (s.KeySpace && s.HasBox != 0) {
      if (s.Panel.BoxOverlayVisible) {
        s.HasBox = FlagFalse;
        s.Panel.BoxesLeft += 1;
      } else {
        const int bx = CellAt(s.PlayerX, s.PlayerSteps, -DirDX(s.MoveMemory[0]));
        const int by = CellAt(s.PlayerY, s.PlayerSteps, -DirDY(s.MoveMemory[0]));
        // Mended: a box is put down only inside the board; past the index range it would be
        // written outside the board and lost from the player's hands.
        if (InBoard(bx, by) && s.Board.At(bx, by) == tile::Space) {
          s.Board.Set(bx, by, tile::Box);
          DrawCell(bx, by);
          s.HasBox = FlagFalse;
        }
      }
    }
  } while (loopAgain);
}

void Game::WinFlow() {
  ++wins_;
  if (OnWin && active_ == &ports_) OnWin();
  // Modal: no tick runs while the question is open.
  const int answer =
      Ports().Ask.SkinMsgBox("Vyhrál jsi!\nHrát znovu?", msgbox::YesNo, msgbox::IconQuestion, "");
  if (answer == msgbox::ResultYes) {
    Reload();
  } else {
    State.GameOver = FlagTrue;
  }
}

}  // namespace quarn
