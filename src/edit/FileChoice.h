// FileChoice.h — what the editor's file chooser decides, without a window: which folders and
// zone files a folder shows, whether a typed name is a file name, and what a save to it does.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quarn::edit {

// What the chooser keeps away from: folders that are not the player's own (see
// system::FolderProblem) are never read or written, and zones in the protected folders (the
// shipped ones) are never written over.
struct ChooserLimits {
  std::vector<std::filesystem::path> Refused;
  std::vector<std::filesystem::path> Protected;
};

struct ChooserEntry {
  std::string Name;  // the file or folder name as it is on disk
  bool Folder = false;
  bool Parent = false;  // "..", the folder above
};

// One folder as the chooser shows it: the folder above first (unless it is the root), then its
// folders, then its zone files (names ending in ".qrn" in any letter case), each group by name.
// Hidden names (beginning with a dot) are left out. A refused folder lists nothing but the way
// up, and Problem says why (Czech); so does one that cannot be read.
struct FolderListing {
  std::filesystem::path Folder;
  std::vector<ChooserEntry> Entries;
  std::string Problem;
};
// At most this many entries are listed; a folder of more says so in Problem.
inline constexpr size_t MaxListedEntries = 4000;
FolderListing ListFolder(const std::filesystem::path& folder, const ChooserLimits& limits);

// The file name a typed name stands for: blanks at both ends dropped, ".qrn" added when it does
// not end so. Empty, with a Czech sentence in why, when it cannot be a zone's file name (empty, a
// slash, a control character, a leading dot, "." or "..", longer than a file name may be).
std::string ZoneFileName(std::string_view typed, std::string& why);

// Why the chooser may not write into folder (Czech), or "": a refused folder, a protected one,
// one the player cannot write into.
std::string WriteProblem(const std::filesystem::path& folder, const ChooserLimits& limits);

// What pressing Enter with a typed name in a folder does. A typed path (one with a slash, or
// beginning with "~/", the home folder) is taken from the folder: an existing folder opens, else
// its last part is the file's name in the folder before it, which must exist.
struct ChooserDecision {
  enum class Kind {
    OpenFolder,  // the name is a folder (or ".."): go there
    Write,       // a new file: write it (never over a file that appears meanwhile)
    AskOverwrite,  // the file exists: ask before writing over it
    Refuse,      // Message says why; nothing is written
  };
  Kind What = Kind::Refuse;
  std::filesystem::path Path;  // the folder to open, or the file to write
  std::string Message;
};
ChooserDecision Decide(const std::filesystem::path& folder, std::string_view typed,
                       const ChooserLimits& limits);

// "Nová složka": makes the folder typed in folder. Its path, or empty with Problem saying why
// (Czech): a name that is no folder's name (as for a file: empty, a slash, a control character,
// a leading dot, too long), one that is there already, a folder the chooser may not write into.
struct MadeFolder {
  std::filesystem::path Path;
  std::string Problem;
};
MadeFolder MakeFolder(const std::filesystem::path& folder, std::string_view typed,
                      const ChooserLimits& limits);

// folder made absolute, without "." and ".." parts or a trailing slash.
std::filesystem::path CleanFolder(const std::filesystem::path& folder);

// Where the chooser opens: the first of the candidates that exists, is a folder and is the
// player's own (neither refused nor failing system::FolderProblem); "/" when none is.
std::filesystem::path StartFolder(const std::vector<std::filesystem::path>& candidates,
                                  const ChooserLimits& limits);

}  // namespace quarn::edit
