// ZoneModel.cpp — the zone editor's model: painting, undo history, header checks, check and save.
#include "ZoneModel.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <sstream>

#include "base/Text.h"
#include "system/Copies.h"
#include "system/SafeFile.h"
#include "zone/ZoneCheck.h"

namespace quarn::edit {
namespace fs = std::filesystem;
namespace {

const std::vector<PaletteEntry> PaletteTable = {
    {'.', "podlaha", tile::Space},
    {'S', "start", tile::Start},
    {'W', "zeď", tile::Wall},
    // A wall until the exit opens; shown as the exit it becomes.
    {'E', "místo východu", tile::Exit},
    {'O', "vzduchové dveře", tile::AirDoor},
    {'?', "vzduchové dveře (?)", tile::AirDoor},
    {'Q', "zabouchávací dveře", tile::SlamDoor},
    {'R', "horký brambor", tile::HotPotato},
    {'C', "cíl", tile::Target},
    {'D', "zamčené dveře", tile::LockedDoor},
    {'K', "klíč", tile::DoorKey},
    {'B', "stoh beden", tile::Boxes},
    {'+', "nepřítel druhu 1 (+)", tile::Enemy1},
    {'-', "nepřítel druhu 2 (-)", tile::Enemy2},
    {'*', "nepřítel druhu 3 (*)", tile::Enemy3},
    {'a', "laserové dveře a", tile::LaserA},
    {'b', "laserové dveře b", tile::LaserB},
    {'c', "laserové dveře c", tile::LaserC},
    {'T', "časový bonus", tile::Time},
};

constexpr int NewWidth = 20, NewHeight = 12;

ZoneSource NewZone() {
  ZoneSource zone;
  zone.Title = "Nová zóna";
  zone.Width = NewWidth;
  zone.Height = NewHeight;
  zone.PlayerSteps = 10;
  zone.EnemySteps = {16, 12, 6};
  zone.LaserPatterns = {"01", "0011", "0001"};
  for (int y = 0; y < NewHeight; ++y) {
    const bool edge = y == 0 || y == NewHeight - 1;
    std::string row(NewWidth, edge ? 'W' : '.');
    row.front() = row.back() = 'W';
    zone.Rows.push_back(row);
  }
  zone.Rows[1][1] = 'S';
  return zone;
}

bool IsNumberField(HeaderField f) {
  return f >= HeaderField::Width && f <= HeaderField::EnemySteps3;
}

// The numeric header value a field names, in the source.
int& NumberOf(ZoneSource& zone, HeaderField f) {
  switch (f) {
    case HeaderField::Width:
      return zone.Width;
    case HeaderField::Height:
      return zone.Height;
    case HeaderField::PlayerSteps:
      return zone.PlayerSteps;
    case HeaderField::EnemySteps1:
      return zone.EnemySteps[0];
    case HeaderField::EnemySteps2:
      return zone.EnemySteps[1];
    default:
      return zone.EnemySteps[2];
  }
}

int NumberOf(const ZoneSource& zone, HeaderField f) {
  return NumberOf(const_cast<ZoneSource&>(zone), f);
}

ZoneSource Resized(const ZoneSource& zone, int width, int height) {
  ZoneSource next = zone;
  next.Width = width;
  next.Height = height;
  next.Rows.resize(static_cast<size_t>(height));
  for (std::string& row : next.Rows) row.resize(static_cast<size_t>(width), '.');
  return next;
}

bool SameFolder(const fs::path& a, const fs::path& b) {
  std::error_code ec1, ec2;
  const fs::path ca = fs::weakly_canonical(a, ec1), cb = fs::weakly_canonical(b, ec2);
  return !ec1 && !ec2 && ca == cb;
}

fs::path FolderOf(const fs::path& path) {
  return path.has_parent_path() ? path.parent_path() : fs::path(".");
}

// The file a write to path lands in: path itself, or the file a symbolic link leads to.
fs::path RealFile(const fs::path& path) {
  std::error_code ec;
  const fs::path real = fs::weakly_canonical(path, ec);
  return ec ? path : real;
}

// Whether the player may write a file at path: over it when it exists, into its folder when not.
bool Writable(const fs::path& path) {
  std::error_code ec;
  const fs::path real = RealFile(path);
  if (fs::exists(real, ec))
    return access(real.c_str(), W_OK) == 0 && access(FolderOf(real).c_str(), W_OK) == 0;
  return access(FolderOf(real).c_str(), W_OK) == 0;
}

}  // namespace

const std::vector<PaletteEntry>& Palette() { return PaletteTable; }

const PaletteEntry& PaletteEntryOf(char c) {
  for (const PaletteEntry& e : PaletteTable) {
    if (e.Character == c) return e;
  }
  return PaletteTable.front();
}

ZoneModel::ZoneModel(ZoneFolders folders) : folders_(std::move(folders)) { New(); }

void ZoneModel::New(fs::path path) {
  ReplaceWhole(NewZone());
  path_ = std::move(path);
  disk_.reset();
}

std::string ZoneModel::RefusedFolder(const fs::path& path) const {
  for (const fs::path& folder : folders_.Refused) {
    if (SameFolder(FolderOf(path), folder) || SameFolder(FolderOf(RealFile(path)), folder)) {
      return "Složka " + ShowControls(folder.string()) +
             " není jen tvoje, a tak ji hra nepoužije: zóny v ní editor nečte ani neukládá.";
    }
  }
  return "";
}

std::optional<ZoneError> ZoneModel::Load(const fs::path& path) {
  if (std::string refused = RefusedFolder(path); !refused.empty()) {
    return ZoneError{path.string(), 0, "", refused};
  }
  // The bytes are read once: the zone, its stamp and its key all come from the same version.
  const auto stamp = system::StampOfFile(path);
  const auto read = system::ReadWhole(path);
  if (!read) return ZoneError{path.string(), 0, "", read.Error().Message};
  const std::string& text = *read;
  // Mended: a zone the editor saved with a limit of the game broken (a 102nd enemy) could not be
  // opened again to be mended; the editor reads it, and the check names what the game refuses.
  auto source = ReadZoneSourceText(text, path.string(), ZoneLimits::Editor);
  if (!source.Ok()) return source.Error();
  ReplaceWhole(std::move(source).Value());
  path_ = path;
  disk_.reset();
  if (stamp) disk_ = system::FileIdentity{*stamp, system::BytesKey(text)};
  return std::nullopt;
}

std::optional<std::string> ZoneModel::Restore(std::string_view text) {
  auto read = ReadZoneSourceText(text, "", ZoneLimits::Editor);
  if (!read.Ok()) return read.Error().Message;
  ZoneSource next = std::move(read).Value();
  if (next == zone_) return std::nullopt;
  if (stroke_) EndStroke();
  ReplaceAsOneStep(std::move(next));
  return std::nullopt;
}

void ZoneModel::ReplaceAsOneStep(ZoneSource next) {
  Step step;
  step.Before = zone_;
  step.After = std::move(next);
  zone_ = *step.After;
  Push(std::move(step));
}

void ZoneModel::ReplaceWhole(ZoneSource next) {
  zone_ = std::move(next);
  history_.clear();
  position_ = 0;
  savedPosition_ = 0;
  stroke_.reset();
  Changed();
}

bool ZoneModel::ChangedOnDisk() {
  if (path_.empty()) return false;
  std::error_code ec;
  // Mended: a new zone's file made meanwhile by another program (or a second editor) was
  // written over without a question; a file that appeared since the editor looked is a change.
  if (!fs::exists(fs::symlink_status(path_, ec))) return false;
  if (!disk_) return true;
  return system::ChangedSince(path_, *disk_);
}

SaveResult ZoneModel::Save() {
  if (stroke_) EndStroke();
  if (path_.empty()) {
    // Mended: a new zone went to the current folder, which from a desktop launcher is the home
    // folder or "/"; it goes among the player's zones, or nowhere.
    const auto target =
        system::OwnCopy(NewZoneName, Text(), folders_.Copies, system::SameContent::NewName);
    if (!target) {
      std::string error = target.Error().Message;
      if (folders_.Copies.empty()) {
        error =
            "hra nemá tvou složku zón, kam by novou zónu uložila; otevři v editoru soubor, "
            "kam ji chceš uložit (quarn --edit SOUBOR.qrn)";
      }
      return SaveResult{std::nullopt, false, true, error};
    }
    return Written(*target, false);
  }
  // Mended: Ctrl+S with nothing changed wrote the file again, over whatever another program had
  // put there meanwhile.
  std::error_code ec;
  if (!Dirty() && disk_ && fs::exists(path_, ec)) {
    return SaveResult{path_, false, false, ""};
  }
  return Save(path_);
}

SaveResult ZoneModel::Save(const fs::path& path) {
  if (stroke_) EndStroke();
  if (std::string refused = RefusedFolder(path); !refused.empty()) {
    return SaveResult{std::nullopt, false, true, refused};
  }
  bool copy = !Writable(path);
  for (const fs::path& folder : folders_.Protected) {
    copy =
        copy || SameFolder(FolderOf(path), folder) || SameFolder(FolderOf(RealFile(path)), folder);
  }
  if (!copy) {
    if (auto written = system::WriteWhole(path, Text()); !written) {
      return SaveResult{std::nullopt, false, true, written.Error().Message};
    }
    return Written(path, false);
  }
  // Never over a zone the player already has: the first free name by the copies' scheme.
  fs::path name = path.filename();
  if (!name.has_extension()) name += ".qrn";
  const auto target = system::OwnCopy(name, Text(), folders_.Copies);
  if (!target) return SaveResult{std::nullopt, true, true, target.Error().Message};
  return Written(*target, true);
}

SaveResult ZoneModel::Written(const fs::path& target, bool copy) {
  path_ = target;
  savedPosition_ = position_;
  ++revision_;
  disk_.reset();
  if (const auto stamp = system::StampOfFile(target)) {
    disk_ = system::FileIdentity{*stamp, system::BytesKey(Text())};
  }
  return SaveResult{target, copy, true, ""};
}

char ZoneModel::At(int x, int y) const { return Inside(x, y) ? zone_.At(x, y) : '.'; }

std::optional<Cell> ZoneModel::Start() const {
  for (int y = 0; y < Height(); ++y) {
    const size_t x = zone_.Rows[static_cast<size_t>(y)].find('S');
    if (x != std::string::npos) return Cell{static_cast<int>(x), y};
  }
  return std::nullopt;
}

void ZoneModel::Set(int x, int y, char c, std::vector<CellChange>& into) {
  char& cell = zone_.Rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
  into.push_back(CellChange{y * Width() + x, cell, c});
  cell = c;
}

bool ZoneModel::PaintInto(int x, int y, char c, std::vector<CellChange>& into) {
  if (!Inside(x, y) || !IsTileCharacter(c) || At(x, y) == c) return false;
  if (c == 'S') {
    // One start only: the old one becomes floor.
    for (int sy = 0; sy < Height(); ++sy) {
      for (int sx = 0; sx < Width(); ++sx) {
        if (zone_.At(sx, sy) == 'S') Set(sx, sy, '.', into);
      }
    }
  }
  Set(x, y, c, into);
  return true;
}

bool ZoneModel::Paint(int x, int y, char c) {
  if (stroke_) {
    const bool painted = PaintInto(x, y, c, *stroke_);
    if (painted) Changed();
    return painted;
  }
  Step step;
  if (!PaintInto(x, y, c, step.Cells)) return false;
  Push(std::move(step));
  return true;
}

void ZoneModel::BeginStroke() {
  if (stroke_) EndStroke();
  stroke_.emplace();
}

void ZoneModel::EndStroke() {
  if (!stroke_) return;
  Step step;
  step.Cells = std::move(*stroke_);
  stroke_.reset();
  if (!step.Cells.empty()) Push(std::move(step));
}

bool ZoneModel::Fill(int x0, int y0, int x1, int y1, char c) {
  if (stroke_) EndStroke();
  Step step;
  if (c == 'S') {
    PaintInto(x0, y0, c, step.Cells);
  } else {
    const int left = std::max(0, std::min(x0, x1)), right = std::min(Width() - 1, std::max(x0, x1));
    const int top = std::max(0, std::min(y0, y1)),
              bottom = std::min(Height() - 1, std::max(y0, y1));
    for (int y = top; y <= bottom; ++y) {
      for (int x = left; x <= right; ++x) PaintInto(x, y, c, step.Cells);
    }
  }
  if (step.Cells.empty()) return false;
  Push(std::move(step));
  return true;
}

void ZoneModel::Push(Step step) {
  step.SelectedBefore = step.SelectedAfter = selection_;
  history_.resize(position_);
  if (savedPosition_ && *savedPosition_ > position_) savedPosition_.reset();  // that state is gone
  history_.push_back(std::move(step));
  position_ = history_.size();
  Changed();
}

void ZoneModel::Apply(const Step& step, bool forward) {
  if (step.Before && step.After) {
    zone_ = forward ? *step.After : *step.Before;
    return;
  }
  auto put = [&](const CellChange& c, char value) {
    zone_.Rows[static_cast<size_t>(c.Index / Width())][static_cast<size_t>(c.Index % Width())] =
        value;
  };
  if (forward) {
    for (const CellChange& c : step.Cells) put(c, c.After);
  } else {
    for (auto it = step.Cells.rbegin(); it != step.Cells.rend(); ++it) put(*it, it->Before);
  }
}

void ZoneModel::SetSelection(std::optional<Area> area) {
  selection_ = area;
  // Set right after the latest change: that is what its redo brings back.
  if (position_ > 0 && position_ == history_.size()) history_.back().SelectedAfter = area;
}

bool ZoneModel::Undo() {
  if (stroke_) EndStroke();
  if (position_ == 0) return false;
  const Step& step = history_[--position_];
  Apply(step, false);
  selection_ = step.SelectedBefore;
  Changed();
  return true;
}

bool ZoneModel::Redo() {
  if (stroke_) EndStroke();
  if (position_ >= history_.size()) return false;
  const Step& step = history_[position_++];
  Apply(step, true);
  selection_ = step.SelectedAfter;
  Changed();
  return true;
}

bool ZoneModel::CanUndo() const { return position_ > 0 || (stroke_ && !stroke_->empty()); }
bool ZoneModel::CanRedo() const { return position_ < history_.size() && !stroke_; }

void ZoneModel::Changed() { ++revision_; }

std::string ZoneModel::Field(HeaderField field) const {
  switch (field) {
    case HeaderField::Title:
      return zone_.Title;
    case HeaderField::LaserA:
      return zone_.LaserPatterns[0];
    case HeaderField::LaserB:
      return zone_.LaserPatterns[1];
    case HeaderField::LaserC:
      return zone_.LaserPatterns[2];
    default:
      return std::to_string(NumberOf(zone_, field));
  }
}

std::optional<std::string> ZoneModel::SetField(HeaderField field, std::string_view text) {
  if (stroke_) EndStroke();
  ZoneSource next = zone_;
  if (!IsNumberField(field)) {
    if (auto writable = FieldWritable(text); !writable) return writable.Error().Message;
    if (field == HeaderField::Title) {
      if (text.find_first_of("\r\n") != std::string_view::npos)
        return "název musí být na jednom řádku";
      next.Title = std::string(text);
    } else {
      next.LaserPatterns[static_cast<size_t>(field) - static_cast<size_t>(HeaderField::LaserA)] =
          std::string(text);
    }
  } else {
    // The loader itself reads the field, in a zone whose other header fields are plain, so its
    // own message comes back for a field it refuses.
    const int index = static_cast<int>(field);
    std::ostringstream probe;
    for (int i = 0; i < HeaderFieldCount; ++i) {
      if (i == index) {
        const bool quote =
            std::string_view(text).find_first_of(",\r\n\"") != std::string_view::npos;
        std::string raw(text);
        if (quote) std::erase(raw, '"');
        probe << (quote ? "\"" + raw + "\"" : raw) << '\n';
      } else if (i == 0 || i >= static_cast<int>(HeaderField::LaserA)) {
        probe << "x\n";
      } else {
        probe << Field(static_cast<HeaderField>(i)) << '\n';
      }
    }
    for (int y = 0; y < MaxBoardHeight; ++y) probe << '\n';
    auto parsed = ParseZoneText(probe.str(), "");
    if (!parsed.Ok()) {
      if (parsed.Error().Line == index + 1) return parsed.Error().Message;
    }
    if (!parsed.Ok()) return "hodnotu nelze přečíst";
    const ParsedZone& read = parsed.Value();
    const int value = field == HeaderField::Width    ? read.Width
                      : field == HeaderField::Height ? read.Height
                      : field == HeaderField::PlayerSteps
                          ? read.PlayerSteps
                          : read.EnemySteps[static_cast<size_t>(
                                index - static_cast<int>(HeaderField::EnemySteps1))];
    if (field == HeaderField::Width || field == HeaderField::Height) {
      next = Resized(zone_, field == HeaderField::Width ? value : Width(),
                     field == HeaderField::Height ? value : Height());
    } else {
      NumberOf(next, field) = value;
    }
  }
  // A value the loader takes on its own may still make it refuse this zone (enemies that need
  // steps of at least 1, fine positions that must fit): PushWhole refuses it unless the zone was
  // refused anyway.
  return PushWhole(std::move(next));
}

std::optional<std::string> ZoneModel::Resize(int width, int height) {
  if (auto e = SetField(HeaderField::Width, std::to_string(width))) return e;
  return SetField(HeaderField::Height, std::to_string(height));
}

const std::vector<Finding>& ZoneModel::Findings() {
  if (checkedRevision_ == revision_) return findings_;
  checkedRevision_ = revision_;
  findings_.clear();
  const std::string text = Text();
  const auto parsed = ParseZoneText(text, "");
  if (!parsed.Ok()) {
    Finding f{parsed.Error().Message, std::nullopt, true};
    if (parsed.Error().Column > 0)
      f.Where = Cell{parsed.Error().Column - 1, parsed.Error().Row - 1};
    findings_.push_back(std::move(f));
    return findings_;
  }
  const ParsedZone& zone = parsed.Value();
  std::vector<StrictFinding> found = FindDeadEnds(zone, RowLines(text, zone.Height));
  std::stable_sort(found.begin(), found.end(),
                   [](const StrictFinding& a, const StrictFinding& b) { return a.Line < b.Line; });
  for (const StrictFinding& s : found) {
    Finding f{s.Message, std::nullopt, false};
    if (s.Column > 0) f.Where = Cell{s.Column - 1, s.Row - 1};
    findings_.push_back(std::move(f));
  }
  return findings_;
}

}  // namespace quarn::edit
