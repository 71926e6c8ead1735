// ZoneVariety.h — how much of a zone is copy and paste: 8 × 8 blocks repeated within it, and
// 4 × 4 patterns it shares with other zones.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "zone/Zone.h"

namespace quarn {

// A share as a fraction, so that a limit is judged exactly (a third is no 0.333...).
struct Share {
  int Part = 0;
  int Whole = 0;
  double Percent() const { return Whole > 0 ? 100.0 * Part / Whole : 0.0; }
};

// The zone cut into 8 × 8 blocks from its top-left cell; blocks the right or bottom edge cuts
// are left out, and so are blocks of one tile alone (a stretch of wall or floor is no copy).
// Part: counted blocks equal to another counted block of the zone; Whole: counted blocks.
Share RepeatedBlocks(const ParsedZone& zone);
// Over the limit: more than a third of the counted blocks repeated, once there are three.
bool TooManyRepeatedBlocks(const Share& blocks);

// The distinct 4 × 4 windows of a zone (at every position) that hold two tiles or more, sorted.
using SmallPatterns = std::vector<std::string>;
SmallPatterns SmallPatternsOf(const ParsedZone& zone);
// |a ∩ b| of |a ∪ b|: how many of the patterns the two zones have between them both have; 0 of 0
// when either has none.
Share SharedPatterns(const SmallPatterns& a, const SmallPatterns& b);
// Over the limit: half of their patterns or more.
bool TooManySharedPatterns(const Share& shared);

// The figures of one zone among others.
struct ZoneVariety {
  Share Blocks;              // RepeatedBlocks
  int Closest = -1;          // the index of the zone it shares most patterns with; -1 alone
  Share Shared;              // SharedPatterns with that zone
  bool TooRepetitive() const { return TooManyRepeatedBlocks(Blocks); }
  bool TooSimilar() const { return TooManySharedPatterns(Shared); }
};
// Every zone measured against every other one (each pair once), in the order given.
std::vector<ZoneVariety> MeasureVariety(const std::vector<ParsedZone>& zones);

// Why a zone breaks the limits, in Czech for its author; empty when it keeps them. closest
// names the zone it shares most with.
std::string VarietyFindings(const ZoneVariety& variety, const std::string& closest);

}  // namespace quarn
