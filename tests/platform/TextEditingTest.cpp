// TextEditingTest.cpp — the text field's cursor: moving by whole Czech letters, typing and
// erasing at it, Ctrl+A, a press that places it, several lines for the notes, and its drawing.
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include "platform/TextField.h"

namespace quarn::platform {
namespace {

constexpr int Backspace = 8, Enter = 13, End = 35, Home = 36, Left = 37, Up = 38, Right = 39,
              Down = 40, Delete = 46;
constexpr Modifiers Ctrl{true, false, false};

class TextEditingTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(TTF_Init(), 0); }
  static void TearDownTestSuite() { TTF_Quit(); }
  void SetUp() override {
    field.Bounds = SDL_Rect{0, 0, 200, 20};
    field.OnChange = [this] { ++changes; };
  }
  // The text with "|" where the cursor is.
  std::string Shown() const {
    std::string t = field.Text;
    return t.insert(field.Cursor(), "|");
  }
  Fonts fonts;
  TextField field{fonts};
  int changes = 0;
};

TEST_F(TextEditingTest, TheCursorMovesByWholeLettersAndTypingAndErasingHappenThere) {
  field.Text = "žluťoučký kůň";
  field.Focus();
  EXPECT_EQ(Shown(), "žluťoučký kůň|") << "typing begins at the end";
  field.KeyDown(Home);
  field.KeyDown(Right);
  EXPECT_EQ(Shown(), "ž|luťoučký kůň") << "ž is two bytes, passed at once";
  field.Type("á");
  EXPECT_EQ(Shown(), "žá|luťoučký kůň");
  field.KeyDown(Backspace);
  field.KeyDown(Backspace);
  EXPECT_EQ(Shown(), "|luťoučký kůň");
  field.KeyDown(Backspace);  // nothing before it
  field.KeyDown(Delete);
  EXPECT_EQ(Shown(), "|uťoučký kůň");
  field.KeyDown(End);
  field.KeyDown(Left);
  field.KeyDown(Left);
  EXPECT_EQ(Shown(), "uťoučký k|ůň");
  field.KeyDown(Delete);
  EXPECT_EQ(Shown(), "uťoučký k|ň");
  field.KeyDown(Right);
  field.KeyDown(Right);  // past the end: stays
  EXPECT_EQ(Shown(), "uťoučký kň|");
  EXPECT_EQ(changes, 5);
  // A letter with a combining caron ("e" + U+030C) is one letter to the cursor.
  field.SetText("se\xCC\x8Cs");
  field.KeyDown(Left);
  field.KeyDown(Left);
  EXPECT_EQ(Shown(), "s|e\xCC\x8Cs");
  field.KeyDown(Delete);
  EXPECT_EQ(Shown(), "s|s");
  // The limit keeps whole letters wherever they go in.
  field.MaxBytes = 4;
  field.Type("čš");
  EXPECT_EQ(Shown(), "sč|s");
}

TEST_F(TextEditingTest, CtrlASelectsAllThatTypingReplacesAndBackspaceClears) {
  field.Text = "Sklep";
  field.Focus();
  EXPECT_TRUE(field.KeyDown('A', Ctrl));
  EXPECT_EQ(field.Selected(), "Sklep");
  field.Type("Půda");
  EXPECT_EQ(Shown(), "Půda|");
  EXPECT_EQ(field.Selected(), "");
  field.KeyDown('A', Ctrl);
  field.KeyDown(Backspace);
  EXPECT_EQ(Shown(), "|");
  field.Text = "abc";
  field.KeyDown('A', Ctrl);
  field.KeyDown(Left);  // the selection ends at its start
  EXPECT_EQ(Shown(), "|abc");
  field.KeyDown('A', Ctrl);
  field.KeyDown(Delete);
  EXPECT_EQ(field.Text, "");
  EXPECT_TRUE(field.KeyDown('A')) << "a plain A is typed, its key the field's";
  EXPECT_EQ(field.Selected(), "");
  // Set from outside, the text takes the cursor to its end and nothing stays selected.
  field.Text = "nový";
  field.Type("!");
  EXPECT_EQ(Shown(), "nový!|");
}

TEST_F(TextEditingTest, APressPutsTheCursorAtTheNearestLetterBoundary) {
  field.Text = "Hrad a les";
  const int prefix = fonts.Measure(field.Font, "Hrad").x;
  field.OnMouseDown(SDL_BUTTON_LEFT, SDL_Point{4 + prefix + 1, 10});
  EXPECT_TRUE(field.Focused());
  EXPECT_EQ(Shown(), "Hrad| a les");
  field.OnMouseDown(SDL_BUTTON_LEFT, SDL_Point{1, 10});
  EXPECT_EQ(Shown(), "|Hrad a les");
  field.OnMouseDown(SDL_BUTTON_LEFT, SDL_Point{199, 10});
  EXPECT_EQ(Shown(), "Hrad a les|");
}

TEST_F(TextEditingTest, SeveralLinesForTheNotes) {
  field.Multiline = true;
  field.Bounds = SDL_Rect{0, 0, 200, 60};
  field.Text = "první\ndruhý řádek\ntřetí";
  field.Focus();
  field.KeyDown(Up);
  EXPECT_EQ(Shown(), "první\ndruhý| řádek\ntřetí") << "up to the same column";
  field.KeyDown(Home);
  EXPECT_EQ(Shown(), "první\n|druhý řádek\ntřetí");
  field.KeyDown(End);
  field.KeyDown(Enter);
  field.Type("vložený");
  EXPECT_EQ(field.Text, "první\ndruhý řádek\nvložený\ntřetí");
  field.KeyDown(Down);
  EXPECT_EQ(Shown(), "první\ndruhý řádek\nvložený\ntřetí|");
  // A press picks the line under the pointer.
  const int line = fonts.Measure(field.Font, "Ág").y;
  field.OnMouseDown(SDL_BUTTON_LEFT, SDL_Point{2, 2 + line + line / 2});
  EXPECT_EQ(Shown(), "první\n|druhý řádek\nvložený\ntřetí");
  field.KeyDown(9);  // Tab finishes
  EXPECT_FALSE(field.Focused());
}

TEST_F(TextEditingTest, TheCursorIsDrawnWhereItIsAndOnlyWithTheKeyboard) {
  field.Text = "ab";
  SurfacePtr s = NewSurface(200, 20);
  auto column = [&](int x) {
    int lit = 0;
    for (int y = 0; y < 20; ++y) {
      Uint8 r, g, b;
      SDL_GetRGB(static_cast<const Uint32*>(s->pixels)[y * s->pitch / 4 + x], s->format, &r, &g,
                 &b);
      lit += r == 255 && g == 255 && b == 255;
    }
    return lit;
  };
  // Past the text's end, where only the cursor can light a pixel.
  const int end = 1 + 3 + fonts.Measure(field.Font, "ab").x;
  const SDL_Rect all{0, 0, 200, 20};
  field.Draw(s.get(), SDL_Point{0, 0}, all);
  EXPECT_EQ(column(end), 0) << "no cursor without the keyboard";
  field.Focus();
  const uint64_t look = field.Look();
  field.Draw(s.get(), SDL_Point{0, 0}, all);
  EXPECT_GE(column(end), 8) << "a bar after b";
  field.KeyDown(Left);
  EXPECT_NE(field.Look(), look) << "a moved cursor is drawn again";
  field.Draw(s.get(), SDL_Point{0, 0}, all);
  EXPECT_EQ(column(end), 0);
}

}  // namespace
}  // namespace quarn::platform
