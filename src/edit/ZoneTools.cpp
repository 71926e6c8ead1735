// ZoneTools.cpp — the author's tools on a zone: copy and paste, move, mirror and turn, hollow
// rectangles, flood fill, resizing at any edge, and the counts of what the zone holds.
#include <algorithm>
#include <vector>

#include "ZoneModel.h"
#include "zone/Tiles.h"

namespace quarn::edit {
namespace {

// Keys, locked doors and slam doors the strict check can follow (one bit each).
constexpr int CheckedEventCells = 64;

// Erases every mention of a place ("ve sloupci 18"), but not of a longer number ("ve sloupci
// 180").
void EraseMention(std::string& text, const std::string& mention) {
  for (size_t at = text.find(mention); at != std::string::npos; at = text.find(mention, at)) {
    const size_t end = at + mention.size();
    if (end < text.size() && text[end] >= '0' && text[end] <= '9') {
      at = end;
      continue;
    }
    text.erase(at, mention.size());
  }
}

}  // namespace

std::string FindingLine(const Finding& f) {
  if (!f.Where) return f.Message;
  const std::string column = std::to_string(f.Where->X + 1), row = std::to_string(f.Where->Y + 1);
  std::string text = f.Message;
  for (const std::string& mention :
       {" ve sloupci " + column, " (sloupec " + column + ")", " (řádek " + row + ")"}) {
    EraseMention(text, mention);
  }
  // "řádek 8 má 102. nepřítele": the row that leads the message is the place already said.
  if (const std::string lead = "řádek " + row + " ";
      text.rfind(lead, 0) == 0 && text.size() > lead.size()) {
    text.erase(0, lead.size());
  }
  return "sloupec " + column + ", řádek " + row + ": " + text;
}

Area AreaBetween(Cell a, Cell b) {
  return Area{std::min(a.X, b.X), std::min(a.Y, b.Y), std::abs(a.X - b.X) + 1,
              std::abs(a.Y - b.Y) + 1};
}

std::optional<Cell> Piece::Start() const {
  for (int y = 0; y < Height; ++y) {
    const size_t x = Rows[static_cast<size_t>(y)].find('S');
    if (x != std::string::npos) return Cell{static_cast<int>(x), y};
  }
  return std::nullopt;
}

Piece Mirrored(const Piece& piece, Mirror axis) {
  Piece out = piece;
  if (axis == Mirror::LeftRight) {
    for (std::string& row : out.Rows) std::reverse(row.begin(), row.end());
  } else {
    std::reverse(out.Rows.begin(), out.Rows.end());
  }
  return out;
}

Piece Turned(const Piece& piece) {
  Piece out;
  out.Width = piece.Height;
  out.Height = piece.Width;
  out.Rows.assign(static_cast<size_t>(out.Height),
                  std::string(static_cast<size_t>(out.Width), '.'));
  // Clockwise: the piece's bottom-left cell becomes the top-left one.
  for (int y = 0; y < out.Height; ++y) {
    for (int x = 0; x < out.Width; ++x) {
      out.Rows[static_cast<size_t>(y)][static_cast<size_t>(x)] = piece.At(y, piece.Height - 1 - x);
    }
  }
  return out;
}

std::vector<CountLine> DescribeCounts(const ZoneCounts& c) {
  auto n = [](int v) { return std::to_string(v); };
  std::vector<CountLine> lines;
  lines.push_back({"Start: " + n(c.Starts) + ", východ: " + n(c.Exits), c.Starts != 1});
  // Without a potato the exit never opens; without a target no potato can be delivered.
  lines.push_back({"Brambory: " + n(c.Potatoes) + ", cíle: " + n(c.Targets),
                   c.Potatoes == 0 || c.Targets == 0});
  // Each key opens one locked door; the check follows at most 64 of each.
  lines.push_back({"Klíče: " + n(c.Keys) + ", zamčené dveře: " + n(c.LockedDoors),
                   c.Keys > CheckedEventCells || c.LockedDoors > CheckedEventCells});
  lines.push_back({"Zabouchávací dveře: " + n(c.SlamDoors), c.SlamDoors > CheckedEventCells});
  // The game's enemy table holds 101; the game refuses a zone with more.
  lines.push_back({"Nepřátelé: " + n(c.Enemies) + " z " + n(MaxEnemies), c.Enemies > MaxEnemies});
  lines.push_back({"Hromady krabic: " + n(c.BoxStacks) + ", bonusy: " + n(c.Bonuses), false});
  return lines;
}

Area ZoneModel::Clipped(Area a) const {
  const int left = std::max(0, a.X), top = std::max(0, a.Y);
  const int right = std::min(Width(), a.X + a.W), bottom = std::min(Height(), a.Y + a.H);
  if (right <= left || bottom <= top) return Area{};
  return Area{left, top, right - left, bottom - top};
}

bool ZoneModel::PushCells(std::vector<CellChange> cells) {
  if (cells.empty()) return false;
  Step step;
  step.Cells = std::move(cells);
  Push(std::move(step));
  return true;
}

std::optional<std::string> ZoneModel::PushWhole(ZoneSource next) {
  if (next.Width < 1 || next.Height < 1) return "zóna musí mít aspoň jeden sloupec a jeden řádek";
  if (next.Width > MaxBoardWidth)
    return "zóna by byla široká " + std::to_string(next.Width) + " polí, smí nejvýš " +
           std::to_string(MaxBoardWidth);
  if (next.Height > MaxBoardHeight)
    return "zóna by byla vysoká " + std::to_string(next.Height) + " polí, smí nejvýš " +
           std::to_string(MaxBoardHeight);
  if (next == zone_) return std::nullopt;
  // As for the header: refused when the game would not load the result, unless it would not
  // load the zone as it is either.
  const auto after = ParseZoneText(WriteZoneText(next), "");
  if (!after.Ok()) {
    if (ParseZoneText(Text(), "").Ok()) return after.Error().Message;
  }
  ReplaceAsOneStep(std::move(next));
  return std::nullopt;
}

Piece ZoneModel::Copy(Area area) const {
  const Area a = Clipped(area);
  Piece piece{a.W, a.H, {}};
  for (int y = a.Y; y < a.Y + a.H; ++y) {
    piece.Rows.push_back(zone_.Rows[static_cast<size_t>(y)].substr(static_cast<size_t>(a.X),
                                                                   static_cast<size_t>(a.W)));
  }
  return piece;
}

bool ZoneModel::Clear(Area area) {
  if (stroke_) EndStroke();
  const Area a = Clipped(area);
  std::vector<CellChange> cells;
  for (int y = a.Y; y < a.Y + a.H; ++y) {
    for (int x = a.X; x < a.X + a.W; ++x) {
      if (zone_.At(x, y) != '.') Set(x, y, '.', cells);
    }
  }
  return PushCells(std::move(cells));
}

Piece ZoneModel::Cut(Area area) {
  Piece piece = Copy(area);
  Clear(area);
  return piece;
}

void ZoneModel::PasteInto(const Piece& piece, int x0, int y0, std::vector<CellChange>& into) {
  const std::optional<Cell> oldStart = Start();
  std::optional<Cell> placed;
  for (int y = 0; y < piece.Height; ++y) {
    for (int x = 0; x < piece.Width; ++x) {
      const int zx = x0 + x, zy = y0 + y;
      if (!Inside(zx, zy)) continue;
      char c = piece.At(x, y);
      if (!IsTileCharacter(c)) c = '.';
      // One start only: a second one in the piece stays floor.
      if (c == 'S') {
        if (placed)
          c = '.';
        else
          placed = Cell{zx, zy};
      }
      if (zone_.At(zx, zy) != c) Set(zx, zy, c, into);
    }
  }
  // The start moves to the piece's: the old one becomes floor unless the piece covered it.
  if (placed && oldStart && !(*oldStart == *placed) && zone_.At(oldStart->X, oldStart->Y) == 'S') {
    Set(oldStart->X, oldStart->Y, '.', into);
  }
}

bool ZoneModel::Paste(const Piece& piece, int x, int y) {
  if (stroke_) EndStroke();
  std::vector<CellChange> cells;
  PasteInto(piece, x, y, cells);
  return PushCells(std::move(cells));
}

bool ZoneModel::Move(Area area, int dx, int dy) {
  if (stroke_) EndStroke();
  const Area a = Clipped(area);
  if (a.Empty() || (dx == 0 && dy == 0)) return false;
  const Piece piece = Copy(a);
  std::vector<CellChange> cells;
  for (int y = a.Y; y < a.Y + a.H; ++y) {
    for (int x = a.X; x < a.X + a.W; ++x) {
      if (zone_.At(x, y) != '.') Set(x, y, '.', cells);
    }
  }
  PasteInto(piece, a.X + dx, a.Y + dy, cells);
  return PushCells(std::move(cells));
}

bool ZoneModel::MirrorArea(Area area, Mirror axis) {
  if (stroke_) EndStroke();
  const Area a = area.Empty() ? Area{0, 0, Width(), Height()} : Clipped(area);
  if (a.Empty()) return false;
  std::vector<CellChange> cells;
  PasteInto(Mirrored(Copy(a), axis), a.X, a.Y, cells);
  return PushCells(std::move(cells));
}

std::optional<std::string> ZoneModel::TurnArea(Area area) {
  if (stroke_) EndStroke();
  if (area.Empty()) {
    const Piece turned = Turned(Copy(Area{0, 0, Width(), Height()}));
    ZoneSource next = zone_;
    next.Width = turned.Width;
    next.Height = turned.Height;
    next.Rows = turned.Rows;
    return PushWhole(std::move(next));
  }
  const Area a = Clipped(area);
  if (a.Empty()) return std::nullopt;
  const Piece turned = Turned(Copy(a));
  std::vector<CellChange> cells;
  for (int y = a.Y; y < a.Y + a.H; ++y) {
    for (int x = a.X; x < a.X + a.W; ++x) {
      if (zone_.At(x, y) != '.') Set(x, y, '.', cells);
    }
  }
  PasteInto(turned, a.X, a.Y, cells);
  PushCells(std::move(cells));
  return std::nullopt;
}

bool ZoneModel::Hollow(int x0, int y0, int x1, int y1, char c) {
  if (stroke_) EndStroke();
  std::vector<CellChange> cells;
  if (c == 'S') {
    PaintInto(x0, y0, c, cells);
    return PushCells(std::move(cells));
  }
  const Area a = Clipped(AreaBetween(Cell{x0, y0}, Cell{x1, y1}));
  const Area full = AreaBetween(Cell{x0, y0}, Cell{x1, y1});
  for (int y = a.Y; y < a.Y + a.H; ++y) {
    for (int x = a.X; x < a.X + a.W; ++x) {
      // The frame is the rectangle's own edge, even where the zone cuts the rectangle off.
      const bool edge =
          x == full.X || y == full.Y || x == full.X + full.W - 1 || y == full.Y + full.H - 1;
      if (edge) PaintInto(x, y, c, cells);
    }
  }
  return PushCells(std::move(cells));
}

bool ZoneModel::FloodFill(int x, int y, char c) {
  if (stroke_) EndStroke();
  if (!Inside(x, y) || !IsTileCharacter(c) || zone_.At(x, y) == c) return false;
  std::vector<CellChange> cells;
  if (c == 'S') {
    PaintInto(x, y, c, cells);
    return PushCells(std::move(cells));
  }
  const char from = zone_.At(x, y);
  std::vector<Cell> todo{Cell{x, y}};
  Set(x, y, c, cells);
  // Every cell is set when it is first seen, so none is queued twice.
  while (!todo.empty()) {
    const Cell here = todo.back();
    todo.pop_back();
    const Cell next[4] = {
        {here.X - 1, here.Y}, {here.X + 1, here.Y}, {here.X, here.Y - 1}, {here.X, here.Y + 1}};
    for (const Cell& n : next) {
      if (!Inside(n.X, n.Y) || zone_.At(n.X, n.Y) != from) continue;
      Set(n.X, n.Y, c, cells);
      todo.push_back(n);
    }
  }
  return PushCells(std::move(cells));
}

std::optional<std::string> ZoneModel::ResizeEdges(int left, int top, int right, int bottom) {
  if (stroke_) EndStroke();
  ZoneSource next = zone_;
  next.Width = Width() + left + right;
  next.Height = Height() + top + bottom;
  if (next.Width < 1 || next.Height < 1 || next.Width > MaxBoardWidth ||
      next.Height > MaxBoardHeight) {
    return PushWhole(std::move(next));  // refused with the size it would have
  }
  next.Rows.assign(static_cast<size_t>(next.Height),
                   std::string(static_cast<size_t>(next.Width), '.'));
  for (int y = 0; y < Height(); ++y) {
    for (int x = 0; x < Width(); ++x) {
      const int nx = x + left, ny = y + top;
      if (nx >= 0 && ny >= 0 && nx < next.Width && ny < next.Height) {
        next.Rows[static_cast<size_t>(ny)][static_cast<size_t>(nx)] = zone_.At(x, y);
      }
    }
  }
  return PushWhole(std::move(next));
}

bool ZoneModel::Shift(int dx, int dy) {
  if (stroke_) EndStroke();
  if (dx == 0 && dy == 0) return false;
  std::vector<CellChange> cells;
  const Piece all = Copy(Area{0, 0, Width(), Height()});
  for (int y = 0; y < Height(); ++y) {
    for (int x = 0; x < Width(); ++x) {
      const int fx = x - dx, fy = y - dy;
      const char c = fx >= 0 && fy >= 0 && fx < Width() && fy < Height() ? all.At(fx, fy) : '.';
      if (zone_.At(x, y) != c) Set(x, y, c, cells);
    }
  }
  return PushCells(std::move(cells));
}

ZoneCounts ZoneModel::Counts() const {
  ZoneCounts c;
  for (const std::string& row : zone_.Rows) {
    for (const char ch : row) {
      switch (ch) {
        case 'S':
          ++c.Starts;
          break;
        case 'E':
          ++c.Exits;
          break;
        case 'R':
          ++c.Potatoes;
          break;
        case 'C':
          ++c.Targets;
          break;
        case 'K':
          ++c.Keys;
          break;
        case 'D':
          ++c.LockedDoors;
          break;
        case 'Q':
          ++c.SlamDoors;
          break;
        case '+':
        case '-':
        case '*':
          ++c.Enemies;
          break;
        case 'B':
          ++c.BoxStacks;
          break;
        case 'T':
          ++c.Bonuses;
          break;
        default:
          break;
      }
    }
  }
  return c;
}

std::optional<std::string> ZoneModel::TextStartingAt(int x, int y) const {
  if (!Inside(x, y) || (zone_.At(x, y) != '.' && zone_.At(x, y) != 'S')) return std::nullopt;
  ZoneSource played = zone_;
  for (std::string& row : played.Rows) std::replace(row.begin(), row.end(), 'S', '.');
  played.Rows[static_cast<size_t>(y)][static_cast<size_t>(x)] = 'S';
  return WriteZoneText(played);
}

}  // namespace quarn::edit
