// TestGraphics.h — a throw-away Graphics folder of solid-colour pictures for drawing tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "render/BoardRenderer.h"

namespace quarn::test {

// The colour of one band of a test picture: every slot and every frame or band differs, so a
// pixel tells which picture and which part of it was copied there.
uint32_t BandColour(int slot, int band);

// Writes the 20 files of the slot table into <temp>/<folderName>/, in the layouts the drawing
// expects: tiles one band of 40 x 40, except the wall, two bands of 20 so that a squeeze shows;
// potato and target two frames; enemies four frames; laser doors 40 x 60 in three bands (top cap,
// beam, bottom cap). Removed again on destruction.
class TestGraphics {
 public:
  explicit TestGraphics(const std::string& folderName = "Graphics");
  ~TestGraphics();
  TestGraphics(const TestGraphics&) = delete;
  TestGraphics& operator=(const TestGraphics&) = delete;

  const std::filesystem::path& Base() const { return base_; }
  std::filesystem::path File(const std::string& name) const { return folder_ / name; }

 private:
  std::filesystem::path base_;
  std::filesystem::path folder_;
};

// The board pixel at (x, y) as 0xRRGGBB.
uint32_t PixelAt(const BoardRenderer& r, int x, int y);

}  // namespace quarn::test
