// ZoneCheck.cpp — the strict zone check: a reachability analysis over keys, locked doors, slam
// doors and air doors, and a test that no figure can walk off the edge of the zone.
#include "ZoneCheck.h"

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <tuple>

#include "TitleWidth.h"
#include "zone/Tiles.h"

namespace quarn {
namespace {

constexpr int HeaderFields = 10;  // title, width, height, four step counts, three laser patterns
constexpr size_t MaxEventCells = 64;  // keys, locked doors and slam doors each fit one bit mask
constexpr size_t MaxCombinations = 4096;

// What the player has changed on the board, as far as it changes where he can go. Potatoes, time
// bonuses and air doors never stop him, so only these count.
struct Situation {
  uint64_t KeysTaken = 0;
  uint64_t DoorsOpened = 0;
  uint64_t SlamsShut = 0;
  bool HasKey = false;
  // The key in hand is the one followed (DoorsOpenedBy); always false when none is.
  bool HoldsFollowed = false;
  auto Tie() const { return std::tie(KeysTaken, DoorsOpened, SlamsShut, HasKey, HoldsFollowed); }
  bool operator<(const Situation& o) const { return Tie() < o.Tie(); }
  bool operator==(const Situation& o) const { return Tie() == o.Tie(); }
};

constexpr int DX[4] = {-1, 0, 1, 0};
constexpr int DY[4] = {0, -1, 0, 1};

class Analysis {
 public:
  // followedKey: the cell of a key whose doors are to be told apart (-1: none).
  explicit Analysis(const ParsedZone& zone, int followedKey = -1)
      : zone_(zone), bit_(Cells(), -1), followed_(followedKey) {
    for (int i = 0; i < Cells(); ++i) {
      const int code = zone.Codes[static_cast<size_t>(i)];
      if (code == tile::DoorKey) bit_[i] = static_cast<int>(keys_++);
      if (code == tile::LockedDoor) bit_[i] = static_cast<int>(doors_++);
      if (code == tile::SlamDoor) bit_[i] = static_cast<int>(slams_++);
    }
  }

  // Why the analysis cannot run on this zone; none when it can.
  std::optional<std::string> Refusal() const {
    if (keys_ > MaxEventCells || doors_ > MaxEventCells || slams_ > MaxEventCells) {
      return "zóna má víc než 64 klíčů, zamčených dveří nebo zabouchávacích dveří; "
             "dosažitelnost nelze prověřit";
    }
    return std::nullopt;
  }

  // Walks every play from the start: each (cell, situation) pair once. False when the zone has
  // too many situations to walk them all.
  bool Run(int startX, int startY) {
    reached_.assign(static_cast<size_t>(Cells()), false);
    openedByFollowed_.assign(static_cast<size_t>(Cells()), false);
    Visit(Index(startX, startY), Situation{});
    while (!queue_.empty()) {
      const auto [cell, combo] = queue_.front();
      queue_.pop_front();
      const Situation here = situations_[combo];
      for (int d = 0; d < 4; ++d) {
        const int nx = cell % zone_.Width + DX[d], ny = cell / zone_.Width + DY[d];
        if (!Inside(nx, ny)) continue;  // walking off the board is the edge test's business
        Situation next = here;
        // A slam door shuts once the player has stepped out of it, whichever way he leaves.
        if (Code(cell) == tile::SlamDoor) next.SlamsShut |= Bit(cell);
        // Most steps change nothing that counts; those skip the look-up of their situation,
        // which would otherwise cost more than the whole walk on a zone of many slam doors.
        if (Enter(Index(nx, ny), next)) {
          Visit(Index(nx, ny), next, next == here ? std::optional<size_t>(combo) : std::nullopt);
        }
      }
      if (situations_.size() > MaxCombinations) return false;
    }
    return true;
  }

  bool Reached(int x, int y) const { return Inside(x, y) && reached_[Index(x, y)]; }
  const std::vector<bool>& ReachedCells() const { return reached_; }
  const std::vector<bool>& OpenedByFollowed() const { return openedByFollowed_; }
  bool NextToReached(int x, int y) const {
    for (int d = 0; d < 4; ++d) {
      if (Reached(x + DX[d], y + DY[d])) return true;
    }
    return false;
  }

  // The cells an enemy could ever walk on from its start: floor, and whatever the player can
  // clear (a potato, key, time bonus, air door or locked door he reaches).
  std::vector<bool> EnemyReach(int startX, int startY) const {
    std::vector<bool> seen(static_cast<size_t>(Cells()), false);
    std::deque<int> todo{Index(startX, startY)};
    seen[Index(startX, startY)] = true;
    while (!todo.empty()) {
      const int cell = todo.front();
      todo.pop_front();
      for (int d = 0; d < 4; ++d) {
        const int nx = cell % zone_.Width + DX[d], ny = cell / zone_.Width + DY[d];
        if (!Inside(nx, ny) || seen[Index(nx, ny)] || !EnemyMayEnter(nx, ny)) continue;
        seen[Index(nx, ny)] = true;
        todo.push_back(Index(nx, ny));
      }
    }
    return seen;
  }

  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < zone_.Width && y < zone_.Height; }
  int Index(int x, int y) const { return y * zone_.Width + x; }

 private:
  int Cells() const { return zone_.Width * zone_.Height; }
  int Code(int cell) const { return zone_.Codes[static_cast<size_t>(cell)]; }
  uint64_t Bit(int cell) const { return uint64_t{1} << bit_[cell]; }

  // Whether the player may step into the cell in this situation, and what it does to it.
  bool Enter(int cell, Situation& s) const {
    switch (Code(cell)) {
      case tile::Wall:  // also the exit site, which is entered only to win
      case tile::Target:
      case tile::Boxes:
        return false;
      case tile::SlamDoor:
        return (s.SlamsShut & Bit(cell)) == 0;
      case tile::DoorKey:
        // A key is taken whenever the player walks over it; holding one already, it is wasted.
        if ((s.KeysTaken & Bit(cell)) == 0) {
          s.KeysTaken |= Bit(cell);
          if (!s.HasKey) s.HoldsFollowed = cell == followed_;
          s.HasKey = true;
        }
        return true;
      case tile::LockedDoor:
        if (s.DoorsOpened & Bit(cell)) return true;
        if (!s.HasKey) return false;
        s.DoorsOpened |= Bit(cell);
        if (s.HoldsFollowed) openedByFollowed_[static_cast<size_t>(cell)] = true;
        s.HasKey = false;
        s.HoldsFollowed = false;
        return true;
      default:
        return true;  // floor, items, air doors, laser doors and enemies
    }
  }

  bool EnemyMayEnter(int x, int y) const {
    switch (Code(Index(x, y))) {
      case tile::Space:
      case tile::Start:
      case tile::Enemy1:
      case tile::Enemy2:
      case tile::Enemy3:
        return true;
      case tile::AirDoor:
      case tile::HotPotato:
      case tile::DoorKey:
      case tile::LockedDoor:
      case tile::Time:
        return Reached(x, y);
      default:
        return false;
    }
  }

  // known: the situation's index when the caller has it already.
  void Visit(int cell, const Situation& s, std::optional<size_t> known = std::nullopt) {
    size_t combo = 0;
    if (known) {
      combo = *known;
    } else {
      auto [it, added] = combos_.try_emplace(s, situations_.size());
      if (added) {
        situations_.push_back(s);
        seen_.emplace_back(static_cast<size_t>(Cells()), false);
      }
      combo = it->second;
    }
    std::vector<bool>& seen = seen_[combo];
    if (seen[static_cast<size_t>(cell)]) return;
    seen[static_cast<size_t>(cell)] = true;
    reached_[static_cast<size_t>(cell)] = true;
    queue_.emplace_back(cell, combo);
  }

  const ParsedZone& zone_;
  std::vector<int> bit_;  // a key's, locked door's or slam door's bit in its mask
  size_t keys_ = 0, doors_ = 0, slams_ = 0;
  std::map<Situation, size_t> combos_;
  std::vector<Situation> situations_;
  std::vector<std::vector<bool>> seen_;  // per situation, the cells walked in it
  std::deque<std::pair<int, size_t>> queue_;
  std::vector<bool> reached_;  // cells the player stands on in some play
  int followed_ = -1;
  mutable std::vector<bool> openedByFollowed_;  // doors opened with the followed key in hand
};

bool OnEdge(const ParsedZone& zone, int x, int y) {
  return x == 0 || y == 0 || x == zone.Width - 1 || y == zone.Height - 1;
}

std::string Column(int x) { return "ve sloupci " + std::to_string(x + 1); }

}  // namespace

std::vector<int> RowLines(std::string_view text, int height) {
  // The loader's field syntax, kept only for line numbers: a field ends at a comma or a line end,
  // a field opening with a double quote runs to the next one, and a comma at a line's end does
  // not start another field on that line.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::vector<int> fieldLines;
  int line = 1;
  size_t i = 0;
  const size_t n = text.size();
  auto atLineEnd = [&](size_t k) { return k >= n || text[k] == '\n' || text[k] == '\r'; };
  auto passLineEnd = [&] {
    if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
    ++i;
    ++line;
  };
  while (i < n && static_cast<int>(fieldLines.size()) < HeaderFields + height) {
    while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
    fieldLines.push_back(line);
    if (i < n && text[i] == '"') {
      const size_t close = text.find('"', i + 1);
      const size_t end = close == std::string_view::npos ? n : close;
      for (size_t k = i + 1; k < end; ++k) line += text[k] == '\n' ? 1 : 0;
      i = close == std::string_view::npos ? n : close + 1;
    }
    while (!atLineEnd(i) && text[i] != ',') ++i;
    if (i >= n) break;
    if (text[i] == ',') {
      ++i;
      if (i < n && atLineEnd(i)) passLineEnd();
    } else {
      passLineEnd();
    }
  }
  std::vector<int> rows;
  for (int y = 0; y < height; ++y) {
    const size_t f = static_cast<size_t>(HeaderFields + y);
    rows.push_back(f < fieldLines.size() ? fieldLines[f] : line);
  }
  return rows;
}

ZoneReach ReachableCells(const ParsedZone& zone, std::optional<std::pair<int, int>> key) {
  ZoneReach out;
  if (!zone.Start) {
    out.Why = "zóna nemá start (S)";
    return out;
  }
  const int followed = key ? key->second * zone.Width + key->first : -1;
  Analysis reach(zone, followed);
  if (auto why = reach.Refusal()) {
    out.Why = *why;
    return out;
  }
  if (!reach.Run(zone.Start->first, zone.Start->second)) {
    out.Why = "zóna má příliš mnoho kombinací klíčů a dveří; dosažitelnost nelze prověřit";
    return out;
  }
  out.Cells = reach.ReachedCells();
  out.OpenedByKey = reach.OpenedByFollowed();
  return out;
}

std::vector<StrictFinding> FindDeadEnds(const ParsedZone& zone, const std::vector<int>& rowLines) {
  std::vector<StrictFinding> found;
  auto lineOf = [&](int y) { return rowLines[static_cast<size_t>(y)]; };
  const int firstRow = lineOf(0);
  // The title is the first field, on the file's first line; the start screen cuts a wider one.
  if (ListTitleWidth(zone.Title) > ListTitleRoom) {
    found.push_back({1, "název zóny je na seznam zón příliš dlouhý (" +
                            std::to_string(ListTitleWidth(zone.Title)) + " bodů, vejde se " +
                            std::to_string(ListTitleRoom) + "); bude v seznamu useknutý"});
  }
  if (!zone.Start) found.push_back({firstRow, "zóna nemá start (S)"});
  if (!zone.Exit) found.push_back({firstRow, "zóna nemá místo východu (E), východ by se otevřel v rohu zóny"});
  if (zone.Potatoes == 0) {
    found.push_back({firstRow, "zóna nemá žádný horký brambor (R), takže se východ nikdy neotevře"});
  }
  if (!zone.Start) return found;

  Analysis reach(zone);
  if (auto why = reach.Refusal()) {
    found.push_back({firstRow, *why});
    return found;
  }
  if (!reach.Run(zone.Start->first, zone.Start->second)) {
    found.push_back({firstRow, "zóna má příliš mnoho kombinací klíčů a dveří; dosažitelnost nelze prověřit"});
    return found;
  }

  bool anyTarget = false;
  for (int y = 0; y < zone.Height; ++y) {
    for (int x = 0; x < zone.Width; ++x) {
      const int code = zone.CodeAt(x, y);
      if (code == tile::HotPotato && !reach.Reached(x, y)) {
        found.push_back({lineOf(y), "horký brambor " + Column(x) + " je ze startu nedosažitelný",
                         x + 1, y + 1});
      }
      if (code == tile::Target) {
        anyTarget = true;
        if (!reach.NextToReached(x, y)) {
          found.push_back(
              {lineOf(y), "k cíli " + Column(x) + " se ze startu nelze dostat", x + 1, y + 1});
        }
      }
      if (OnEdge(zone, x, y) && reach.Reached(x, y)) {
        found.push_back({lineOf(y),
                         "okraj zóny není uzavřen: hráč může " + Column(x) + " odejít ze zóny",
                         x + 1, y + 1});
      }
    }
  }
  if (!anyTarget && zone.Potatoes > 0) {
    found.push_back({firstRow, "zóna nemá žádný cíl (C), brambory nelze doručit"});
  }
  if (zone.Exit && !reach.NextToReached(zone.Exit->first, zone.Exit->second)) {
    found.push_back({lineOf(zone.Exit->second),
                     "k místu východu " + Column(zone.Exit->first) + " se ze startu nelze dostat",
                     zone.Exit->first + 1, zone.Exit->second + 1});
  }

  std::vector<bool> enemyReport(static_cast<size_t>(zone.Width * zone.Height), false);
  for (const ZoneEnemy& enemy : zone.Enemies) {
    const std::vector<bool> walk = reach.EnemyReach(enemy.X, enemy.Y);
    for (int y = 0; y < zone.Height; ++y) {
      for (int x = 0; x < zone.Width; ++x) {
        const size_t i = static_cast<size_t>(reach.Index(x, y));
        if (!walk[i] || !OnEdge(zone, x, y) || enemyReport[i]) continue;
        enemyReport[i] = true;
        found.push_back({lineOf(y),
                         "okraj zóny není uzavřen: nepřítel může " + Column(x) + " odejít ze zóny",
                         x + 1, y + 1});
      }
    }
  }
  return found;
}

}  // namespace quarn
