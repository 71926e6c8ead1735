// Tiles.h — the tile codes a zone's characters stand for, the direction codes, and the limits of
// a zone's board.
#pragma once

#include <cstdint>

namespace quarn {

// Tile codes. The picture of a cell is the picture slot whose index equals its code.
namespace tile {
inline constexpr int16_t Space = 0;
inline constexpr int16_t Start = 1;  // also the cell the player is stepping into
inline constexpr int16_t Wall = 2;   // "W", and "E" (a wall that marks the exit site)
inline constexpr int16_t AirDoor = 3;
inline constexpr int16_t SlamDoor = 4;
inline constexpr int16_t SlamLock = 5;
inline constexpr int16_t Exit = 6;
inline constexpr int16_t HotPotato = 7;
inline constexpr int16_t Target = 8;
inline constexpr int16_t Unused9 = 9;  // no character gives it; its picture is built in
inline constexpr int16_t LockedDoor = 10;
inline constexpr int16_t DoorKey = 11;
inline constexpr int16_t Boxes = 12;
inline constexpr int16_t Enemy1 = 13;  // enemy of kind k is 12 + k
inline constexpr int16_t Enemy2 = 14;
inline constexpr int16_t Enemy3 = 15;
inline constexpr int16_t LaserA = 16;  // active (deadly) laser door of group g is 15 + g
inline constexpr int16_t LaserB = 17;
inline constexpr int16_t LaserC = 18;
inline constexpr int16_t LaserOpenA = 19;  // open laser door of group g is 18 + g
inline constexpr int16_t LaserOpenB = 20;
inline constexpr int16_t LaserOpenC = 21;
inline constexpr int16_t Box = 22;
inline constexpr int16_t Time = 23;
inline constexpr int Count = 24;

inline constexpr bool IsLaser(int code) { return code >= LaserA && code <= LaserOpenC; }
inline constexpr bool IsActiveLaser(int code) { return code >= LaserA && code <= LaserC; }
}  // namespace tile

// Direction codes: the arrow key's virtual-key code minus 36.
namespace dir {
inline constexpr int None = 0;
inline constexpr int Left = 1;
inline constexpr int Up = 2;
inline constexpr int Right = 3;
inline constexpr int Down = 4;
}  // namespace dir

inline constexpr int MaxBoardWidth = 150;
inline constexpr int MaxBoardHeight = 130;
inline constexpr int MaxEnemies = 101;  // the enemy table holds indices 0..100

}  // namespace quarn
