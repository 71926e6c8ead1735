// PictureSet.h — the 24 picture slots (ImC) of the game screen, loaded from the Graphics folder.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "Surface.h"
#include "game/Ports.h"

namespace quarn {

// The folder the program file lives in, as SDL reports it.
std::filesystem::path ProgramFolder();

// base/part/part/..., each part matched whatever its letter case (an exact match wins), so
// "Graphics" and "graphics" reach the one folder. nullopt when some part does not exist.
std::optional<std::filesystem::path> FindCaseless(const std::filesystem::path& base,
                                                  std::initializer_list<std::string_view> parts);

// Reads base/Graphics/<file> (any letter case) into the board's pixel format. The error names
// the file and says whether it is missing or not a readable picture.
std::variant<SurfacePtr, PictureProblem> LoadGraphicsFile(const std::filesystem::path& base,
                                                          std::string_view file);

class PictureSet {
 public:
  static constexpr int SlotCount = 24;
  static constexpr int BuiltInSlot = 9;  // not read from a file; a picture of our own, 80 x 80
  static constexpr int IconSize = 25;    // the potato, key and box icons of the side strips

  // Reads from base's Graphics folder; an empty base means the program's own folder.
  explicit PictureSet(std::filesystem::path base = {});

  // Reads every slot's file again (Space.bmp into slots 0, 19, 20 and 21). On an error naming
  // the file, the set keeps the pictures it had before: a zone is never drawn half from each.
  // beforeChange is called just before the new pictures take the old ones' place, and only when
  // some picture differs from the one it replaces (a file changed on disk since).
  std::optional<PictureProblem> Load(const std::function<void()>& beforeChange = {});
  bool Loaded() const { return loaded_; }

  // The picture of a slot; never null for slot 9, null for the others until the first Load.
  const SDL_Surface* Slot(int slot) const { return slots_.at(static_cast<size_t>(slot)).get(); }
  // The edge of one picture frame in source pixels. The figure slot is shown at a fixed width of
  // 40, whatever the size of its file, so this is always 40.
  uint8_t TileSize() const { return 40; }
  // Slot 7's top frame scaled to 25 x 25: the potato icon of the pocket and need strips.
  const SDL_Surface* PotatoIcon() const { return potatoIcon_.get(); }

  // The file read into a slot ("" for slot 9).
  static std::string_view FileOf(int slot);

 private:
  std::filesystem::path base_;
  std::array<SurfacePtr, SlotCount> slots_;
  SurfacePtr potatoIcon_;
  bool loaded_ = false;
};

}  // namespace quarn
