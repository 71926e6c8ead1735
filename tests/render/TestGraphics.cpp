// TestGraphics.cpp — writes the solid-colour test pictures and reads board pixels back.
#include "TestGraphics.h"

#include <stdlib.h>

#include <stdexcept>
#include <string_view>

namespace quarn::test {

namespace {

void WriteBands(const std::filesystem::path& path, int slot, int width,
                std::initializer_list<int> bandHeights) {
  int height = 0;
  for (int h : bandHeights) height += h;
  SurfacePtr s(SDL_CreateRGBSurfaceWithFormat(0, width, height, 24, SDL_PIXELFORMAT_BGR24));
  int y = 0, band = 0;
  for (int h : bandHeights) {
    const uint32_t c = BandColour(slot, band++);
    SDL_Rect r{0, y, width, h};
    SDL_FillRect(s.get(), &r, SDL_MapRGB(s->format, (c >> 16) & 255, (c >> 8) & 255, c & 255));
    y += h;
  }
  if (SDL_SaveBMP(s.get(), path.string().c_str()) != 0)
    throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

uint32_t BandColour(int slot, int band) {
  return (static_cast<uint32_t>(slot * 10 + 5) << 16) |
         (static_cast<uint32_t>(band * 50 + 30) << 8) | 0x99u;
}

TestGraphics::TestGraphics(const std::string& folderName) {
  std::string pattern = (std::filesystem::temp_directory_path() / "quarn-render-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  base_ = pattern;
  folder_ = base_ / folderName;
  std::filesystem::create_directories(folder_);
  for (int slot = 0; slot < PictureSet::SlotCount; ++slot) {
    const std::string_view file = PictureSet::FileOf(slot);
    if (file.empty() || (slot >= 19 && slot <= 21)) continue;  // 19..21 read Space.bmp
    const auto path = folder_ / std::string(file);
    if (slot == 7 || slot == 8)
      WriteBands(path, slot, 40, {40, 40});
    else if (slot >= 13 && slot <= 15)
      WriteBands(path, slot, 40, {40, 40, 40, 40});
    else if (slot >= 16 && slot <= 18)
      WriteBands(path, slot, 40, {10, 40, 10});
    else if (slot == 2)
      WriteBands(path, slot, 40, {20, 20});  // halves show a squeeze
    else
      WriteBands(path, slot, 40, {40});
  }
}

TestGraphics::~TestGraphics() {
  std::error_code ec;
  std::filesystem::remove_all(base_, ec);
}

uint32_t PixelAt(const BoardRenderer& r, int x, int y) {
  const SDL_Surface* s = r.Surface();
  const auto* row =
      reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(s->pixels) + y * s->pitch);
  return row[x] & 0xFFFFFFu;
}

}  // namespace quarn::test
