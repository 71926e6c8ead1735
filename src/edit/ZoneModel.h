// ZoneModel.h — a zone being edited: its cells and header, undoable changes, checking, saving.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "zone/Zone.h"
#include "zone/ZoneWriter.h"
#include "system/FileStamp.h"

namespace quarn::edit {

// One tile the palette offers: the character painted into the zone, its Czech name and the tile
// code whose picture shows it (the game's picture slot of that number).
struct PaletteEntry {
  char Character;
  const char* Name;
  int16_t Picture;
};
// Every tile an author can paint, in the palette's order (floor first).
const std::vector<PaletteEntry>& Palette();
// The palette entry of a character; the floor's for a character the palette does not hold.
const PaletteEntry& PaletteEntryOf(char c);

// A cell of the zone, from 0 at the top-left one.
struct Cell {
  int X = 0;
  int Y = 0;
  bool operator==(const Cell&) const = default;
};

// What the check found: the loader's refusal or one strict finding, with the cell it concerns
// when there is one.
struct Finding {
  std::string Message;        // Czech, as quarn-zone check --strict words it
  std::optional<Cell> Where;  // shown to the author as column X + 1, row Y + 1
  bool Refused = false;       // the loader would not load the zone at all
};
// A finding as the editor lists it: its place first ("sloupec 18, řádek 8: "), and the message
// without naming that column or row again; a finding without a place is its message.
std::string FindingLine(const Finding& finding);

// The header fields in file order.
enum class HeaderField {
  Title,
  Width,
  Height,
  PlayerSteps,
  EnemySteps1,
  EnemySteps2,
  EnemySteps3,
  LaserA,
  LaserB,
  LaserC,
};
inline constexpr int HeaderFieldCount = 10;

// A rectangle of cells: its top-left cell and its size in cells.
struct Area {
  int X = 0, Y = 0, W = 0, H = 0;
  bool Empty() const { return W <= 0 || H <= 0; }
  bool Contains(int x, int y) const { return x >= X && y >= Y && x < X + W && y < Y + H; }
  bool operator==(const Area&) const = default;
};
// The area with these two cells as opposite corners, in either order.
Area AreaBetween(Cell a, Cell b);

// Cells copied out of a zone (the editor's clipboard): Height rows of Width tile characters.
struct Piece {
  int Width = 0, Height = 0;
  std::vector<std::string> Rows;
  bool Empty() const { return Width <= 0 || Height <= 0; }
  char At(int x, int y) const { return Rows[static_cast<size_t>(y)][static_cast<size_t>(x)]; }
  // The piece's start, when it holds one.
  std::optional<Cell> Start() const;
  bool operator==(const Piece&) const = default;
};

enum class Mirror { LeftRight, UpDown };
Piece Mirrored(const Piece& piece, Mirror axis);
// A quarter turn clockwise: Width and Height swap.
Piece Turned(const Piece& piece);

// How many of each thing a zone holds, against what the game allows.
struct ZoneCounts {
  int Starts = 0, Exits = 0, Potatoes = 0, Targets = 0, Keys = 0, LockedDoors = 0, SlamDoors = 0,
      Enemies = 0, BoxStacks = 0, Bonuses = 0;
};
// One line of the counts as the editor shows it (Czech); Broken when the count breaks a limit of
// the game or of the check (shown in red).
struct CountLine {
  std::string Text;
  bool Broken = false;
};
std::vector<CountLine> DescribeCounts(const ZoneCounts& counts);

// Where a save went.
struct SaveResult {
  std::optional<std::filesystem::path> SavedTo;  // nothing when the save failed
  bool Copy = false;    // the file could not be written, so a copy went to the player's zones
  bool Written = true;  // false: nothing had changed since the file was read, nothing was written
  std::string Error;    // Czech, when the save failed
};

// The folders the model writes to besides a zone's own file, handed over by whoever opens the
// editor; the model looks none up itself.
struct ZoneFolders {
  // The player's zone folder: copies of zones that cannot be written where they are, and new
  // zones. Empty: the player has none (it was refused), and neither can be saved.
  std::filesystem::path Copies;
  // Zones in these folders are never written over (the shipped zones).
  std::vector<std::filesystem::path> Protected;
  // Folders refused as not the player's own: no zone in them is read or written.
  std::vector<std::filesystem::path> Refused;
};

// The name a new zone is saved under in the player's zone folder (numbered when taken).
inline constexpr const char* NewZoneName = "nova-zona.qrn";

class ZoneModel {
 public:
  // A new zone: 20 x 12, walls around, a start, title "Nová zóna", no file yet.
  explicit ZoneModel(ZoneFolders folders = {});

  // Replaces everything with a new zone that will be saved to path (none: asked on saving).
  void New(std::filesystem::path path = {});
  // Reads a zone file; on the loader's error the model is left as it was. A zone that breaks a
  // limit of the game only (ZoneLimits::Editor) is read, and the limit is its first finding. The
  // file's identity (stamp and bytes) is remembered, to tell a change by another program.
  std::optional<ZoneError> Load(const std::filesystem::path& path);
  // Takes zone text kept from an earlier session (a recovery copy) as one change to the zone as it
  // is, so that it is unsaved and undo goes back to the file. The loader's message when the text
  // is no zone.
  std::optional<std::string> Restore(std::string_view text);
  // Writes the zone to its file (see Save(path)); a new zone without a file goes to the player's
  // zone folder under the first free NewZoneName. Nothing is written when nothing changed since
  // the file was read or saved and the file is still as it was then.
  SaveResult Save();
  // Writes the zone to path in the canonical form, safely (system::WriteWhole: a temporary file,
  // synced, renamed; through a symbolic link to its file). A file the player may not write, or
  // one in a protected folder (the shipped zones), is never written: a copy goes to the player's
  // zone folder under a free name (system::OwnCopy), and that copy becomes the file being edited.
  SaveResult Save(const std::filesystem::path& path);
  // Save as: writes the zone to path, which becomes the file being edited. Never into a refused
  // or protected folder; over a file already there only with overwrite (the author was asked),
  // else the save fails rather than replace a file that appeared meanwhile.
  SaveResult SaveAs(const std::filesystem::path& path, bool overwrite);
  // Puts the zone among the player's zones (the start screen lists them): a copy of it as it is
  // now in the player's zone folder, named after its file by system::CopyName and never written
  // over a file there (one holding the very zone already is taken as the copy). The copy becomes
  // the file being edited. A zone already there is left where it is (Written false).
  SaveResult PutIntoOwnZones();
  // Whether the zone lies in the player's zone folder.
  bool AmongOwnZones() const;
  // Whether Save() has a place to write the zone: its file, or the player's zone folder.
  bool HasPlace() const { return !path_.empty() || !folders_.Copies.empty(); }

  // Whether the zone's file was changed by another program since it was read or saved here (a
  // file only touched, or gone, counts as unchanged).
  bool ChangedOnDisk();
  void SetFolders(ZoneFolders folders) { folders_ = std::move(folders); }
  const ZoneFolders& Folders() const { return folders_; }
  // The sentence saying why path lies in a refused folder; empty when it does not.
  std::string RefusedFolder(const std::filesystem::path& path) const;

  const std::filesystem::path& Path() const { return path_; }
  const ZoneSource& Source() const { return zone_; }
  int Width() const { return zone_.Width; }
  int Height() const { return zone_.Height; }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < Width() && y < Height(); }
  // The character of a cell ("." outside the zone).
  char At(int x, int y) const;
  // The start's cell, when the zone has one.
  std::optional<Cell> Start() const;

  // Paints one cell; outside a stroke it is an undo step of its own. "S" moves the start there.
  // False when nothing changed (outside the zone, same character, not a tile character).
  bool Paint(int x, int y, char c);
  // Cells painted between these two form one undo step.
  void BeginStroke();
  void EndStroke();
  bool InStroke() const { return stroke_.has_value(); }
  // Paints every cell of the rectangle with corners (x0, y0) and (x1, y1), clipped to the zone,
  // as one undo step. A start fills only the first corner.
  bool Fill(int x0, int y0, int x1, int y1, char c);
  // New size, keeping the cells that fit; new cells are floor. One undo step.
  std::optional<std::string> Resize(int width, int height);

  // The author's tools. Each change is one undo step and false (or a Czech refusal) when nothing
  // changed. Areas are clipped to the zone. The start is never doubled: a start put down by a
  // tool moves it there, as painting one does.
  // Every cell of the area as it is.
  Piece Copy(Area area) const;
  // The area becomes floor.
  bool Clear(Area area);
  // Copy, then Clear.
  Piece Cut(Area area);
  // The piece with its top-left cell at (x, y); what falls outside the zone is left out.
  bool Paste(const Piece& piece, int x, int y);
  // The area's cells move by (dx, dy); the cells they leave become floor.
  bool Move(Area area, int dx, int dy);
  // Mirrors the area in place; a whole zone when the area is empty.
  bool MirrorArea(Area area, Mirror axis);
  // Turns the area a quarter clockwise about its top-left cell: the turned piece stands there,
  // the rest of the area becomes floor. An empty area turns the whole zone, whose width and
  // height swap (refused when the turned zone would be larger than the game allows).
  std::optional<std::string> TurnArea(Area area);
  // Walls (or any tile) around the rectangle with these corners; the inside stays as it is.
  bool Hollow(int x0, int y0, int x1, int y1, char c);
  // The cells of the same tile as (x, y) that it reaches through their sides become c.
  bool FloodFill(int x, int y, char c);
  // Grows the zone by this many cells at each edge (a negative number cuts there); the content
  // keeps its place on the board.
  std::optional<std::string> ResizeEdges(int left, int top, int right, int bottom);
  // Moves everything by (dx, dy) whole cells at the same size: what leaves the zone is lost, the
  // cells left behind are floor.
  bool Shift(int dx, int dy);
  ZoneCounts Counts() const;
  // The zone's text with the start moved to (x, y) for one test-play; none unless that cell is
  // floor or the start.
  std::optional<std::string> TextStartingAt(int x, int y) const;

  // The text of a header field as the form shows it.
  std::string Field(HeaderField field) const;
  // Sets a header field from the form's text. Refused with the loader's Czech message when the
  // loader would not read the zone with it (a width or height changes the size, see Resize).
  std::optional<std::string> SetField(HeaderField field, std::string_view text);

  // The notes after the last row, byte for byte as the file holds them.
  const std::string& Notes() const { return zone_.Notes; }
  // New notes, as one undo step; false when they are the same.
  bool SetNotes(std::string_view notes);

  // The author's selection goes with the history: each change keeps the selection from before
  // it and the one set after it, and Undo and Redo put that back with the cells. Setting it is
  // no change of its own (nothing to save).
  const std::optional<Area>& Selection() const { return selection_; }
  void SetSelection(std::optional<Area> area);

  bool Undo();
  bool Redo();
  bool CanUndo() const;
  bool CanRedo() const;
  // Changed since it was loaded, created or saved.
  bool Dirty() const { return position_ != savedPosition_; }
  // Grows with every change, undo and redo: a window redraws when it differs from the last.
  uint64_t Revision() const { return revision_; }

  // What the loader and the strict check find in the zone as it is now (checked again only
  // after a change). A check of a large zone with many slam doors, keys and enemies takes tens
  // of milliseconds (bench/EditBench.cpp), so a window asks after a stroke ends, not per cell.
  const std::vector<Finding>& Findings();
  // The zone as the loader would read it from its file, unsaved changes included.
  std::string Text() const { return WriteZoneText(zone_); }

 private:
  struct CellChange {
    int Index;  // y * Width + x
    char Before;
    char After;
  };
  // One undo step: cell changes, or a whole zone before and after (size and header).
  struct Step {
    std::vector<CellChange> Cells;
    std::optional<ZoneSource> Before, After;
    // The selection when the change was made, and the one set after it.
    std::optional<Area> SelectedBefore, SelectedAfter;
  };

  void Set(int x, int y, char c, std::vector<CellChange>& into);
  bool PaintInto(int x, int y, char c, std::vector<CellChange>& into);
  void Push(Step step);
  void Apply(const Step& step, bool forward);
  void ReplaceWhole(ZoneSource next);
  // The whole zone becomes next, undoable as one step.
  void ReplaceAsOneStep(ZoneSource next);
  Area Clipped(Area area) const;
  void PasteInto(const Piece& piece, int x, int y, std::vector<CellChange>& into);
  bool PushCells(std::vector<CellChange> cells);
  std::optional<std::string> PushWhole(ZoneSource next);
  void Changed();

  SaveResult Written(const std::filesystem::path& target, bool copy);

  ZoneSource zone_;
  std::filesystem::path path_;
  ZoneFolders folders_;
  // The file as last read or written here; nothing for a zone without a file on disk.
  std::optional<system::FileIdentity> disk_;
  std::vector<Step> history_;
  size_t position_ = 0;                      // steps of history_ now applied
  std::optional<size_t> savedPosition_ = 0;  // history position that matches the file
  std::optional<std::vector<CellChange>> stroke_;
  uint64_t revision_ = 0;
  uint64_t checkedRevision_ = ~uint64_t{0};
  std::vector<Finding> findings_;
  std::optional<Area> selection_;
};

}  // namespace quarn::edit
