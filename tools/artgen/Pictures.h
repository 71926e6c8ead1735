// Pictures.h — every picture the game reads, each painted by one function.
#pragma once

#include <optional>
#include <string>

#include "Canvas.h"

namespace quarn::art {

// Board tiles, 40 x 40 unless said otherwise.
Image SpaceTile();
Image WallTile();
Image AirDoorTile();
Image SlamDoorTile();
Image SlamLockTile();
Image ExitTile();
Image LockedDoorTile();
Image KeyTile();
Image BoxesTile();
Image BoxTile();
Image TimeTile();
// 40 x 60: emitter cap for the wall above (rows 0..10), beam cell (10..50), cap for the wall
// below (50..60). group 0, 1, 2 are the red, green and violet lasers.
Image LaserDoors(int group);

// Figures: the player (40 x 40), the steaming potato and the pulsing target (two frames of 40
// stacked), and the three enemy kinds (four frames of 40 stacked).
Image QuarnFigure();
Image HotPotato();
Image TargetTile();
Image Enemy(int kind);

// The start screen and the dialog. Text needs a font; an error names what is missing.
std::optional<std::string> OpenFonts();
void CloseFonts();
Image ButtonStrip(int width, const std::string& caption);
Image Icon(int kind);  // 0 information, 1 question, 2 exclamation, 3 critical
Image TitlePicture();
Image Logo();

}  // namespace quarn::art
