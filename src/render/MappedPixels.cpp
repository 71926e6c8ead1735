// MappedPixels.cpp — a large surface's pixels as a private anonymous mapping.
#include "MappedPixels.h"

#include <sys/mman.h>

namespace quarn {

void* MapPixels(size_t bytes) {
  void* pixels = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return pixels == MAP_FAILED ? nullptr : pixels;
}

void UnmapPixels(void* pixels, size_t bytes) { ::munmap(pixels, bytes); }

// A private anonymous mapping reads as zeros again after its pages are given back.
bool ZeroMappedPixels(void* pixels, size_t bytes) {
  return ::madvise(pixels, bytes, MADV_DONTNEED) == 0;
}

}  // namespace quarn
