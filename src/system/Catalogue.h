// Catalogue.h — the zone sets the game knows: which sets there are, in which order, their titles
// and their zones. Every screen that lists zones, walks to the next one or copies one asks it.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "system/ZoneList.h"

namespace quarn::system {

// The titles of the two roots the game lists when their folders have no title file.
inline constexpr const char* ShippedSetTitle = "Základy";
inline constexpr const char* OwnSetTitle = "Moje zóny";

// A folder whose zones form a set, and whose subfolders are sets of their own (one level down).
struct CatalogueRoot {
  CatalogueRoot() = default;
  // A folder alone is a set titled by its name, not shipped.
  CatalogueRoot(std::filesystem::path folder, std::string title = {}, bool shipped = false)
      : Folder(std::move(folder)), Title(std::move(title)), Shipped(shipped) {}
  std::filesystem::path Folder;
  // The set's title when the folder has no title file; empty: the folder's own name.
  std::string Title;
  // Shipped with the game: never written, and copied before it is edited.
  bool Shipped = false;
};

// A set: the zones of one folder, in the order of their file names.
struct ZoneSet {
  std::filesystem::path Folder;
  std::string Title;        // the title file's, else the root's given title, else the folder's name
  std::string Description;  // the title file's second line; may be empty
  bool Shipped = false;
  // Where the set lies in its root: empty for the root itself, else the subfolder's name.
  std::string Within;
  std::vector<ZoneEntry> Zones;
  bool operator==(const ZoneSet&) const = default;
};

// A zone's place in the catalogue.
struct ZonePlace {
  size_t Set = 0;
  size_t Zone = 0;
  bool operator==(const ZonePlace&) const = default;
};

class Catalogue {
 public:
  // The roots in the order their sets are listed; each root's own set comes first, then the sets
  // of its subfolders by name. A subfolder of a root that is not shipped is left out when others
  // may write to it (what it holds may be anyone's). The same folder reached twice (the player's
  // zones installed into the shipped folder) is listed once, where it comes first.
  explicit Catalogue(std::vector<CatalogueRoot> roots);

  // Brings the sets up to date at the cost of the zone list (ZoneLister): true when they changed.
  bool Refresh();

  // Every set, also those without zones (a screen shows what it likes of them).
  const std::vector<ZoneSet>& Sets() const { return sets_; }
  // Every zone of every set, set by set.
  std::vector<ZoneEntry> AllZones() const;
  const std::vector<CatalogueRoot>& Roots() const { return roots_; }

  std::optional<ZonePlace> Find(const std::filesystem::path& zone) const;
  const ZoneEntry* ZoneAt(ZonePlace place) const;
  // The zone after zone in its own set; null when it is the set's last or is not listed.
  const ZoneEntry* NextInSet(const std::filesystem::path& zone) const;
  // The first set after set that has zones; null when there is none.
  const ZoneSet* SetAfter(size_t set) const;
  // What N after a win opens: the next zone of zone's set, else the first of the next set with
  // zones; null after the last set's last zone, or for a zone not listed.
  const ZoneEntry* NextToPlay(const std::filesystem::path& zone) const;
  // How many sets have zones (the start screen heads its groups only when there are two).
  size_t SetsWithZones() const;
  // The folders of shipped sets, the zones the editor never writes over.
  std::vector<std::filesystem::path> ShippedFolders() const;

  // What the lister read, for tests that an unchanged catalogue costs nothing.
  const ZoneLister& Lister() const { return lister_; }

 private:
  struct Listed {
    size_t Root = 0;
    std::string Within;
  };
  std::vector<std::filesystem::path> WantedFolders(std::vector<Listed>& what) const;
  void BuildSets();

  std::vector<CatalogueRoot> roots_;
  std::vector<Listed> listed_;  // what each of the lister's folders is
  ZoneLister lister_;
  std::vector<ZoneSet> sets_;
};

// The name under which the player's copy of a shipped zone is kept in the player's zone folder:
// the zone's file name for a zone of a shipped root, "<subfolder>-<file name>" for one of a
// shipped root's subfolder, so that "01-a.qrn" of two sets are two copies. Nothing when zone is
// in none of shipped's folders.
std::optional<std::filesystem::path> CopyNameOf(const Catalogue& catalogue,
                                                const std::filesystem::path& zone);

// The zone the start screen opens on: the zone played last while it is not won, else the first
// zone not won of its set, else of the sets after it, else the zone played last itself. The
// catalogue's first zone when none was played or the one played last is no longer listed;
// nothing when no zone is listed.
std::optional<ZonePlace> OpeningPlace(const Catalogue& catalogue,
                                      const std::optional<std::filesystem::path>& last,
                                      const std::function<bool(const std::filesystem::path&)>& won);

// The zone played last, kept in the state folder (LastZoneFile) so that the next start opens
// where the player was. Nothing when none is kept or the folder is not the player's own.
inline constexpr const char* LastZoneFile = "last-zone.txt";
std::optional<std::filesystem::path> ReadLastZone(const std::filesystem::path& stateFolder);
Result<void> KeepLastZone(const std::filesystem::path& stateFolder,
                          const std::filesystem::path& zone);

}  // namespace quarn::system
