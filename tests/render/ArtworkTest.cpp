// ArtworkTest.cpp — the pictures the build paints form a set the game can load and tell apart.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "TestGraphics.h"

namespace quarn::test {
namespace {

const std::filesystem::path BinDir = QUARN_TEST_BIN_DIR;

struct Size {
  const char* file;
  int w, h;
};

TEST(Artwork, EveryPictureHasTheSizeItsReaderExpects) {
  for (Size s :
       {Size{"Space.bmp", 40, 40},    {"Quarn.bmp", 40, 40},        {"HotPotato.bmp", 40, 80},
        {"Target.bmp", 40, 80},       {"Enemy1.bmp", 40, 160},      {"Enemy2.bmp", 40, 160},
        {"Enemy3.bmp", 40, 160},      {"LDoors1.bmp", 40, 60},      {"LDoors2.bmp", 40, 60},
        {"LDoors3.bmp", 40, 60},      {"bPlay.bmp", 100, 120},      {"bEditor.bmp", 100, 120},
        {"bControls.bmp", 100, 120},
        {"bCancel.bmp", 37, 120},     {"bYes.bmp", 100, 120},       {"bNo.bmp", 100, 120},
        {"bOK.bmp", 62, 120},         {"iInformation.bmp", 32, 32}, {"iQuestion.bmp", 32, 32},
        {"iExclamation.bmp", 32, 32}, {"iCritical.bmp", 32, 32},    {"Title.bmp", 495, 152},
        {"Logo.bmp", 233, 72}}) {
    SurfacePtr p(SDL_LoadBMP((BinDir / "Graphics" / s.file).string().c_str()));
    ASSERT_NE(p, nullptr) << s.file;
    EXPECT_EQ(p->format->BitsPerPixel, 24) << s.file;
    EXPECT_EQ(p->w, s.w) << s.file;
    EXPECT_EQ(p->h, s.h) << s.file;
  }
}

// Mean absolute difference per channel between the top-left 40 x 40 squares of two slots.
double Difference(const SDL_Surface& a, const SDL_Surface& b, int rowA = 0, int rowB = 0) {
  double sum = 0;
  for (int y = 0; y < 40; ++y) {
    const auto* ra = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(a.pixels) +
                                                       (y + rowA) * a.pitch);
    const auto* rb = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(b.pixels) +
                                                       (y + rowB) * b.pitch);
    for (int x = 0; x < 40; ++x)
      for (int shift : {0, 8, 16})
        sum += std::abs(static_cast<int>((ra[x] >> shift) & 255) -
                        static_cast<int>((rb[x] >> shift) & 255));
  }
  return sum / (40 * 40 * 3);
}

// The trail behind a moving figure is the floor picture squeezed into a strip: only a floor
// that is one colour throughout leaves no streaks, whichever rows or columns the squeeze keeps.
TEST(Artwork, TheFloorLooksTheSameSqueezedIntoAnyStrip) {
  PictureSet set(BinDir);
  ASSERT_FALSE(set.Load().has_value());
  const SDL_Surface& floor = *set.Slot(0);
  SurfacePtr strip(SDL_CreateRGBSurfaceWithFormat(0, 40, 40, 32, floor.format->format));
  for (const SDL_Rect into : {SDL_Rect{0, 0, 40, 3}, SDL_Rect{0, 0, 1, 40}, SDL_Rect{5, 7, 4, 9}}) {
    SDL_FillRect(strip.get(), nullptr, 0);
    SDL_Rect from{0, 0, 40, 40}, to = into;
    ASSERT_EQ(SDL_BlitScaled(const_cast<SDL_Surface*>(&floor), &from, strip.get(), &to), 0);
    for (int y = into.y; y < into.y + into.h; ++y)
      for (int x = into.x; x < into.x + into.w; ++x) {
        const auto* row = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(strip->pixels) + y * strip->pitch);
        const auto* floorRow = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(floor.pixels) + y * floor.pitch);
        ASSERT_EQ(row[x] & 0xFFFFFF, floorRow[x] & 0xFFFFFF) << x << "," << y;
      }
  }
}

TEST(Artwork, TilesLoadAsASetAndLookDifferent) {
  PictureSet set(BinDir);
  ASSERT_FALSE(set.Load().has_value());
  // Every pair of cell pictures a player must tell apart differs clearly.
  const int tiles[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15, 16, 17, 18, 22, 23};
  for (int a : tiles)
    for (int b : tiles)
      if (a < b) {
        EXPECT_GT(Difference(*set.Slot(a), *set.Slot(b)), 6.0) << a << " vs " << b;
      }
  // The animations move: potato and target frames differ, and so do an enemy's frames.
  EXPECT_GT(Difference(*set.Slot(7), *set.Slot(7), 0, 40), 1.0);
  EXPECT_GT(Difference(*set.Slot(8), *set.Slot(8), 0, 40), 1.0);
  for (int enemy : {13, 14, 15})
    EXPECT_GT(Difference(*set.Slot(enemy), *set.Slot(enemy), 0, 80), 1.0) << enemy;
  // The three laser groups' beams differ.
  EXPECT_GT(Difference(*set.Slot(16), *set.Slot(17), 10, 10), 3.0);
  EXPECT_GT(Difference(*set.Slot(17), *set.Slot(18), 10, 10), 3.0);
}

}  // namespace
}  // namespace quarn::test
