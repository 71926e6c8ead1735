// Storage.h — what the file system under the player's folders does differently where Quarn
// runs: on a desktop (Storage.cpp) the system's own, in a browser (web/Storage.cpp) the page's
// storage, which has no hard links, no no-replace rename and must be written out after a change.
#pragma once

#include <filesystem>

namespace quarn::system {

// Moves from onto to unless a file is already at to: 0, EEXIST or the error of the move.
int MoveWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

// A whole file was written, or files removed: the change is made lasting (the page writes its
// storage out; a desktop has done that with the folder's sync already).
void StorageChanged();

}  // namespace quarn::system
