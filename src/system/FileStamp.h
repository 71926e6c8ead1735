// FileStamp.h — telling one version of a file from another: its stamp, read without opening it,
// and its identity, the stamp with a key of its bytes, to know whether another program changed it.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace quarn::system {

// What tells one version of a file from another without reading it: a file rewritten, touched,
// grown or swapped for another differs in at least one of these.
struct FileStamp {
  uint64_t Device = 0, Inode = 0;
  int64_t Size = -1;
  int64_t ModifiedNs = 0, ChangedNs = 0;
  bool operator==(const FileStamp&) const = default;
};

// The stamp of an opened file or of the result of a stat call.
FileStamp StampOf(const struct stat& st);
// The stamp of the file a path leads to (through links); nothing when there is none.
std::optional<FileStamp> StampOfFile(const std::filesystem::path& file);

// A key of a file's bytes (64-bit FNV-1a): equal bytes, equal keys.
uint64_t BytesKey(std::string_view bytes);

// A file as it was seen: its stamp and the key of the bytes it held then.
struct FileIdentity {
  FileStamp Stamp;
  uint64_t Key = 0;
  bool operator==(const FileIdentity&) const = default;
};

// Whether the file at path is no longer the one seen: replaced, rewritten with other bytes, or
// gone. A file only touched, or written again with the same bytes, is the same file; seen is
// brought up to its new stamp then, so that the next look needs no reading.
bool ChangedSince(const std::filesystem::path& file, FileIdentity& seen);

}  // namespace quarn::system
