// LayoutTest.cpp — the game screen's layout table: geometry that holds the screen together.
#include <SDL.h>
#include <gtest/gtest.h>

#include "Version.h"
#include "game/GameState.h"
#include "platform/Fonts.h"
#include "ui/GameLayout.h"

namespace quarn::ui {
namespace {

SDL_Rect RectOf(std::string_view name) {
  const LayoutEntry& e = GameControl(name);
  return SDL_Rect{e.Left, e.Top, e.Width, e.Height};
}

bool Inside(const SDL_Rect& inner, const SDL_Rect& outer) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
         inner.y + inner.h <= outer.y + outer.h;
}

TEST(GameLayout, EverythingSitsOnTheScreenInItsBand) {
  const SDL_Rect screen{0, 0, GameScreenWidth, GameScreenHeight};
  const int topLine = GameControl("Line1(0)").Top;
  const int bottomLine = GameControl("Line1(1)").Top;
  for (const LayoutEntry& e : GameLayout()) {
    if (!e.Parent.empty()) continue;
    const SDL_Rect r{e.Left, e.Top, e.Width, e.Height};
    EXPECT_TRUE(Inside(r, screen)) << e.Name;
    // The panel above the upper line, the strips below the lower one, the viewport between.
    if (e.Name == "Picture1" || e.Kind == ControlKind::Line) continue;
    if (e.Name == "picKapsa" || e.Name == "picNeed") {
      EXPECT_GT(e.Top, bottomLine) << e.Name;
    } else {
      EXPECT_LT(e.Top + e.Height, topLine + 1) << e.Name;
    }
  }
  const SDL_Rect view = RectOf("Picture1");
  EXPECT_EQ(view.w, ViewWidth);
  EXPECT_EQ(view.h, ViewHeight);
  EXPECT_EQ(view.x, 0);
  EXPECT_GT(view.y, topLine);
  EXPECT_LT(view.y + view.h, bottomLine + 1);
  EXPECT_EQ(GameScreenWidth, FormWidth);
}

TEST(GameLayout, LabelsInTheirFramesAndIndicatorsInThePocket) {
  EXPECT_TRUE(Inside(RectOf("Label5"), RectOf("Shape1(0)")));
  EXPECT_TRUE(Inside(RectOf("Label6"), RectOf("Shape1(1)")));
  // The pocket's first 50 pixels are the two indicators, 25 x 25 each.
  EXPECT_EQ(GameControl("picKapsa").Width, 50);
  const SDL_Rect key = RectOf("ImC(11)"), box = RectOf("ImC(22)");
  EXPECT_EQ(GameControl("ImC(11)").Parent, "picKapsa");
  EXPECT_EQ(key.x + key.w, box.x);
  EXPECT_EQ(box.x + box.w, 50);
  EXPECT_EQ(key.h, GameControl("picKapsa").Height);
  // An empty need strip is right-aligned 5 pixels from the edge.
  EXPECT_EQ(GameControl("picNeed").Left + GameControl("picNeed").Width, GameScreenWidth - 5);
  // The box overlay rides on the board and its number fills it.
  EXPECT_EQ(GameControl("picBox").Parent, "Pole");
  EXPECT_EQ(RectOf("NoBx").w, RectOf("picBox").w);
  EXPECT_EQ(RectOf("NoBx").h, RectOf("picBox").h);
}

TEST(GameLayout, TextsAndFontsThePlayerSees) {
  EXPECT_EQ(GameControl("Label1").Caption, "Verze " QUARN_VERSION_TEXT);
  EXPECT_EQ(GameControl("Command5").Caption, "Zpomalit");
  EXPECT_EQ(GameControl("Command6").Caption, "Zrychlit");
  EXPECT_EQ(GameControl("Label5").Caption, "Restart");
  EXPECT_EQ(GameControl("Label6").Caption, "×");
  EXPECT_NE(GameControl("Label4").Caption.find("firmu," + std::string(52, ' ') + "hledám"),
            std::string_view::npos);
  const platform::Fonts fonts;
  for (const LayoutEntry& e : GameLayout()) {
    if (e.Kind != ControlKind::Label) continue;
    EXPECT_TRUE(e.Font == "Arial" || e.Font == "Comic Sans MS") << e.Name;
    // Every label's font is installed, or its stand-in is.
    EXPECT_FALSE(fonts.FileFor(std::string(e.Font), true).empty()) << e.Name;
  }
  // The countdown's three-digit times (three time bonuses give 140) fit whole beside the
  // close button.
  const LayoutEntry& rt = GameControl("lblRT");
  EXPECT_GT(rt.Left, GameControl("Shape1(1)").Left + GameControl("Shape1(1)").Width);
  EXPECT_TRUE(rt.RightAligned);
  ASSERT_EQ(TTF_Init(), 0);
  {
    platform::Fonts measuring;
    EXPECT_LE(measuring.Measure({"Arial", rt.Points, true}, "140").x, rt.Width);
    EXPECT_LE(measuring.Measure({"Arial", rt.Points, true}, "888").x, rt.Width);
  }
  TTF_Quit();
}

TEST(GameLayout, NamesAreUnique) {
  const auto& layout = GameLayout();
  for (size_t i = 0; i < layout.size(); ++i) {
    for (size_t j = i + 1; j < layout.size(); ++j) EXPECT_NE(layout[i].Name, layout[j].Name);
  }
  EXPECT_THROW(GameControl("Command7"), std::out_of_range);
}

}  // namespace
}  // namespace quarn::ui
