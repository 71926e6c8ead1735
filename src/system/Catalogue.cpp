// Catalogue.cpp — zone sets from folders: a root's own zones, then each subfolder's.
#include "Catalogue.h"

#include <algorithm>
#include <system_error>

#include "SafeFile.h"

namespace quarn::system {

namespace fs = std::filesystem;

Catalogue::Catalogue(std::vector<CatalogueRoot> roots)
    : roots_(std::move(roots)), lister_([&] {
        std::vector<fs::path> folders;
        for (const CatalogueRoot& root : roots_) folders.push_back(root.Folder);
        return folders;
      }()) {
  for (size_t r = 0; r < roots_.size(); ++r) listed_.push_back({r, ""});
}

std::vector<fs::path> Catalogue::WantedFolders(std::vector<Listed>& what) const {
  std::vector<fs::path> folders;
  what.clear();
  const std::vector<ListedFolder>& known = lister_.Folders();
  for (size_t r = 0; r < roots_.size(); ++r) {
    folders.push_back(roots_[r].Folder);
    what.push_back({r, ""});
    // The root's subfolders as the lister last saw them (it reads a folder again only when the
    // system reports a change in it).
    auto root = std::find_if(known.begin(), known.end(), [&](const ListedFolder& f) {
      return f.Path == roots_[r].Folder;
    });
    if (root == known.end()) continue;
    for (const std::string& name : root->Subfolders) {
      const fs::path sub = roots_[r].Folder / name;
      if (!roots_[r].Shipped && !FolderTrusted(sub)) continue;
      folders.push_back(sub);
      what.push_back({r, name});
    }
  }
  return folders;
}

bool Catalogue::Refresh() {
  bool changed = lister_.Refresh();
  // A subfolder that appeared or went changes the folders listed; only new ones are read.
  std::vector<Listed> what;
  std::vector<fs::path> wanted = WantedFolders(what);
  const std::vector<ListedFolder>& known = lister_.Folders();
  const bool same = wanted.size() == known.size() &&
                    std::equal(wanted.begin(), wanted.end(), known.begin(),
                               [](const fs::path& w, const ListedFolder& k) { return w == k.Path; });
  if (!same) {
    lister_.SetFolders(std::move(wanted));
    listed_ = std::move(what);
    lister_.Refresh();
    changed = true;
  }
  if (changed || sets_.empty()) BuildSets();
  return changed;
}

void Catalogue::BuildSets() {
  std::vector<ZoneSet> sets;
  const std::vector<ListedFolder>& folders = lister_.Folders();
  for (size_t k = 0; k < folders.size() && k < listed_.size(); ++k) {
    const ListedFolder& folder = folders[k];
    if (!folder.Listed) continue;
    const CatalogueRoot& root = roots_[listed_[k].Root];
    ZoneSet set;
    set.Folder = folder.Path;
    set.Shipped = root.Shipped;
    set.Within = listed_[k].Within;
    if (folder.Title) {
      set.Title = folder.Title->Title;
      set.Description = folder.Title->Description;
    } else if (!set.Within.empty()) {
      set.Title = set.Within;
    } else if (!root.Title.empty()) {
      set.Title = root.Title;
    } else {
      fs::path name = root.Folder.lexically_normal();
      if (name.filename().empty()) name = name.parent_path();  // "zones/" names "zones"
      set.Title = name.filename().string();
    }
    set.Zones = folder.Zones;
    sets.push_back(std::move(set));
  }
  sets_ = std::move(sets);
}

std::vector<ZoneEntry> Catalogue::AllZones() const {
  std::vector<ZoneEntry> zones;
  for (const ZoneSet& set : sets_) zones.insert(zones.end(), set.Zones.begin(), set.Zones.end());
  return zones;
}

std::optional<ZonePlace> Catalogue::Find(const fs::path& zone) const {
  for (size_t s = 0; s < sets_.size(); ++s) {
    const std::vector<ZoneEntry>& zones = sets_[s].Zones;
    for (size_t z = 0; z < zones.size(); ++z) {
      if (zones[z].File == zone) return ZonePlace{s, z};
    }
  }
  return std::nullopt;
}

const ZoneEntry* Catalogue::ZoneAt(ZonePlace place) const {
  if (place.Set >= sets_.size() || place.Zone >= sets_[place.Set].Zones.size()) return nullptr;
  return &sets_[place.Set].Zones[place.Zone];
}

const ZoneEntry* Catalogue::NextInSet(const fs::path& zone) const {
  const auto place = Find(zone);
  if (!place) return nullptr;
  return ZoneAt({place->Set, place->Zone + 1});
}

const ZoneSet* Catalogue::SetAfter(size_t set) const {
  for (size_t s = set + 1; s < sets_.size(); ++s) {
    if (!sets_[s].Zones.empty()) return &sets_[s];
  }
  return nullptr;
}

const ZoneEntry* Catalogue::NextToPlay(const fs::path& zone) const {
  const auto place = Find(zone);
  if (!place) return nullptr;
  if (const ZoneEntry* next = ZoneAt({place->Set, place->Zone + 1})) return next;
  const ZoneSet* after = SetAfter(place->Set);
  return after ? &after->Zones.front() : nullptr;
}

size_t Catalogue::SetsWithZones() const {
  return static_cast<size_t>(std::count_if(sets_.begin(), sets_.end(),
                                           [](const ZoneSet& set) { return !set.Zones.empty(); }));
}

std::vector<fs::path> Catalogue::ShippedFolders() const {
  std::vector<fs::path> folders;
  for (const CatalogueRoot& root : roots_) {
    if (root.Shipped) folders.push_back(root.Folder);
  }
  for (const ZoneSet& set : sets_) {
    if (set.Shipped && !set.Within.empty()) folders.push_back(set.Folder);
  }
  return folders;
}

std::optional<fs::path> CopyNameOf(const Catalogue& catalogue, const fs::path& zone) {
  const fs::path folder = zone.parent_path().empty() ? fs::path(".") : zone.parent_path();
  std::error_code ec;
  for (const CatalogueRoot& root : catalogue.Roots()) {
    if (!root.Shipped) continue;
    if (fs::equivalent(folder, root.Folder, ec)) return zone.filename();
    // A zone of one of the root's subfolders, listed or not.
    const fs::path above = folder.parent_path();
    if (!above.empty() && fs::equivalent(above, root.Folder, ec))
      return fs::path(folder.filename().string() + "-" + zone.filename().string());
  }
  return std::nullopt;
}

namespace {

fs::path Comparable(const fs::path& p) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(p, ec);
  return (ec ? p : absolute).lexically_normal();
}

}  // namespace

std::optional<ZonePlace> OpeningPlace(const Catalogue& catalogue,
                                      const std::optional<fs::path>& last,
                                      const std::function<bool(const fs::path&)>& won) {
  const std::vector<ZoneSet>& sets = catalogue.Sets();
  std::optional<ZonePlace> first;
  std::optional<ZonePlace> played;
  for (size_t s = 0; s < sets.size(); ++s) {
    for (size_t z = 0; z < sets[s].Zones.size(); ++z) {
      if (!first) first = ZonePlace{s, z};
      if (last && !played && Comparable(sets[s].Zones[z].File) == Comparable(*last))
        played = ZonePlace{s, z};
    }
  }
  if (!played) return first;
  if (!won(sets[played->Set].Zones[played->Zone].File)) return played;
  for (size_t s = played->Set; s < sets.size(); ++s) {
    for (size_t z = 0; z < sets[s].Zones.size(); ++z) {
      if (!won(sets[s].Zones[z].File)) return ZonePlace{s, z};
    }
  }
  return played;
}

std::optional<fs::path> ReadLastZone(const fs::path& stateFolder) {
  if (stateFolder.empty() || !FolderTrusted(stateFolder)) return std::nullopt;
  const auto text = ReadWhole(stateFolder / LastZoneFile, 64 * 1024);
  if (!text || text->empty()) return std::nullopt;
  std::string path = *text;
  if (path.back() == '\n') path.pop_back();
  if (path.empty()) return std::nullopt;
  return fs::path(path);
}

Result<void> KeepLastZone(const fs::path& stateFolder, const fs::path& zone) {
  if (stateFolder.empty()) return Fail("Hra nemá složku pro svůj stav.");
  if (auto made = MakePrivateFolder(stateFolder); !made) return made;
  return WriteWhole(stateFolder / LastZoneFile, Comparable(zone).string() + "\n",
                    Existing::ReplaceOwn);
}

}  // namespace quarn::system
