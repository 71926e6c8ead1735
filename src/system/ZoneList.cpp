// ZoneList.cpp — lists the zone files of the zone folders with their titles, and keeps the list.
#include "ZoneList.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstddef>
#include <string_view>

#include "base/Text.h"

namespace quarn::system {

namespace {

namespace fs = std::filesystem;

bool IsZoneName(std::string_view name) {
  constexpr std::string_view Suffix = ".qrn";
  if (name.size() < Suffix.size()) return false;
  return std::equal(Suffix.begin(), Suffix.end(), name.end() - Suffix.size(), [](char s, char c) {
    return s == std::tolower(static_cast<unsigned char>(c));
  });
}

// Everything that changes which zones a folder holds or what their files say.
constexpr uint32_t WatchedEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                   IN_CLOSE_WRITE | IN_MODIFY | IN_ATTRIB | IN_DELETE_SELF |
                                   IN_MOVE_SELF | IN_ONLYDIR;

}  // namespace

std::optional<SetTitle> SetTitleOfText(std::string_view text, bool cut) {
  if (LooksBinary(text)) return std::nullopt;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  // A cut file may end inside a character: only whole lines before the cut count.
  if (cut) {
    const size_t lastEnd = text.find_last_of('\n');
    text = lastEnd == std::string_view::npos ? std::string_view() : text.substr(0, lastEnd);
  }
  auto line = [&](size_t& at) {
    const size_t end = std::min(text.find('\n', at), text.size());
    std::string_view l = text.substr(at, end - at);
    at = end < text.size() ? end + 1 : end;
    while (!l.empty() && (l.back() == '\r' || l.back() == ' ' || l.back() == '\t'))
      l.remove_suffix(1);
    while (!l.empty() && (l.front() == ' ' || l.front() == '\t')) l.remove_prefix(1);
    return ToUtf8(l);
  };
  size_t at = 0;
  SetTitle title;
  title.Title = line(at);
  if (title.Title.empty()) return std::nullopt;
  title.Description = line(at);
  return title;
}

std::vector<ZoneEntry> FindZones(const std::vector<fs::path>& folders) {
  ZoneLister lister(folders);
  lister.Refresh();
  return lister.Zones();
}

ZoneLister::ZoneLister(std::vector<fs::path> folders) {
  // Without inotify (no support, or the instances used up) every refresh reads the folders.
  notify_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  SetFolders(std::move(folders));
}

void ZoneLister::SetFolders(std::vector<fs::path> folders) {
  std::vector<Folder> kept;
  for (fs::path& path : folders) {
    auto known = std::find_if(folders_.begin(), folders_.end(),
                              [&](const Folder& f) { return f.Path == path && !f.Path.empty(); });
    if (known != folders_.end()) {
      kept.push_back(std::move(*known));
      known->Path.clear();  // moved: its watch now belongs to the kept one
      known->Watch = -1;
    } else {
      kept.emplace_back();
      kept.back().Path = std::move(path);
    }
  }
  // The watches of folders no longer listed are let go of, unless a kept one shares them.
  for (const Folder& gone : folders_) {
    if (gone.Watch < 0) continue;
    const bool shared = std::any_of(kept.begin(), kept.end(),
                                    [&](const Folder& f) { return f.Watch == gone.Watch; });
    if (!shared) inotify_rm_watch(notify_, gone.Watch);
  }
  folders_ = std::move(kept);
  // Nothing listed until the next Refresh reads the folders.
  listed_.clear();
  for (const Folder& f : folders_) {
    ListedFolder listed;
    listed.Path = f.Path;
    listed_.push_back(std::move(listed));
  }
  zones_.clear();
  relist_ = true;
}

ZoneLister::~ZoneLister() {
  if (notify_ >= 0) close(notify_);
}

void ZoneLister::TakeEvents() {
  if (notify_ < 0) return;
  alignas(inotify_event) char buffer[16384];
  for (;;) {
    const ssize_t got = read(notify_, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return;
    for (ssize_t at = 0; at < got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      if (event->mask & IN_Q_OVERFLOW) {
        // Changes were lost: every file is looked at again.
        for (Folder& f : folders_) {
          f.Stale = true;
          f.Touched.clear();
          for (auto& [name, known] : f.Files) f.Touched.insert(name);
        }
        continue;
      }
      // One folder named twice shares its watch.
      for (Folder& f : folders_) {
        if (f.Watch != event->wd) continue;
        f.Stale = true;
        if (event->mask & IN_IGNORED) f.Watch = -1;  // the folder is gone; WatchFolder watches anew
        if (event->len > 0) f.Touched.insert(event->name);
      }
    }
  }
}

void ZoneLister::WatchFolder(Folder& folder) {
  struct stat st {};
  const bool exists = stat(folder.Path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  if (!exists) {
    if (folder.Exists || !folder.Files.empty()) folder.Stale = true;
    folder.Exists = false;
    folder.Files.clear();
    return;
  }
  const bool same = folder.Exists && folder.Device == st.st_dev && folder.Inode == st.st_ino;
  if (!same || folder.Watch < 0) {
    if (folder.Watch >= 0) {
      // Another folder now has this name: the old one's watch is of no use.
      const int old = folder.Watch;
      bool shared = false;
      for (const Folder& f : folders_) shared |= &f != &folder && f.Watch == old;
      if (!shared) inotify_rm_watch(notify_, old);
    }
    // Watched before it is read, so that nothing changed in between goes unseen.
    folder.Watch =
        notify_ >= 0 ? inotify_add_watch(notify_, folder.Path.c_str(), WatchedEvents) : -1;
    folder.Exists = true;
    folder.Device = st.st_dev;
    folder.Inode = st.st_ino;
    folder.Stale = true;
    // Nothing is known of the files of a folder that was not watched.
    for (auto& [name, known] : folder.Files) folder.Touched.insert(name);
  }
}

void ZoneLister::ReadFolder(Folder& folder) {
  folder.Stale = false;
  std::set<std::string> touched;
  touched.swap(folder.Touched);
  if (!folder.Exists) return;
  const int dirFd = open(folder.Path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd < 0) {
    folder.Files.clear();
    return;
  }
  DIR* dir = fdopendir(dirFd);
  if (!dir) {
    close(dirFd);
    folder.Files.clear();
    return;
  }
  ++foldersRead_;
  std::map<std::string, Known> files;
  std::set<std::string> subfolders;
  bool titleFile = false;
  while (const dirent* entry = readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name == SetTitleFile) {
      titleFile = true;
      continue;
    }
    if (!IsZoneName(name)) {
      // A folder (or a link to one) may be a zone set of its own; hidden ones are not.
      if (name.empty() || name[0] == '.') continue;
      if (entry->d_type != DT_DIR && entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN)
        continue;
      struct stat st {};
      if (entry->d_type == DT_DIR ||
          (fstatat(dirFd, entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode)))
        subfolders.emplace(name);
      continue;
    }
    // Only regular files (or links to them): a pipe or a device named *.qrn is no zone.
    if (entry->d_type != DT_REG && entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN) continue;
    std::string key(name);
    auto old = folder.Files.find(key);
    if (old != folder.Files.end() && !old->second.Link && !touched.contains(key)) {
      // The system reported nothing about this file: it is as it was.
      files.insert(folder.Files.extract(old));
      continue;
    }
    struct stat st {};
    if (fstatat(dirFd, entry->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode)) continue;
    Known known;
    known.Stamp = StampOf(st);
    struct stat own {};
    known.Link =
        entry->d_type == DT_LNK ||
        (entry->d_type == DT_UNKNOWN &&
         fstatat(dirFd, entry->d_name, &own, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(own.st_mode));
    if (old != folder.Files.end() && old->second.Stamp == known.Stamp) {
      known.Title = std::move(old->second.Title);
    } else {
      ++titlesRead_;
      const fs::path file = folder.Path / key;
      struct stat read {};
      auto title = ReadZoneTitle(file, &read);
      if (read.st_ino != 0) known.Stamp = StampOf(read);
      // A file that cannot be read, or is no text, is listed by its name.
      known.Title = title ? std::move(*title) : key;
    }
    files.emplace(std::move(key), std::move(known));
  }
  if (titleFile) {
    ReadTitle(folder, dirFd, touched.contains(SetTitleFile));
  } else {
    folder.Title.reset();
    folder.TitleStamp = {};
  }
  closedir(dir);
  folder.Files = std::move(files);
  folder.Subfolders = std::move(subfolders);
}

void ZoneLister::ReadTitle(Folder& folder, int dirFd, bool touched) {
  // Not waited on when it is a pipe, and read no further than a title needs.
  const int fd = openat(dirFd, SetTitleFile, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  struct stat st {};
  if (fd < 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    if (fd >= 0) close(fd);
    folder.Title.reset();
    folder.TitleStamp = {};
    return;
  }
  const FileStamp stamp = StampOf(st);
  if (!touched && stamp == folder.TitleStamp) {
    close(fd);
    return;
  }
  ++titlesRead_;
  std::string text(SetTitleReadLimit, '\0');
  size_t got = 0;
  while (got < text.size()) {
    const ssize_t n = read(fd, text.data() + got, text.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  close(fd);
  text.resize(got);
  folder.TitleStamp = stamp;
  folder.Title = SetTitleOfText(text, st.st_size > static_cast<off_t>(got));
}

bool ZoneLister::Refresh() {
  TakeEvents();
  bool read = false;
  for (Folder& folder : folders_) {
    // A link's file lies elsewhere; its folder's watch does not see it change.
    for (auto& [name, known] : folder.Files) {
      if (!known.Link) continue;
      struct stat st {};
      if (stat((folder.Path / name).c_str(), &st) != 0 || StampOf(st) != known.Stamp) {
        folder.Touched.insert(name);
        folder.Stale = true;
      }
    }
    WatchFolder(folder);
    if (folder.Exists && folder.Watch < 0) {
      // Unwatched, every file is looked at again (no title is read unless its file changed).
      folder.Stale = true;
      for (auto& [name, known] : folder.Files) folder.Touched.insert(name);
    }
    if (folder.Stale) {
      ReadFolder(folder);
      read = true;
    }
  }
  if (!read && !relist_) return false;
  relist_ = false;
  std::vector<ListedFolder> listed;
  for (size_t k = 0; k < folders_.size(); ++k) {
    const Folder& folder = folders_[k];
    ListedFolder& out = listed.emplace_back();
    out.Path = folder.Path;
    if (!folder.Exists) continue;
    // Mended: installed with the prefix ~/.local, the shipped zones and the player's own are
    // one folder; without this check every zone would be listed twice.
    const bool seen = std::any_of(
        folders_.begin(), folders_.begin() + static_cast<ptrdiff_t>(k), [&](const Folder& f) {
          return f.Exists && f.Device == folder.Device && f.Inode == folder.Inode;
        });
    if (seen) continue;
    out.Listed = true;
    out.Title = folder.Title;
    out.Subfolders.assign(folder.Subfolders.begin(), folder.Subfolders.end());
    for (const auto& [name, known] : folder.Files)
      out.Zones.push_back({folder.Path / name, known.Title});
  }
  if (listed == listed_) return false;
  listed_ = std::move(listed);
  zones_.clear();
  for (const ListedFolder& folder : listed_)
    zones_.insert(zones_.end(), folder.Zones.begin(), folder.Zones.end());
  return true;
}

}  // namespace quarn::system
