// ZoneList.h — the zones the start screen lists: files and titles, in a settled order.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "zone/ZoneTitle.h"
#include "system/FileStamp.h"

namespace quarn::system {

struct ZoneEntry {
  std::filesystem::path File;
  // The zone's first field in UTF-8; the file name when the file cannot be read or is no text.
  std::string Title;
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

  // Brings the list up to date; true when it differs from what the last call left.
  bool Refresh();
  const std::vector<ZoneEntry>& Zones() const { return zones_; }
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
  };
  void TakeEvents();
  void WatchFolder(Folder& folder);
  void ReadFolder(Folder& folder);

  std::vector<Folder> folders_;
  std::vector<ZoneEntry> zones_;
  int notify_ = -1;
  int64_t titlesRead_ = 0;
  int64_t foldersRead_ = 0;
};

}  // namespace quarn::system
