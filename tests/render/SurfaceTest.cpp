// SurfaceTest.cpp — exclusive-or figures, the board's allocation (a large one takes memory only
// where it is drawn), and saving it as a bitmap.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <vector>

#include "TestGraphics.h"

namespace quarn::test {
namespace {

class Board : public ::testing::Test {
 protected:
  void SetUp() override {
    uint8_t tileSize = 0;
    ASSERT_FALSE(r.LoadGraphics(tileSize).has_value());
    s->TileSize = tileSize;
    r.ResizeBoard(5 * 40, 4 * 40);
    // A board of many colours, so that a pixel XORed twice or skipped shows.
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 5; ++x) {
        s->Board.Set(x, y, (x + 5 * y) % 24);
        r.Nakr(*s, x, y);
      }
  }
  std::vector<uint32_t> Snapshot() const {
    std::vector<uint32_t> all;
    for (int y = 0; y < r.Height(); ++y)
      for (int x = 0; x < r.Width(); ++x) all.push_back(PixelAt(r, x, y));
    return all;
  }
  size_t Changed(const std::vector<uint32_t>& before) const {
    const auto now = Snapshot();
    size_t n = 0;
    for (size_t i = 0; i < now.size(); ++i) n += now[i] != before[i];
    return n;
  }

  TestGraphics g;
  BoardRenderer r{g.Base()};
  std::unique_ptr<GameState> s = std::make_unique<GameState>();
};

TEST_F(Board, ExclusiveOrFiguresDrawnTwiceRestoreEveryPixel) {
  const auto before = Snapshot();
  const Rgb yellow{255, 255, 0}, blue{64, 128, 255};
  auto figures = [&] {
    // The delivery beam's four lines, steep, flat and diagonal, one running off the board.
    r.XorLine(60, 60, 133.3, 53.3, yellow);
    r.XorLine(60, 60, 186.7, 53.3, yellow);
    r.XorLine(60, 60, 133.3, 106.7, yellow);
    r.XorLine(60, 60, 60, 300, yellow);
    r.XorLine(-50, 10, 400, 10, yellow);
    // The death animation's circles: tiny, ordinary, and far larger than the board.
    for (double k : {0.0, 0.5, 1.0, 1.5, 2.0}) r.XorCircle(100, 60, std::pow(2, k + 1), blue);
    r.XorCircle(100, 60, 37, blue);
    r.XorCircle(100, 60, 4096, blue);
    r.XorCircle(100, -500, 560, blue);
  };
  figures();
  EXPECT_GT(Changed(before), 300u);
  figures();
  EXPECT_EQ(Changed(before), 0u);
}

TEST_F(Board, CircleLargerThanTheBoardIsDrawnWhereItFalls) {
  SDL_FillRect(const_cast<SDL_Surface*>(r.Surface()), nullptr, 0);
  // Centre far above the board: only an arc near the bottom crosses it.
  r.XorCircle(100, -1000, 1150, {255, 0, 0});
  int lit = 0;
  for (int x = 0; x < 200; ++x) {
    int inColumn = 0;
    for (int y = 0; y < 160; ++y) inColumn += PixelAt(r, x, y) == 0xFF0000u;
    EXPECT_GE(inColumn, 1) << x;  // the arc is shallow here: it crosses every column
    lit += inColumn;
  }
  EXPECT_LT(lit, 400);
  EXPECT_EQ(PixelAt(r, 100, 150), 0xFF0000u);
  // A circle that misses the board entirely leaves it alone.
  r.XorCircle(1000, 1000, 50, {255, 0, 0});
  r.XorCircle(100, 80, 3000, {255, 0, 0});
  EXPECT_EQ(PixelAt(r, 100, 80), 0u);
}

TEST_F(Board, CircleReachesItsFourExtremesAndLineItsEndpoints) {
  SDL_FillRect(const_cast<SDL_Surface*>(r.Surface()), nullptr, 0);
  r.XorCircle(100, 80, 30, {0, 255, 0});
  for (auto [x, y] : {std::pair{130, 80}, {70, 80}, {100, 110}, {100, 50}})
    EXPECT_EQ(PixelAt(r, x, y), 0x00FF00u) << x << "," << y;
  EXPECT_EQ(PixelAt(r, 100, 80), 0u);
  r.XorLine(10, 150, 20, 150, {0, 0, 255});
  for (int x = 10; x <= 20; ++x) EXPECT_EQ(PixelAt(r, x, 150), 0x0000FFu) << x;
  EXPECT_EQ(PixelAt(r, 9, 150), 0u);
  EXPECT_EQ(PixelAt(r, 21, 150), 0u);
}

TEST_F(Board, SurfaceIsAllocatedOncePerSizeAndBlackenedOnEveryResize) {
  EXPECT_EQ(r.Allocations(), 1);
  r.ResizeBoard(200, 160);
  EXPECT_EQ(r.Allocations(), 1);
  EXPECT_EQ(PixelAt(r, 20, 20), 0u);
  EXPECT_EQ(PixelAt(r, 199, 159), 0u);
  r.ResizeBoard(120, 40);
  EXPECT_EQ(r.Allocations(), 2);
  EXPECT_EQ(r.Width(), 120);
  EXPECT_EQ(r.Surface()->w, 120);
  EXPECT_EQ(r.Surface()->h, 40);
}

TEST_F(Board, SavedBitmapReadsBackPixelForPixel) {
  const auto path = g.Base() / "board.bmp";
  ASSERT_FALSE(r.SaveBmp(path.string()).has_value());
  SurfacePtr loaded(SDL_LoadBMP(path.string().c_str()));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->format->BitsPerPixel, 24);
  SurfacePtr back = ToBoardFormat(loaded.get());
  ASSERT_EQ(back->w, 200);
  ASSERT_EQ(back->h, 160);
  for (int y = 0; y < 160; y += 13)
    for (int x = 0; x < 200; x += 11) {
      const auto* row = reinterpret_cast<const uint32_t*>(
          static_cast<const uint8_t*>(back->pixels) + y * back->pitch);
      ASSERT_EQ(row[x] & 0xFFFFFFu, PixelAt(r, x, y)) << x << "," << y;
    }
  EXPECT_TRUE(r.SaveBmp((g.Base() / "no-such-folder" / "x.bmp").string()).has_value());
}

// The pages of a surface's pixels the kernel holds in memory.
size_t ResidentPages(const SDL_Surface& s) {
  const auto page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto begin = reinterpret_cast<uintptr_t>(s.pixels) & ~(page - 1);
  const uintptr_t end = reinterpret_cast<uintptr_t>(s.pixels) +
                        static_cast<uintptr_t>(s.pitch) * static_cast<uintptr_t>(s.h);
  std::vector<unsigned char> held((end - begin + page - 1) / page);
  if (::mincore(reinterpret_cast<void*>(begin), end - begin, held.data()) != 0) return SIZE_MAX;
  size_t n = 0;
  for (unsigned char h : held) n += h & 1;
  return n;
}

// The largest board (6000 x 5200 pixels, 125 MB) with every cell drawn while a viewport of
// 800 x 480 shows: the surface holds the pages of the viewport's rows, not the board's; opening
// it again with the same pictures keeps it so, and blackening gives the pages back.
TEST(LargeBoard, TakesMemoryOnlyWhereItIsDrawn) {
  TestGraphics g;
  BoardRenderer r{g.Base()};
  auto s = std::make_unique<GameState>();
  uint8_t tileSize = 0;
  ASSERT_FALSE(r.LoadGraphics(tileSize).has_value());
  s->TileSize = tileSize;
  r.SetShownArea(SDL_Rect{2000, 1600, 800, 480});
  const auto open = [&] {
    r.ResizeBoard(150 * 40, 130 * 40);
    for (int x = 0; x < 150; ++x) {
      for (int y = 0; y < 130; ++y) {
        s->Board.Set(x, y, (x + y) % 2 == 0 ? tile::HotPotato : tile::Wall);
        r.Nakr(*s, x, y);
      }
    }
  };
  open();
  const SDL_Surface& surface = *r.ShownSurface();
  const size_t page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
  // Each of the view's rows (and the cell rows it cuts) touches the pages under 800 pixels.
  const size_t viewPages = 520 * (800 * 4 / page + 2);
  const size_t allPages = static_cast<size_t>(surface.pitch) * 5200 / page;
  EXPECT_LE(ResidentPages(surface), viewPages) << "of " << allPages;
  const auto shown = [&](int x, int y) {
    return static_cast<const uint32_t*>(surface.pixels)[x + y * surface.pitch / 4] & 0xFFFFFFu;
  };
  EXPECT_NE(shown(2000, 1600), 0u);

  // A restart reads the same pictures and blackens the surface: the cells out of view are not
  // drawn on the way.
  ASSERT_FALSE(r.LoadGraphics(tileSize).has_value());
  EXPECT_LE(ResidentPages(surface), viewPages) << "of " << allPages;
  r.ResizeBoard(150 * 40, 130 * 40);
  EXPECT_EQ(r.Allocations(), 1);
  EXPECT_LE(ResidentPages(surface), 8u);
  EXPECT_EQ(shown(2000, 1600), 0u);
  open();
  EXPECT_LE(ResidentPages(surface), viewPages) << "of " << allPages;
  // Read whole (a saved picture), the board is drawn everywhere.
  EXPECT_EQ(PixelAt(r, 5990, 5190), PixelAt(r, 10, 10));
}

}  // namespace
}  // namespace quarn::test
