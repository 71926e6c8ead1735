// PictureSet.cpp — finding the Graphics folder, reading the slot pictures, the built-in slot 9.
#include "PictureSet.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <system_error>
#include <utility>

namespace quarn {

namespace {

constexpr std::string_view SlotFiles[PictureSet::SlotCount] = {
    "Space.bmp",      "Quarn.bmp",   "Wall.bmp",      "AirDoor.bmp", "SlamDoor.bmp",
    "SlamLock.bmp",   "Exit.bmp",    "HotPotato.bmp", "Target.bmp",  "",
    "LockedDoor.bmp", "Key.bmp",     "Boxes.bmp",     "Enemy1.bmp",  "Enemy2.bmp",
    "Enemy3.bmp",     "LDoors1.bmp", "LDoors2.bmp",   "LDoors3.bmp", "Space.bmp",
    "Space.bmp",      "Space.bmp",   "Box.bmp",       "Time.bmp"};

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// Whether two pictures show the same pixels.
bool SamePixels(const SDL_Surface* a, const SDL_Surface* b) {
  if (!a || !b || a->w != b->w || a->h != b->h) return a == b;
  const size_t row = static_cast<size_t>(a->w) * 4;
  for (int y = 0; y < a->h; ++y) {
    if (std::memcmp(static_cast<const Uint8*>(a->pixels) + static_cast<ptrdiff_t>(y) * a->pitch,
                    static_cast<const Uint8*>(b->pixels) + static_cast<ptrdiff_t>(y) * b->pitch,
                    row) != 0) {
      return false;
    }
  }
  return true;
}

// Slot 9's picture: no tile code of a zone reaches it, so it only has to be unmistakable if one
// ever does. A violet checkerboard in a dark frame.
SurfacePtr BuiltInPicture() {
  SurfacePtr s = MakeSurface(80, 80);
  if (!s) return s;
  for (int y = 0; y < 80; ++y) {
    auto* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch);
    for (int x = 0; x < 80; ++x) {
      const bool frame =
          x < 2 || y < 2 || x >= 78 || y >= 78 || x == 38 || x == 39 || y == 38 || y == 39;
      const bool light = ((x / 8) + (y / 8)) % 2 == 0;
      row[x] = frame ? 0x201828u : light ? 0x9050C8u : 0x402860u;
    }
  }
  return s;
}

// Mended: the header's size is read first and a picture larger than any the game draws (ours are
// at most 495 x 152) is refused before a pixel is allocated. Otherwise a 54-byte header claiming
// 32767 x 32767 pixels would make the loader allocate gigabytes, again at every restart.
constexpr int MaxPictureEdge = 4096;

std::optional<std::string> OversizedPicture(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  unsigned char h[26] = {};
  if (!in.read(reinterpret_cast<char*>(h), sizeof h) || h[0] != 'B' || h[1] != 'M') {
    return std::nullopt;  // too short to tell, or no bitmap: the loader says what is wrong
  }
  auto le = [&h](int at, int bytes) {
    uint32_t v = 0;
    for (int k = bytes - 1; k >= 0; --k) v = (v << 8) | h[at + k];
    return v;
  };
  int64_t width = 0, height = 0;
  if (le(14, 4) == 12) {  // the small header of early bitmaps: 16-bit sizes
    width = static_cast<int16_t>(le(18, 2));
    height = static_cast<int16_t>(le(20, 2));
  } else {
    width = static_cast<int32_t>(le(18, 4));
    height = static_cast<int32_t>(le(22, 4));  // negative: rows stored top down
  }
  if (std::llabs(width) <= MaxPictureEdge && std::llabs(height) <= MaxPictureEdge) return std::nullopt;
  return "obrázek má podle hlavičky " + std::to_string(std::llabs(width)) + " x " +
         std::to_string(std::llabs(height)) + " pixelů; obrázek smí mít nejvýš " +
         std::to_string(MaxPictureEdge) + " x " + std::to_string(MaxPictureEdge);
}

}  // namespace

std::filesystem::path ProgramFolder() {
  char* base = SDL_GetBasePath();
  if (!base) return std::filesystem::current_path();
  std::filesystem::path p(base);
  SDL_free(base);
  return p;
}

std::optional<std::filesystem::path> FindCaseless(const std::filesystem::path& base,
                                                  std::initializer_list<std::string_view> parts) {
  std::filesystem::path at = base;
  for (std::string_view part : parts) {
    std::error_code ec;
    const std::filesystem::path exact = at / std::string(part);
    if (std::filesystem::exists(exact, ec)) {
      at = exact;
      continue;
    }
    std::optional<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(at, ec)) {
      if (SameIgnoringCase(entry.path().filename().string(), part)) {
        found = entry.path();
        break;
      }
    }
    if (!found) return std::nullopt;
    at = *found;
  }
  return at;
}

std::variant<SurfacePtr, PictureProblem> LoadGraphicsFile(const std::filesystem::path& base,
                                                          std::string_view file) {
  using Reason = PictureProblem::Reason;
  const auto path = FindCaseless(base, {"Graphics", file});
  const std::string shown = (base / "Graphics" / std::string(file)).string();
  if (!path) return PictureProblem{shown, Reason::Missing, ""};
  if (auto oversized = OversizedPicture(*path)) {
    return PictureProblem{path->string(), Reason::Unreadable, *oversized};
  }
  SurfacePtr loaded(SDL_LoadBMP(path->string().c_str()));
  if (!loaded) {
    return PictureProblem{path->string(), Reason::Unreadable,
                          std::string("obrázek nelze přečíst (") + SDL_GetError() + ")"};
  }
  SurfacePtr converted = ToBoardFormat(loaded.get());
  if (!converted) {
    return PictureProblem{path->string(), Reason::Unreadable,
                          std::string("obrázek nelze převést (") + SDL_GetError() + ")"};
  }
  return converted;
}

PictureSet::PictureSet(std::filesystem::path base)
    : base_(base.empty() ? ProgramFolder() : std::move(base)) {
  slots_[BuiltInSlot] = BuiltInPicture();
}

std::string_view PictureSet::FileOf(int slot) { return SlotFiles[slot]; }

std::optional<PictureProblem> PictureSet::Load(const std::function<void()>& beforeChange) {
  std::array<SurfacePtr, SlotCount> fresh;
  for (int slot = 0; slot < SlotCount; ++slot) {
    if (slot == BuiltInSlot) continue;
    auto result = LoadGraphicsFile(base_, SlotFiles[slot]);
    if (auto* error = std::get_if<PictureProblem>(&result)) return *error;
    fresh[static_cast<size_t>(slot)] = std::move(std::get<SurfacePtr>(result));
  }
  SurfacePtr icon = MakeSurface(IconSize, IconSize);
  if (!icon) {
    return PictureProblem{"", PictureProblem::Reason::Unreadable,
                          std::string("nelze vytvořit ikonu brambory: ") + SDL_GetError()};
  }
  const int t = TileSize();
  ScaledCopy(*fresh[7], SourceRect{0, 0, t, t}, *icon, DestRect{0, 0, IconSize, IconSize});

  if (beforeChange) {
    for (int slot = 0; slot < SlotCount; ++slot) {
      if (slot != BuiltInSlot && !SamePixels(fresh[static_cast<size_t>(slot)].get(),
                                             slots_[static_cast<size_t>(slot)].get())) {
        beforeChange();
        break;
      }
    }
  }
  fresh[BuiltInSlot] = std::move(slots_[BuiltInSlot]);
  slots_ = std::move(fresh);
  potatoIcon_ = std::move(icon);
  loaded_ = true;
  return std::nullopt;
}

}  // namespace quarn
