// Icon.h — the program's icon: the Quarn figure on the start screen's blue, at any size.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quarn::icon {

// size x size pixels, four bytes each (red, green, blue, alpha), rows top to bottom.
std::vector<uint8_t> PaintIcon(int size);

// Writes an RGBA picture as PNG; false with why when it cannot be written.
bool SavePng(const std::string& path, const std::vector<uint8_t>& rgba, int size, std::string& why);

}  // namespace quarn::icon
