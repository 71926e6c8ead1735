// EditorCanvasTest.cpp — the editor's view over a zone (zoom, scroll, the cell under the pointer)
// and the canvas drawn with the game's pictures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/GameState.h"
#include "ui/EditorCanvas.h"

namespace quarn::ui {
namespace {

uint32_t PixelAt(const SDL_Surface* s, int x, int y) {
  return static_cast<const uint32_t*>(s->pixels)[y * s->pitch / 4 + x] & 0xFFFFFF;
}

EditorView ViewOf(int columns, int rows, int zoom = 40) {
  EditorView v;
  v.ViewWidth = 600;
  v.ViewHeight = 520;
  v.Columns = columns;
  v.Rows = rows;
  v.Zoom = zoom;
  v.Clamp();
  return v;
}

TEST(EditorView, TheLargestZoneFitsWholeAtTheSmallestStepAndASmallOneAtFullSize) {
  EXPECT_EQ(ViewOf(150, 130).FitZoom(), 4);
  EXPECT_EQ(ViewOf(15, 13).FitZoom(), 40);
  EXPECT_EQ(ViewOf(20, 12).FitZoom(), 20);
  EXPECT_EQ(ViewOf(151, 10).FitZoom(), 4);  // nothing fits: the smallest step
  for (int z : ZoomSteps) EXPECT_EQ(40 % z, 0) << z;
}

TEST(EditorView, ASmallZoneIsCentredAndALargeOneStopsAtItsEdges) {
  EditorView small = ViewOf(10, 10);  // 400 x 400 in 600 x 520
  EXPECT_EQ(small.Left, -100);
  EXPECT_EQ(small.Top, -60);
  small.ScrollBy(500, 500);
  EXPECT_EQ(small.Left, -100);
  EXPECT_EQ(small.CellAt({99, 200}), std::nullopt);
  EXPECT_EQ(small.CellAt({100, 60})->x, 0);
  EXPECT_EQ(small.CellAt({499, 459})->y, 9);
  EXPECT_EQ(small.CellAt({500, 459}), std::nullopt);

  EditorView large = ViewOf(150, 130);
  large.ScrollBy(-80, -80);
  EXPECT_EQ(large.Left, 0);
  large.ScrollBy(100000, 100000);
  EXPECT_EQ(large.Left, 150 * 40 - 600);
  EXPECT_EQ(large.Top, 130 * 40 - 520);
  EXPECT_EQ(large.CellAt({599, 519})->x, 149);
  EXPECT_EQ(large.CellAt({599, 519})->y, 129);
  EXPECT_EQ(large.CellAt({600, 0}), std::nullopt);  // off the canvas
}

TEST(EditorView, ZoomingKeepsTheCellUnderThePointerAndRevealCentresACell) {
  EditorView v = ViewOf(150, 130);
  v.ScrollBy(2000, 1000);
  const SDL_Point anchor{300, 200};
  const SDL_Point before = *v.CellAt(anchor);
  ASSERT_TRUE(v.Step(false, anchor));
  EXPECT_EQ(v.Zoom, 20);
  EXPECT_EQ(v.CellAt(anchor)->x, before.x);
  EXPECT_EQ(v.CellAt(anchor)->y, before.y);
  ASSERT_TRUE(v.Step(true, anchor));
  ASSERT_FALSE(v.Step(true, anchor));  // already the largest
  v.SetZoom(4, anchor);
  EXPECT_FALSE(v.Step(false, anchor));
  EXPECT_EQ(v.Left, 0);  // 600 pixels wide: exactly the canvas

  v.SetZoom(40, anchor);
  v.Reveal(75, 65);
  const SDL_Rect r = v.CellRect(75, 65);
  EXPECT_NEAR(r.x + r.w / 2, 300, 20);
  EXPECT_NEAR(r.y + r.h / 2, 260, 20);
  v.Reveal(0, 0);
  EXPECT_EQ(v.CellRect(0, 0).x, 0);
}

TEST(EditorCodes, LaserDoorsShowTheirBeamAndTheExitSiteTheExit) {
  EXPECT_EQ(EditorCodeOf('a'), tile::LaserA);
  EXPECT_EQ(EditorCodeOf('c'), tile::LaserC);
  EXPECT_EQ(EditorCodeOf('E'), tile::Exit);
  EXPECT_EQ(EditorCodeOf('W'), tile::Wall);
  EXPECT_EQ(EditorCodeOf('x'), tile::Space);
}

class EditorCanvasTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(canvas.LoadPictures(), std::nullopt); }
  // The colour of the picture of code at its pixel (px, py), as the 40-pixel board draws it.
  uint32_t PictureAt(int slot, int px, int py) {
    return PixelAt(canvas.Pictures().Slot(slot), px, py);
  }
  EditorCanvas canvas{QUARN_BIN_DIR, 600, 520};
};

TEST_F(EditorCanvasTest, CellsShowTheGamesPicturesAtEveryZoom) {
  canvas.SetZone(3, 1, {"WRT"});
  EditorView& v = canvas.View();
  ASSERT_EQ(v.Zoom, 40);
  const SDL_Rect wall = v.CellRect(0, 0), time = v.CellRect(2, 0);
  EXPECT_EQ(PixelAt(canvas.Surface(), wall.x + 13, wall.y + 17), PictureAt(tile::Wall, 13, 17));
  EXPECT_EQ(PixelAt(canvas.Surface(), time.x + 5, time.y + 30), PictureAt(tile::Time, 5, 30));
  v.SetZoom(4, {300, 260});
  canvas.ComposeAll();
  const SDL_Rect small = v.CellRect(2, 0);
  // Canvas pixel (1, 2) of a cell is picture pixel (10, 20).
  EXPECT_EQ(PixelAt(canvas.Surface(), small.x + 1, small.y + 2), PictureAt(tile::Time, 10, 20));
  // Beyond the zone the canvas is its own dark blue, not a black floor.
  EXPECT_EQ(PixelAt(canvas.Surface(), 0, 0), 0x181830u);
}

TEST_F(EditorCanvasTest, APaintedCellRedrawsItselfAndTheLaserCapsOfTheWallsBesideIt) {
  canvas.SetZone(3, 3, {"WWW", "...", "WWW"});
  canvas.TakeDamage();
  const int64_t drawn = canvas.CellsDrawn();
  canvas.SetCell(1, 1, 'a');
  EXPECT_EQ(canvas.CellAt(1, 1), 'a');
  EXPECT_EQ(canvas.CellsDrawn() - drawn, 3);  // the door and the two walls
  const SDL_Rect above = canvas.View().CellRect(1, 0);
  // The wall above the door now ends in the top rows of the laser picture, squeezed.
  const uint32_t cap = PixelAt(canvas.Surface(), above.x + 20, above.y + 35);
  bool fromCap = false;
  for (int y = 0; y < 10; ++y) fromCap = fromCap || cap == PictureAt(tile::LaserA, 20, y);
  EXPECT_TRUE(fromCap) << std::hex << cap;
  const std::vector<SDL_Rect> damage = canvas.TakeDamage();
  ASSERT_EQ(damage.size(), 3u);
  for (const SDL_Rect& r : damage) EXPECT_LE(r.w, 42);

  // The same character again draws nothing.
  canvas.SetCell(1, 1, 'a');
  EXPECT_TRUE(canvas.TakeDamage().empty());
  // Outside the zone nothing happens.
  canvas.SetCell(3, 1, 'W');
  canvas.SetCell(-1, 0, 'W');
  EXPECT_TRUE(canvas.TakeDamage().empty());
}

TEST_F(EditorCanvasTest, FindingsAreFramedInRedAndTheFrameGoesWithTheFinding) {
  canvas.SetZone(4, 4, {"....", "....", "....", "...."});
  const SDL_Rect c = canvas.View().CellRect(2, 1);
  const uint32_t edge = PixelAt(canvas.Surface(), c.x + 1, c.y + 1);
  const uint32_t middle = PixelAt(canvas.Surface(), c.x + 20, c.y + 20);
  canvas.SetMarks({SDL_Point{2, 1}});
  EXPECT_EQ(PixelAt(canvas.Surface(), c.x + 1, c.y + 1), 0xFF2828u);
  EXPECT_EQ(PixelAt(canvas.Surface(), c.x + 20, c.y + 20), middle);
  canvas.SetMarks({});
  EXPECT_EQ(PixelAt(canvas.Surface(), c.x + 1, c.y + 1), edge);
}

}  // namespace
}  // namespace quarn::ui
