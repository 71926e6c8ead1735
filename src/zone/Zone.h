// Zone.h — a zone file parsed into a value, before anything of the game state is touched.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"
#include "zone/Tiles.h"

namespace quarn {

// A zone file that cannot be played: where and why, in words a zone author understands.
struct ZoneError {
  std::string File;
  int Line = 0;        // 1-based; 0 when the file could not be read at all
  std::string Field;   // the field concerned, e.g. "šířka" or "řádek 3"; may be empty
  std::string Message;
  // The cell the error is about (column and row from 1), when it is about one; 0 otherwise.
  int Column = 0, Row = 0;
  // "FILE:LINE: message" (or "FILE: message" without a line).
  std::string Describe() const;
};

struct ZoneEnemy {
  int X = 0, Y = 0;  // cell
  int Kind = 0;      // 1..3
};

struct ParsedZone {
  std::string Title;
  int Width = 0;
  int Height = 0;
  int PlayerSteps = 1;
  std::array<int, 3> EnemySteps{};
  std::array<std::string, 3> LaserPatterns;
  std::vector<int16_t> Codes;      // Width x Height tile codes, row by row, top row first
  std::optional<std::pair<int, int>> Start;  // the last "S" in reading order
  std::optional<std::pair<int, int>> Exit;   // the last "E"
  std::vector<ZoneEnemy> Enemies;           // in reading order
  int Potatoes = 0;
  // The tile character of each cell as the row holds it, Width to a row: the tile characters as
  // written, "." for anything the loader reads as floor. What a zone writer needs to keep "O"
  // apart from "?" and an exit site apart from a wall.
  std::vector<std::string> Rows;
  // Bytes of the file read up to and including the end of the last row; the notes follow.
  size_t EndOffset = 0;

  // The tile code of cell (x, y) as the loader writes it (0 past a row's end).
  int16_t CodeAt(int x, int y) const { return Codes[static_cast<size_t>(y * Width + x)]; }
};

// The tile code a zone character stands for; laserPatterns decide whether a door starts active.
int16_t CodeOfCharacter(char c, const std::array<std::string, 3>& laserPatterns);

// What the loader holds a zone to. Game: everything the game needs to play it. Editor: only what
// a zone file must be to be read at all; a zone that breaks a limit of the game (a 102nd enemy,
// enemy steps below 1 for a kind it has, an enemy too far for its steps) is read as it stands,
// so that its author can open and mend it.
enum class ZoneLimits { Game, Editor };

// Parses zone text. fileName is only used in errors.
Result<ParsedZone, ZoneError> ParseZoneText(std::string_view text, const std::string& fileName,
                                            ZoneLimits limits = ZoneLimits::Game);
// Reads and parses a zone file.
Result<ParsedZone, ZoneError> ParseZoneFile(const std::string& path);

}  // namespace quarn
