// NoInotify.cpp — a page's storage sends no change notices: the zone list finds no inotify and
// reads its folders at each refresh, as it does where inotify is used up.
#include <cerrno>
#include <cstdint>

extern "C" {
int inotify_init1(int) {
  errno = ENOSYS;
  return -1;
}
int inotify_add_watch(int, const char*, uint32_t) {
  errno = ENOSYS;
  return -1;
}
int inotify_rm_watch(int, int) {
  errno = ENOSYS;
  return -1;
}
}
