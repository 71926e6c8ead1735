// SafeFile.h — files written whole, and only into folders that are the player's own.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"

namespace quarn::system {

// Every function here fails with a Czech sentence for the player that says what went wrong. The
// sentences quote paths with control characters escaped.

// Whether folder (existing or not) can be trusted with the player's files: the folder, when it
// exists, must belong to the player, and it and every folder above it must belong to the player
// or to the system and be writable by nobody else (a shared folder such as /tmp counts only with
// its sticky bit). Otherwise another user could swap files or links in under the game.
Result<void> FolderTrusted(const std::filesystem::path& folder);

// Makes folder and any missing folder above it with mode 0700 (readable by the player alone),
// after and again before answering checking it with FolderTrusted.
Result<void> MakePrivateFolder(const std::filesystem::path& folder);

enum class Existing { Replace, Keep, ReplaceOwn };

// Writes content as the whole of file: into a temporary file created exclusively in the same
// folder (never through a link or over a file already there), synced to the disk and then
// renamed to file, so file is either as before or complete. With Existing::Keep a file (or a
// link) already at that name is left alone and the write fails. With Existing::Replace a file
// that is a symbolic link is written where the link leads, and the link stays; a file written
// again keeps its permissions, a new one is the player's alone (0600). Existing::ReplaceOwn is for
// the game's own folders (records, runs, recovery copies): a link there is never followed out of
// them, and the write fails naming it. Whatever leads there, a folder, a device or a pipe is
// never replaced by a file. The temporary name is
// short whatever file is called, and ends in no ".qrn", so the zone list never sees a
// half-written file. This is the one writer of whole files: zones, records, runs, copies.
Result<void> WriteWhole(const std::filesystem::path& file, std::string_view content,
                        Existing existing = Existing::Replace);

// Removes files the game wrote (a file that is gone already is no failure), and makes it last as
// a write does: synced to the disk, and in a browser written out to the page's storage.
void RemoveWritten(const std::vector<std::filesystem::path>& files);

// Reads a regular file whole, without blocking on a pipe or following into a device. maxBytes
// bounds what is read; a longer file is refused.
Result<std::string> ReadWhole(const std::filesystem::path& file, size_t maxBytes = 64u << 20);
// The same, but a longer file is read only up to maxBytes (a zone's notes after its rows may be
// any length; what the game reads of a zone is far shorter).
Result<std::string> ReadBeginning(const std::filesystem::path& file, size_t maxBytes = 64u << 20);

// The local time as the names of the game's kept files carry it: 20261210-041500.
std::string LocalStamp();
// The name a damaged FILE is set aside under: FILE.damaged-TIME, or with -2, -3, … after it when
// that is taken, so that no later damage takes the place of an earlier one.
std::filesystem::path DamagedName(const std::filesystem::path& file);

}  // namespace quarn::system
