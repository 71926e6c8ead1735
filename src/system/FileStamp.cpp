// FileStamp.cpp — file stamps from stat, and the key of a file's bytes.
#include "FileStamp.h"

#include <string>

#include "SafeFile.h"

namespace quarn::system {

FileStamp StampOf(const struct stat& st) {
  FileStamp s;
  s.Device = st.st_dev;
  s.Inode = st.st_ino;
  s.Size = st.st_size;
  s.ModifiedNs = int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec;
  s.ChangedNs = int64_t{st.st_ctim.tv_sec} * 1'000'000'000 + st.st_ctim.tv_nsec;
  return s;
}

std::optional<FileStamp> StampOfFile(const std::filesystem::path& file) {
  struct stat st {};
  if (stat(file.c_str(), &st) != 0) return std::nullopt;
  return StampOf(st);
}

uint64_t BytesKey(std::string_view bytes) {
  uint64_t hash = 14695981039346656037ull;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

bool ChangedSince(const std::filesystem::path& file, FileIdentity& seen) {
  const auto stamp = StampOfFile(file);
  if (!stamp) return true;
  if (*stamp == seen.Stamp) return false;
  const auto bytes = ReadWhole(file);
  if (!bytes || BytesKey(*bytes) != seen.Key) return true;
  seen.Stamp = *stamp;
  return false;
}

}  // namespace quarn::system
