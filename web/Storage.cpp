// Storage.cpp — the player's folders in the page's storage (IndexedDB under the page's file
// system): the page is its only writer and it has no hard links, so a move without replacing
// looks first; and every change is written out to the browser's storage at once (the page's
// loader defines quarnSync, which takes a change that comes while one goes out with the next).
#include <emscripten.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "system/Storage.h"

namespace quarn::system {

int MoveWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
  struct stat there {};
  if (lstat(to.c_str(), &there) == 0) return EEXIST;
  return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

void StorageChanged() {
  EM_ASM({
    if (Module.quarnSync) Module.quarnSync();
  });
}

}  // namespace quarn::system
