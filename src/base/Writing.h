// Writing.h — how many files the program is writing whole right now. An end forced by a signal
// waits for them a while, so that work being kept (unsaved changes, a win) is not cut off.
#pragma once

#include <atomic>

namespace quarn {

inline std::atomic<int> filesBeingWritten{0};

// Counts one file being written for as long as it lives.
class WritingFile {
 public:
  WritingFile() { ++filesBeingWritten; }
  ~WritingFile() { --filesBeingWritten; }
  WritingFile(const WritingFile&) = delete;
  WritingFile& operator=(const WritingFile&) = delete;
};

inline int FilesBeingWritten() { return filesBeingWritten.load(); }

}  // namespace quarn
