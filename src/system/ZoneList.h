// ZoneList.h — the zones the start screen lists: files and titles, in a settled order.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "zone/ZoneTitle.h"
#include "system/FileStamp.h"

namespace quarn::system {

struct ZoneEntry {
  std::filesystem::path File;
  // The zone's first field in UTF-8; the file name when the file cannot be read or is no text.
  std::string Title;
  bool operator==(const ZoneEntry&) const = default;
};

// A zone set's title file: its first line is the set's title, its second (optional) a one-line
// description; the rest is the author's. Read only from a regular file, at most
// SetTitleReadLimit bytes of it, in UTF-8 (or Windows-1250).
inline constexpr const char* SetTitleFile = "sada.txt";
inline constexpr size_t SetTitleReadLimit = 4096;

struct SetTitle {
  std::string Title;        // never empty: a file without one has no title
  std::string Description;  // may be empty
  bool operator==(const SetTitle&) const = default;
};
// The title of text read from a title file: nothing when its first line is empty or blank, or
// the text is no text (LooksBinary). cut says the text is only the start of a longer file.
std::optional<SetTitle> SetTitleOfText(std::string_view text, bool cut = false);

// What a listed folder holds: its zones, the folders in it (names not starting with '.', links
// to folders included, by name) and its set title.
struct ListedFolder {
  std::filesystem::path Path;
  // False for a folder that does not exist, and for one that is the same folder as one listed
  // before it (by another name); such a folder lists nothing.
  bool Listed = false;
  std::optional<SetTitle> Title;
  std::vector<ZoneEntry> Zones;
  std::vector<std::string> Subfolders;
  bool operator==(const ListedFolder&) const = default;
};

// The zones of each folder in the order the folders are given: the regular files whose names
// end in ".qrn" in any letter case, ascending by file name within a folder. A missing or
// unreadable folder adds nothing; a folder named twice is listed once.
std::vector<ZoneEntry> FindZones(const std::vector<std::filesystem::path>& folders);

// The same list kept up to date at little cost, for a list that is looked at every second: a
// folder is read again only when the system reports a change in it (or, where it cannot, every
// time), and a file's title only when the file changed (its size, times or inode), so an idle
// list of thousands of zones costs next to nothing.
class ZoneLister {
 public:
  explicit ZoneLister(std::vector<std::filesystem::path> folders);
  ~ZoneLister();
  ZoneLister(const ZoneLister&) = delete;
  ZoneLister& operator=(const ZoneLister&) = delete;

  // Brings the list up to date; true when it differs from what the last call left (the zones,
  // a folder's title or its subfolders).
  bool Refresh();
  const std::vector<ZoneEntry>& Zones() const { return zones_; }
  // Folder by folder, in the order given.
  const std::vector<ListedFolder>& Folders() const { return listed_; }
  // Lists these folders from now on; what is known of a folder listed before is kept, so only
  // the folders new to the list are read at the next Refresh.
  void SetFolders(std::vector<std::filesystem::path> folders);
  // Titles read from files and folders read so far, to see that an unchanged list costs none.
  int64_t TitlesRead() const { return titlesRead_; }
  int64_t FoldersRead() const { return foldersRead_; }

 private:
  struct Known {
    FileStamp Stamp;
    std::string Title;
    bool Link = false;  // its file may change without the folder hearing of it
  };
  struct Folder {
    std::filesystem::path Path;
    int Watch = -1;  // inotify watch, -1: read again on every refresh
    bool Exists = false;
    uint64_t Device = 0, Inode = 0;
    bool Stale = true;                   // read the folder again
    std::set<std::string> Touched;       // names the system reported since
    std::map<std::string, Known> Files;  // by name, so in the list's order
    std::set<std::string> Subfolders;
    FileStamp TitleStamp;                // of the title file that Title was read from
    std::optional<SetTitle> Title;
  };
  void TakeEvents();
  void WatchFolder(Folder& folder);
  void ReadFolder(Folder& folder);
  void ReadTitle(Folder& folder, int dirFd, bool touched);

  std::vector<Folder> folders_;
  std::vector<ZoneEntry> zones_;
  std::vector<ListedFolder> listed_;
  bool relist_ = true;  // the folders were changed: the list is made again
  int notify_ = -1;
  int64_t titlesRead_ = 0;
  int64_t foldersRead_ = 0;
};

}  // namespace quarn::system
