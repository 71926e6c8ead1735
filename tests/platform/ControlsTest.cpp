// ControlsTest.cpp — fonts, word wrap, clipping and mouse hit-testing of the controls, off screen.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Controls.h"
#include "platform/Window.h"

namespace quarn::platform {
namespace {

class WithFonts : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(TTF_Init(), 0); }
  static void TearDownTestSuite() { TTF_Quit(); }
};

uint32_t PixelAt(SDL_Surface* s, int x, int y) {
  return static_cast<uint32_t*>(s->pixels)[y * s->pitch / 4 + x] & 0xFFFFFF;
}

TEST(Fonts, PointsAreMeasuredAtNinetySixDpi) {
  EXPECT_EQ(PixelSizeOf(9.75), 13);
  EXPECT_EQ(PixelSizeOf(8.25), 11);
  EXPECT_EQ(PixelSizeOf(12), 16);
  EXPECT_EQ(PixelSizeOf(18), 24);
  EXPECT_EQ(PixelSizeOf(20.25), 27);
  EXPECT_EQ(PixelSizeOf(48), 64);
}

TEST_F(WithFonts, TheScreensFontsHaveTheirStandIns) {
  Fonts fonts;
  EXPECT_NE(fonts.FileFor("Arial", true).find("LiberationSans-Bold"), std::string::npos)
      << fonts.FileFor("Arial", true);
  EXPECT_NE(fonts.FileFor("Comic Sans MS", true).find("ComicNeue"), std::string::npos)
      << fonts.FileFor("Comic Sans MS", true);
  const SDL_Point big = fonts.Measure({"Arial", 48, true}, "50");
  const SDL_Point small = fonts.Measure({"Arial", 8.25, true}, "50");
  EXPECT_GT(big.x, 3 * small.x);
  EXPECT_GE(big.y, 64);
  // Czech letters are in the font: the width of "ě" is that of a glyph, not of a missing box.
  EXPECT_EQ(fonts.Measure({"Arial", 12, true}, "ě").x, fonts.Measure({"Arial", 12, true}, "e").x);
}

TEST_F(WithFonts, WordWrapBreaksAtSpacesAndDropsThemAtTheBreak) {
  Fonts fonts;
  Label label(fonts);
  label.Font = {"Arial", 8.25, true};
  label.WordWrap = true;
  label.Caption = "one two three";
  label.Bounds = SDL_Rect{0, 0, 1000, 20};
  EXPECT_EQ(label.Lines(), (std::vector<std::string>{"one two three"}));
  label.Bounds.w = fonts.Measure(label.Font, "one two").x;
  EXPECT_EQ(label.Lines(), (std::vector<std::string>{"one two", "three"}));
  // A long run of spaces pushes the next word onto the next line and vanishes there.
  label.Caption = "one" + std::string(80, ' ') + "two";
  EXPECT_EQ(label.Lines(), (std::vector<std::string>{"one", "two"}));
  label.WordWrap = false;
  EXPECT_EQ(label.Lines().size(), 1u);
  // A line feed always ends a line; with word wrap each line is wrapped on its own.
  label.Caption = "Vyhrál jsi!\nHrát znovu?";
  EXPECT_EQ(label.Lines(), (std::vector<std::string>{"Vyhrál jsi!", "Hrát znovu?"}));
  label.WordWrap = true;
  label.Caption = "one two three\n\none";
  EXPECT_EQ(label.Lines(), (std::vector<std::string>{"one two", "three", "", "one"}));
}

TEST(Controls, PictureBoxClipsItsChildrenAndKeepsItsCanvas) {
  SurfacePtr target = NewSurface(100, 100);
  SurfacePtr canvas = NewSurface(500, 500);  // far larger than its box, as the board is
  SDL_FillRect(canvas.get(), nullptr, SDL_MapRGB(canvas->format, 0, 255, 0));
  PictureBox view;
  view.Bounds = SDL_Rect{10, 10, 50, 50};
  view.Background = Colour{0, 0, 0};
  PictureBox board;
  board.Bounds = SDL_Rect{-20, -20, 500, 500};  // scrolled up and left
  board.Canvas = canvas.get();
  view.Children.push_back(&board);
  view.Draw(target.get(), SDL_Point{10, 10}, SDL_Rect{0, 0, 100, 100});
  EXPECT_EQ(PixelAt(target.get(), 10, 10), 0x00FF00u);
  EXPECT_EQ(PixelAt(target.get(), 59, 59), 0x00FF00u);
  EXPECT_EQ(PixelAt(target.get(), 60, 60), 0u);  // outside the viewport nothing leaks
  EXPECT_EQ(PixelAt(target.get(), 9, 9), 0u);

  // Hidden children are not drawn and take no clicks.
  board.Visible = false;
  SDL_FillRect(target.get(), nullptr, 0);
  view.Draw(target.get(), SDL_Point{10, 10}, SDL_Rect{0, 0, 100, 100});
  EXPECT_EQ(PixelAt(target.get(), 30, 30), 0u);
}

// Drawing skips what an opaque child hides. Whatever the target held before, the boxes' area must
// come out the same: a skip that left a pixel unpainted shows the old content there.
TEST(Controls, WhatAChildHidesIsSkippedButNothingIsLeftUnpainted) {
  SurfacePtr board = NewSurface(60, 30);  // smaller than its box: the box's background shows
  SDL_FillRect(board.get(), nullptr, SDL_MapRGB(board->format, 0, 200, 0));
  SurfacePtr keyed = NewSurface(80, 80);  // a colour key lets what is under it show through
  SDL_FillRect(keyed.get(), nullptr, SDL_MapRGB(keyed->format, 200, 0, 200));
  SDL_SetColorKey(keyed.get(), SDL_TRUE, SDL_MapRGB(keyed->format, 200, 0, 200));
  PictureBox root, view, pole, overlay, hidden;
  root.Bounds = SDL_Rect{0, 0, 100, 100};
  root.Background = Colour{0, 0, 0};
  view.Bounds = SDL_Rect{10, 10, 70, 50};
  view.Background = Colour{0, 0, 128};
  pole.Bounds = SDL_Rect{-5, -5, 90, 40};  // reaches past the view, which cuts it
  pole.Background = Colour{50, 50, 50};
  pole.Canvas = board.get();
  overlay.Bounds = SDL_Rect{40, 20, 30, 30};
  overlay.Canvas = keyed.get();
  hidden.Bounds = SDL_Rect{0, 0, 100, 100};
  hidden.Background = Colour{255, 255, 255};
  hidden.Visible = false;
  view.Children = {&pole, &overlay};
  root.Children = {&view, &hidden};
  const SDL_Rect clips[] = {{0, 0, 100, 100}, {12, 12, 20, 10}, {66, 36, 10, 6},
                            {60, 30, 30, 40}, {5, 5, 10, 90}};
  for (const SDL_Rect& clip : clips) {
    SurfacePtr a = NewSurface(100, 100), b = NewSurface(100, 100);
    SDL_FillRect(a.get(), nullptr, SDL_MapRGB(a->format, 255, 0, 0));
    SDL_FillRect(b.get(), nullptr, SDL_MapRGB(b->format, 0, 0, 255));
    if (!root.Covers(SDL_Point{0, 0}, clip)) {
      SDL_FillRect(a.get(), &clip, 0);
      SDL_FillRect(b.get(), &clip, 0);
    }
    root.Draw(a.get(), SDL_Point{0, 0}, clip);
    root.Draw(b.get(), SDL_Point{0, 0}, clip);
    for (int y = clip.y; y < clip.y + clip.h; ++y) {
      for (int x = clip.x; x < clip.x + clip.w; ++x) {
        ASSERT_EQ(PixelAt(a.get(), x, y), PixelAt(b.get(), x, y))
            << "at " << x << "," << y << " in clip " << clip.x << "," << clip.y;
      }
    }
  }
  EXPECT_TRUE(root.Covers(SDL_Point{0, 0}, SDL_Rect{0, 0, 100, 100}));
  EXPECT_TRUE(view.Covers(SDL_Point{10, 10}, SDL_Rect{10, 10, 55, 25})) << "the pole's canvas";
  EXPECT_FALSE(overlay.Covers(SDL_Point{50, 30}, SDL_Rect{55, 35, 5, 5})) << "a keyed canvas";
  EXPECT_FALSE(hidden.Covers(SDL_Point{0, 0}, SDL_Rect{0, 0, 10, 10})) << "a hidden box";
}

TEST(Controls, MouseFindsTheTopmostControlWithAHandler) {
  PictureBox root;
  root.Bounds = SDL_Rect{0, 0, 800, 600};
  Shape frame;  // decoration under the label: takes no clicks
  frame.Bounds = SDL_Rect{648, 10, 30, 29};
  Shape close;
  close.Bounds = SDL_Rect{649, 10, 28, 29};
  close.OnClick = [] {};
  PictureBox viewport;
  viewport.Bounds = SDL_Rect{0, 85, 800, 480};
  viewport.CatchesMouse = true;
  root.Children = {&close, &frame, &viewport};
  EXPECT_EQ(root.ControlAt(SDL_Point{660, 20}), &close);
  EXPECT_EQ(root.ControlAt(SDL_Point{648, 20}), nullptr);  // the frame's own edge is background
  EXPECT_EQ(root.ControlAt(SDL_Point{400, 300}), &viewport);
  EXPECT_EQ(root.ControlAt(SDL_Point{400, 40}), nullptr);
  close.Visible = false;
  EXPECT_EQ(root.ControlAt(SDL_Point{660, 20}), nullptr);
}

TEST(Controls, ScaledCopyOfAPartOfAPicture) {
  // The potato icon: the top 40 x 40 frame of a 40 x 80 strip, shown at 25 x 25.
  SurfacePtr strip = NewSurface(40, 80);
  SDL_Rect lower{0, 40, 40, 40};
  SDL_FillRect(strip.get(), nullptr, SDL_MapRGB(strip->format, 255, 0, 0));
  SDL_FillRect(strip.get(), &lower, SDL_MapRGB(strip->format, 0, 0, 255));
  SurfacePtr target = NewSurface(100, 100);
  const SDL_Rect top{0, 0, 40, 40};
  BlitScaled(strip.get(), &top, target.get(), SDL_Rect{50, 0, 25, 25}, SDL_Rect{0, 0, 60, 100});
  EXPECT_EQ(PixelAt(target.get(), 50, 0), 0xFF0000u);
  EXPECT_EQ(PixelAt(target.get(), 59, 24), 0xFF0000u);
  EXPECT_EQ(PixelAt(target.get(), 60, 10), 0u);  // clipped
  EXPECT_EQ(PixelAt(target.get(), 55, 25), 0u);  // the lower frame never shows
}

TEST_F(WithFonts, ListBoxKeysMoveTheSelectionAndTheListScrollsToShowIt) {
  Fonts fonts;
  ListBox list(fonts);
  list.Bounds = SDL_Rect{-1, -1, 142, 114};
  EXPECT_EQ(list.ListIndex(), -1);
  EXPECT_TRUE(list.KeyDown(40));  // keys on an empty list select nothing and do no harm
  EXPECT_EQ(list.ListIndex(), -1);
  for (int i = 0; i < 20; ++i) list.AddItem("zóna " + std::to_string(i));
  const int rows = list.VisibleRows();
  ASSERT_GE(rows, 5);
  ASSERT_LT(rows, 20);
  list.SetListIndex(0);

  EXPECT_TRUE(list.KeyDown(38));  // Up at the top stays
  EXPECT_EQ(list.ListIndex(), 0);
  list.KeyDown(40);
  EXPECT_EQ(list.ListIndex(), 1);
  EXPECT_EQ(list.TopIndex(), 0);
  list.KeyDown(34);  // Page Down: a page less one row
  EXPECT_EQ(list.ListIndex(), rows);
  EXPECT_EQ(list.TopIndex(), 1);  // the selection is the last row shown
  list.KeyDown(35);               // End
  EXPECT_EQ(list.ListIndex(), 19);
  EXPECT_EQ(list.TopIndex(), 20 - rows);
  list.KeyDown(40);  // Down at the bottom stays
  EXPECT_EQ(list.ListIndex(), 19);
  list.KeyDown(33);  // Page Up
  EXPECT_EQ(list.ListIndex(), 19 - (rows - 1));
  EXPECT_EQ(list.TopIndex(), 20 - rows);  // still in view: no scroll
  list.KeyDown(36);                       // Home
  EXPECT_EQ(list.ListIndex(), 0);
  EXPECT_EQ(list.TopIndex(), 0);
  EXPECT_FALSE(list.KeyDown(13));  // Enter is not the list's

  // A selection past the end of a list that got shorter lands on its last entry.
  list.SetListIndex(30);
  EXPECT_EQ(list.ListIndex(), 19);
  list.Clear();
  list.AddItem("jediná");
  list.SetListIndex(5);
  EXPECT_EQ(list.ListIndex(), 0);
  EXPECT_EQ(list.TopIndex(), 0);
}

TEST_F(WithFonts, ListBoxPressSelectsTheRowUnderThePointerAndItsHolderCutsItsBorder) {
  Fonts fonts;
  ListBox list(fonts);
  list.Bounds = SDL_Rect{-1, -1, 142, 114};
  for (int i = 0; i < 12; ++i) list.AddItem("zóna " + std::to_string(i));
  list.SetListIndex(0);
  PictureBox holder;
  holder.Bounds = SDL_Rect{12, 189, 140, 112};
  holder.Children.push_back(&list);
  PictureBox root;
  root.Bounds = SDL_Rect{0, 0, 511, 314};
  root.Children.push_back(&holder);

  // Through the holder, in window pixels: the third row.
  const int row = list.RowHeight();
  const SDL_Point p{40, 189 + 2 * row + row / 2};
  ASSERT_EQ(root.ControlAt(p), &list);
  const SDL_Point origin = root.OriginOf(&list).value();
  EXPECT_EQ(origin.x, 11);
  EXPECT_EQ(origin.y, 188);
  list.OnMouseDown(SDL_BUTTON_LEFT, SDL_Point{p.x - origin.x, p.y - origin.y});
  EXPECT_EQ(list.ListIndex(), 2);
  list.OnMouseDown(SDL_BUTTON_RIGHT, SDL_Point{p.x - origin.x, 1});
  EXPECT_EQ(list.ListIndex(), 2);  // only the left button selects
  // A press on the scroll bar below its thumb turns a page and leaves the selection alone.
  list.Press(SDL_Point{list.Bounds.w - 4, list.Bounds.h - 4});
  EXPECT_EQ(list.TopIndex(), 12 - list.VisibleRows());
  EXPECT_EQ(list.ListIndex(), 2);
  // The wheel scrolls three rows a notch, within the list.
  list.OnWheel(2);
  EXPECT_EQ(list.TopIndex(), std::max(0, 12 - list.VisibleRows() - 6));
  list.OnWheel(-10);
  EXPECT_EQ(list.TopIndex(), 12 - list.VisibleRows());

  SurfacePtr frame = NewSurface(511, 314);
  list.SetTopIndex(0);
  root.Draw(frame.get(), SDL_Point{0, 0}, root.Bounds);
  EXPECT_EQ(PixelAt(frame.get(), 13, 190), 0x000080u);  // inside: the list's background
  EXPECT_EQ(PixelAt(frame.get(), 11, 188), 0u);         // its border lies outside the holder
  // The selected row is highlighted across the text area, the others are not.
  EXPECT_EQ(PixelAt(frame.get(), 120, 189 + 2 * row + 1), 0x00FFFFu);
  EXPECT_EQ(PixelAt(frame.get(), 120, 189 + row + 1), 0x000080u);
}

TEST(WholeScale, LargestWholeFactorThatFits) {
  EXPECT_EQ(WholeScale(800, 600, 1280, 1024), 1);
  EXPECT_EQ(WholeScale(800, 600, 1920, 1040), 1);
  EXPECT_EQ(WholeScale(800, 600, 2560, 1400), 2);
  EXPECT_EQ(WholeScale(800, 600, 3840, 2100), 3);
  EXPECT_EQ(WholeScale(800, 600, 640, 480), 1);  // never below 1
}

}  // namespace
}  // namespace quarn::platform
