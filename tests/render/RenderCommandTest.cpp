// RenderCommandTest.cpp — quarn-zone render draws the board the replay leaves behind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "TestGraphics.h"

namespace quarn::test {
namespace {

const std::filesystem::path BinDir = QUARN_TEST_BIN_DIR;

class RenderCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(dir.Base() / "walk.qrn") << "\"Walk\"\n5\n3\n4\n4\n4\n4\n0\n0\n0\n"
                                              "WWWWW\n"
                                              "WS.RW\n"
                                              "WWWWW\n";
    std::ofstream(dir.Base() / "right.keys") << "# one cell to the right\n4 right\n4 -\n";
  }
  // Runs quarn-zone render; returns its exit status and the picture it wrote.
  int Render(const std::string& options, SurfacePtr& picture) {
    const auto out = dir.Base() / "out.bmp";
    std::filesystem::remove(out);
    const std::string command = (BinDir / "quarn-zone").string() + " render " +
                                (dir.Base() / "walk.qrn").string() + " " + out.string() + " " +
                                options + " 2>/dev/null";
    const int status = std::system(command.c_str());
    SurfacePtr loaded(SDL_LoadBMP(out.string().c_str()));
    picture = loaded ? ToBoardFormat(loaded.get()) : nullptr;
    return status;
  }
  static uint32_t At(const SurfacePtr& p, int x, int y) {
    return reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(p->pixels) +
                                             y * p->pitch)[x] &
           0xFFFFFFu;
  }
  // Whether the 40 x 40 squares of cell (ax, 1) of a and cell (bx, 1) of b are equal.
  static bool SameCell(const SurfacePtr& a, int ax, const SurfacePtr& b, int bx) {
    for (int y = 40; y < 80; ++y)
      for (int x = 0; x < 40; ++x)
        if (At(a, ax * 40 + x, y) != At(b, bx * 40 + x, y)) return false;
    return true;
  }

  TestGraphics dir;  // only its temporary folder is used; the art comes from beside the tool
};

TEST_F(RenderCommand, DrawsTheOpenedZoneAndTheBoardAfterAReplay) {
  SurfacePtr opened, walked;
  ASSERT_EQ(Render("", opened), 0);
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(opened->w, 200);
  EXPECT_EQ(opened->h, 120);
  ASSERT_EQ(Render("--keys " + (dir.Base() / "right.keys").string(), walked), 0);
  ASSERT_NE(walked, nullptr);
  // The figure moved one cell to the right; trail strips of floor wiped it from its old cell.
  EXPECT_TRUE(SameCell(walked, 2, opened, 1));
  EXPECT_FALSE(SameCell(walked, 1, opened, 1));
  EXPECT_FALSE(SameCell(walked, 1, walked, 2));
  // The potato blinks with the clock: eight ticks on it shows its other frame.
  EXPECT_FALSE(SameCell(walked, 3, opened, 3));
}

TEST_F(RenderCommand, RefusesWhatItCannotDo) {
  SurfacePtr picture;
  EXPECT_NE(Render("--ticks many", picture), 0);
  EXPECT_NE(Render("--keys " + (dir.Base() / "none.keys").string(), picture), 0);
  EXPECT_EQ(picture, nullptr);
  std::filesystem::remove(dir.Base() / "walk.qrn");
  EXPECT_NE(Render("", picture), 0);
  EXPECT_EQ(picture, nullptr);
}

}  // namespace
}  // namespace quarn::test
