// MappedPixels.cpp — a page's memory is one block that only grows: no pixels are mapped there,
// and every surface is allocated and cleared as SDL does it.
#include "render/MappedPixels.h"

namespace quarn {

void* MapPixels(size_t) { return nullptr; }
void UnmapPixels(void*, size_t) {}
bool ZeroMappedPixels(void*, size_t) { return false; }

}  // namespace quarn
