// ZoneVariety.cpp — repeated blocks within a zone and small patterns shared between zones.
#include "ZoneVariety.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <sstream>

namespace quarn {
namespace {

constexpr int BlockSide = 8;
constexpr int PatternSide = 4;

// The tile a cell counts as: its code as the loader writes it ("O" and "?" are both air doors,
// "E" is the wall it stays until the exit opens, an unknown character is floor), except that
// - the start and the enemies count as the floor they stand on: they are figures, not the build
//   of the board. An enemy leaves its cell in its first steps, a guard moved to another corner of
//   a pasted room leaves the room as much a copy as it was, and the one start of a zone would
//   only make its block unlike the copies around it;
// - a laser door counts as its group whether it starts open or closed: that is the header's
//   pattern, the same for every door of the group, not the layout.
char VarietyTile(int16_t code) {
  switch (code) {
    case tile::Start:
    case tile::Enemy1:
    case tile::Enemy2:
    case tile::Enemy3:
      return static_cast<char>(tile::Space);
    case tile::LaserOpenA:
    case tile::LaserOpenB:
    case tile::LaserOpenC:
      return static_cast<char>(code - tile::LaserOpenA + tile::LaserA);
    default:
      return static_cast<char>(code);
  }
}

// The side × side square of tiles whose top-left cell is (x, y), row after row.
std::string Square(const ParsedZone& zone, int x, int y, int side) {
  std::string out;
  out.reserve(static_cast<size_t>(side * side));
  for (int dy = 0; dy < side; ++dy) {
    for (int dx = 0; dx < side; ++dx) out += VarietyTile(zone.CodeAt(x + dx, y + dy));
  }
  return out;
}

bool OneTile(const std::string& square) {
  return square.find_first_not_of(square.front()) == std::string::npos;
}

// "3/4 (75,0 %)", with the Czech decimal comma.
std::string Figures(const Share& share) {
  std::ostringstream out;
  out.setf(std::ios::fixed);
  out.precision(1);
  out << share.Percent();
  std::string percent = out.str();
  std::replace(percent.begin(), percent.end(), '.', ',');
  return std::to_string(share.Part) + "/" + std::to_string(share.Whole) + " (" + percent + " %)";
}

}  // namespace

Share RepeatedBlocks(const ParsedZone& zone) {
  std::map<std::string, int> seen;
  Share share;
  for (int y = 0; y + BlockSide <= zone.Height; y += BlockSide) {
    for (int x = 0; x + BlockSide <= zone.Width; x += BlockSide) {
      std::string block = Square(zone, x, y, BlockSide);
      if (OneTile(block)) continue;
      ++seen[std::move(block)];
      ++share.Whole;
    }
  }
  for (const auto& [block, times] : seen) {
    if (times > 1) share.Part += times;
  }
  return share;
}

bool TooManyRepeatedBlocks(const Share& blocks) {
  return blocks.Whole >= 3 && 3 * blocks.Part > blocks.Whole;
}

SmallPatterns SmallPatternsOf(const ParsedZone& zone) {
  SmallPatterns patterns;
  for (int y = 0; y + PatternSide <= zone.Height; ++y) {
    for (int x = 0; x + PatternSide <= zone.Width; ++x) {
      std::string window = Square(zone, x, y, PatternSide);
      if (!OneTile(window)) patterns.push_back(std::move(window));
    }
  }
  std::sort(patterns.begin(), patterns.end());
  patterns.erase(std::unique(patterns.begin(), patterns.end()), patterns.end());
  return patterns;
}

Share SharedPatterns(const SmallPatterns& a, const SmallPatterns& b) {
  if (a.empty() || b.empty()) return {};
  SmallPatterns common;
  std::set_intersection(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(common));
  // Of all the patterns the two have between them: a small walled zone shares its plain edges
  // with nearly any zone, so a share of the smaller zone's patterns alone would call it a copy.
  const int both = static_cast<int>(a.size() + b.size() - common.size());
  return Share{static_cast<int>(common.size()), both};
}

bool TooManySharedPatterns(const Share& shared) {
  return shared.Whole > 0 && 2 * shared.Part >= shared.Whole;
}

std::vector<ZoneVariety> MeasureVariety(const std::vector<ParsedZone>& zones) {
  std::vector<ZoneVariety> out(zones.size());
  std::vector<SmallPatterns> patterns;
  for (size_t i = 0; i < zones.size(); ++i) {
    out[i].Blocks = RepeatedBlocks(zones[i]);
    patterns.push_back(SmallPatternsOf(zones[i]));
  }
  // The share is the same both ways, so each pair is measured once and kept for both zones.
  auto keep = [&](size_t zone, size_t other, const Share& shared) {
    ZoneVariety& v = out[zone];
    if (v.Closest < 0 || int64_t{shared.Part} * v.Shared.Whole > int64_t{v.Shared.Part} * shared.Whole) {
      v.Closest = static_cast<int>(other);
      v.Shared = shared;
    }
  };
  for (size_t i = 0; i < zones.size(); ++i) {
    for (size_t j = i + 1; j < zones.size(); ++j) {
      const Share shared = SharedPatterns(patterns[i], patterns[j]);
      keep(i, j, shared);
      keep(j, i, shared);
    }
  }
  return out;
}

std::string VarietyFindings(const ZoneVariety& variety, const std::string& closest) {
  std::string out;
  if (variety.TooRepetitive()) {
    out = "opakované bloky 8 × 8: " + Figures(variety.Blocks) +
          ", opakovat se smí nejvýš třetina";
  }
  if (variety.TooSimilar()) {
    if (!out.empty()) out += "; ";
    out += "vzorky 4 × 4 společné se zónou " + closest + ": " + Figures(variety.Shared) +
           ", společných smí být méně než polovina";
  }
  return out;
}

}  // namespace quarn
