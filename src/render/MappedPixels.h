// MappedPixels.h — pixels for a large surface taken from the system a page at a time: they read
// as zeros, take memory only where drawn on, and are cleared by giving the pages back. On a
// desktop (MappedPixels.cpp) an anonymous mapping; a page (web/MappedPixels.cpp) has one block
// of memory and none to give, and its surfaces are allocated as SDL allocates them.
#pragma once

#include <cstddef>

namespace quarn {

// bytes of zeros, or nullptr when there are none to be had this way.
void* MapPixels(size_t bytes);
void UnmapPixels(void* pixels, size_t bytes);
// The pixels read as zeros again; false when they could not be given back (clear them then).
bool ZeroMappedPixels(void* pixels, size_t bytes);

}  // namespace quarn
