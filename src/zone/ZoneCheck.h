// ZoneCheck.h — finds dead zones without playing them: what cannot be reached, where the edge leaks.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "zone/Zone.h"

namespace quarn {

// One problem of a zone, at the file line of the row it concerns.
struct StrictFinding {
  int Line = 0;
  std::string Message;  // Czech, for the zone's author
  // The cell it concerns (column and row from 1), when it concerns one; 0 otherwise.
  int Column = 0, Row = 0;
};

// The file line of each row of a zone text that ParseZoneText accepted with this height.
std::vector<int> RowLines(std::string_view text, int height);

// The walk the strict check makes, for the editor to show: every cell (y * Width + x) the player
// stands on in some play from the start, keys, locked doors and slam doors taken into account.
// With a key's cell given, also the locked doors some play opens with that key in hand (the key
// taken with empty hands: one taken while holding another is wasted). Both empty, and Why saying
// why (Czech), when the walk cannot be made.
struct ZoneReach {
  std::vector<bool> Cells;
  std::vector<bool> OpenedByKey;
  std::string Why;
};
ZoneReach ReachableCells(const ParsedZone& zone,
                         std::optional<std::pair<int, int>> key = std::nullopt);

// Everything that makes the zone unwinnable or lets a figure leave the board: a hot potato, a
// target or the exit site that no play from the start reaches (keys, locked doors, slam doors
// and air doors as the rules treat them; laser doors and enemies taken as passable), a missing
// start, exit or potato, a title wider than the start screen's list, and an edge the player or
// an enemy can walk off. rowLines from RowLines.
std::vector<StrictFinding> FindDeadEnds(const ParsedZone& zone, const std::vector<int>& rowLines);

}  // namespace quarn
