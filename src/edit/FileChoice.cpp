// FileChoice.cpp — the file chooser's decisions: listing a folder, checking a typed name, and
// what a save to it does.
#include "FileChoice.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "system/SafeFile.h"
#include "base/Text.h"

namespace quarn::edit {
namespace fs = std::filesystem;
namespace {

bool SameFolder(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  return !a.empty() && !b.empty() && fs::equivalent(a, b, ec);
}

bool AnyOf(const std::vector<fs::path>& folders, const fs::path& folder) {
  return std::any_of(folders.begin(), folders.end(),
                     [&](const fs::path& f) { return SameFolder(f, folder); });
}

bool EndsInQrn(const std::string& name) {
  if (name.size() < 4) return false;
  std::string end = name.substr(name.size() - 4);
  std::transform(end.begin(), end.end(), end.begin(),
                 [](char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
  return end == ".qrn";
}

// Why the folder may not even be read (Czech), or "".
std::string ReadProblem(const fs::path& folder, const ChooserLimits& limits) {
  if (AnyOf(limits.Refused, folder)) {
    return "Složka " + ShowControls(folder.string()) +
           " není jen tvoje, a tak ji hra nepoužije: zóny v ní editor nečte ani neukládá.";
  }
  return MessageOf(system::FolderTrusted(folder));
}

std::string Trimmed(std::string_view typed) {
  const size_t first = typed.find_first_not_of(" \t");
  return first == std::string_view::npos
             ? std::string()
             : std::string(typed.substr(first, typed.find_last_not_of(" \t") - first + 1));
}

bool HasControls(const std::string& name) {
  return std::any_of(name.begin(), name.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

}  // namespace

fs::path CleanFolder(const fs::path& folder) {
  std::error_code ec;
  fs::path clean = fs::absolute(folder, ec);
  if (ec) clean = folder;
  clean = clean.lexically_normal();
  if (clean.filename().empty() && clean.has_relative_path()) clean = clean.parent_path();
  return clean;
}

FolderListing ListFolder(const fs::path& folder, const ChooserLimits& limits) {
  FolderListing listing;
  listing.Folder = folder;
  if (folder.has_relative_path()) listing.Entries.push_back({"..", true, true});
  if (std::string why = ReadProblem(folder, limits); !why.empty()) {
    listing.Problem = why;
    return listing;
  }
  std::error_code ec;
  // Mended: a folder the player may not read was listed as empty, without a word.
  fs::directory_iterator it(folder, ec);
  if (ec) {
    listing.Problem = "Složku " + ShowControls(folder.string()) + " nelze přečíst" +
                      (ec == std::errc::permission_denied ? ": nemáš právo číst její obsah."
                                                          : ".");
    return listing;
  }
  std::vector<ChooserEntry> folders, files;
  size_t seen = 0;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    if (++seen > MaxListedEntries) {
      listing.Problem = "Složka má víc než " + std::to_string(MaxListedEntries) +
                        " položek; ukázány jsou jen některé.";
      break;
    }
    std::string name = it->path().filename().string();
    if (name.empty() || name[0] == '.') continue;
    std::error_code kindError;
    if (it->is_directory(kindError)) {
      folders.push_back({std::move(name), true, false});
    } else if (EndsInQrn(name) && it->is_regular_file(kindError)) {
      files.push_back({std::move(name), false, false});
    }
  }
  auto byName = [](const ChooserEntry& a, const ChooserEntry& b) { return a.Name < b.Name; };
  std::sort(folders.begin(), folders.end(), byName);
  std::sort(files.begin(), files.end(), byName);
  listing.Entries.insert(listing.Entries.end(), folders.begin(), folders.end());
  listing.Entries.insert(listing.Entries.end(), files.begin(), files.end());
  return listing;
}

std::string ZoneFileName(std::string_view typed, std::string& why) {
  const size_t first = typed.find_first_not_of(" \t");
  const size_t last = typed.find_last_not_of(" \t");
  std::string name = first == std::string_view::npos
                         ? std::string()
                         : std::string(typed.substr(first, last - first + 1));
  why.clear();
  if (name.empty()) {
    why = "Napiš název souboru.";
  } else if (name.find('/') != std::string::npos) {
    why = "Název souboru nesmí obsahovat lomítko; složku vyber v seznamu.";
  } else if (HasControls(name)) {
    why = "Název souboru nesmí obsahovat řídicí znaky.";
  } else if (name[0] == '.') {
    // Hidden files are not listed, and the game's own temporary files begin with a dot.
    why = "Název souboru nesmí začínat tečkou.";
  } else {
    if (!EndsInQrn(name)) name += ".qrn";
    if (name.size() > 255) why = "Název souboru je příliš dlouhý (nejvýš 255 bajtů i s .qrn).";
  }
  return why.empty() ? name : std::string();
}

std::string WriteProblem(const fs::path& folder, const ChooserLimits& limits) {
  if (std::string why = ReadProblem(folder, limits); !why.empty()) return why;
  if (AnyOf(limits.Protected, folder)) {
    return "Do složky se zónami hry se neukládá (další verze hry by je přepsala); vyber jinou "
           "složku.";
  }
  if (access(folder.c_str(), W_OK) != 0) {
    return "Do složky " + ShowControls(folder.string()) + " nemůžeš zapisovat.";
  }
  return "";
}

ChooserDecision Decide(const fs::path& folder, std::string_view typed,
                       const ChooserLimits& limits) {
  ChooserDecision d;
  const std::string trimmed = Trimmed(typed);
  std::error_code ec;
  const char* home = std::getenv("HOME");
  const bool fromHome = home && *home && (trimmed == "~" || trimmed.rfind("~/", 0) == 0);
  if (fromHome || trimmed.find('/') != std::string::npos) {
    // A path: a folder goes there, a file goes into the folder before its name.
    const fs::path typedPath =
        fromHome ? fs::path(home) / trimmed.substr(std::min<size_t>(2, trimmed.size()))
                 : fs::path(trimmed);
    const fs::path full = typedPath.is_absolute() ? typedPath : folder / typedPath;
    if (fs::is_directory(full, ec)) {
      d.What = ChooserDecision::Kind::OpenFolder;
      d.Path = CleanFolder(full);
      return d;
    }
    const fs::path parent = CleanFolder(full.parent_path());
    if (trimmed.back() == '/' || !fs::is_directory(parent, ec)) {
      const fs::path missing = trimmed.back() == '/' ? CleanFolder(full) : parent;
      d.Message = "Složka " + ShowControls(missing.string()) +
                  " neexistuje; napiš cestu ke složce, která je (nebo ji založ tlačítkem Nová "
                  "složka).";
      return d;
    }
    return Decide(parent, full.filename().string(), limits);
  }
  if (trimmed == "..") {
    d.What = ChooserDecision::Kind::OpenFolder;
    d.Path = CleanFolder(folder.has_relative_path() ? folder.parent_path() : folder);
    return d;
  }
  // A folder's name goes into it, as in the list.
  if (!trimmed.empty() && trimmed.find('/') == std::string::npos && trimmed[0] != '.' &&
      fs::is_directory(folder / trimmed, ec)) {
    d.What = ChooserDecision::Kind::OpenFolder;
    d.Path = CleanFolder(folder / trimmed);
    return d;
  }
  std::string why;
  const std::string name = ZoneFileName(typed, why);
  if (name.empty()) {
    d.Message = why;
    return d;
  }
  if (std::string problem = WriteProblem(folder, limits); !problem.empty()) {
    d.Message = problem;
    return d;
  }
  d.Path = folder / name;
  const fs::file_status status = fs::symlink_status(d.Path, ec);
  if (ec || status.type() == fs::file_type::not_found) {
    d.What = ChooserDecision::Kind::Write;
    return d;
  }
  const fs::file_status target = fs::status(d.Path, ec);
  if (fs::is_directory(target)) {
    d.Message = ShowControls(name) + " je složka; zóna potřebuje jiný název.";
  } else if (!ec && fs::is_regular_file(target)) {
    d.What = ChooserDecision::Kind::AskOverwrite;
  } else {
    d.Message = ShowControls(name) + " není obyčejný soubor; zóna potřebuje jiný název.";
  }
  return d;
}

MadeFolder MakeFolder(const fs::path& folder, std::string_view typed, const ChooserLimits& limits) {
  const std::string name = Trimmed(typed);
  if (name.empty()) return {{}, "Napiš název nové složky."};
  if (name.find('/') != std::string::npos) return {{}, "Název složky nesmí obsahovat lomítko."};
  if (HasControls(name)) return {{}, "Název složky nesmí obsahovat řídicí znaky."};
  if (name[0] == '.') {
    return {{}, "Název složky nesmí začínat tečkou (taková složka by byla skrytá)."};
  }
  if (name.size() > 255) return {{}, "Název složky je příliš dlouhý (nejvýš 255 bajtů)."};
  if (std::string problem = WriteProblem(folder, limits); !problem.empty()) return {{}, problem};
  const fs::path made = folder / name;
  std::error_code ec;
  if (fs::exists(fs::symlink_status(made, ec))) {
    return {{}, ShowControls(name) + " už ve složce je; napiš jiný název."};
  }
  if (!fs::create_directory(made, ec) || ec) {
    return {
        {},
        "Složku " + ShowControls(name) + " nelze založit: " + FileErrorInCzech(ec.value()) + "."};
  }
  return {made, ""};
}

fs::path StartFolder(const std::vector<fs::path>& candidates, const ChooserLimits& limits) {
  for (const fs::path& c : candidates) {
    std::error_code ec;
    if (c.empty() || !fs::is_directory(c, ec)) continue;
    const fs::path folder = CleanFolder(c);
    if (!ReadProblem(folder, limits).empty()) continue;
    return folder;
  }
  return "/";
}

}  // namespace quarn::edit
