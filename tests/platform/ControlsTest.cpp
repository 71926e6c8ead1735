// ControlsTest.cpp — fonts, word wrap, clipping and mouse hit-testing of the controls, off screen.
#include <gtest/gtest.h>

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

TEST(WholeScale, LargestWholeFactorThatFits) {
  EXPECT_EQ(WholeScale(800, 600, 1280, 1024), 1);
  EXPECT_EQ(WholeScale(800, 600, 1920, 1040), 1);
  EXPECT_EQ(WholeScale(800, 600, 2560, 1400), 2);
  EXPECT_EQ(WholeScale(800, 600, 3840, 2100), 3);
  EXPECT_EQ(WholeScale(800, 600, 640, 480), 1);  // never below 1
}

}  // namespace
}  // namespace quarn::platform
