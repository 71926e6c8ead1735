// TextFieldTest.cpp — typing into the one-line field: Czech letters, its limit, Esc and Enter.
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include "platform/TextField.h"

namespace quarn::platform {
namespace {

class TextFieldTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(TTF_Init(), 0); }
  static void TearDownTestSuite() { TTF_Quit(); }
  void SetUp() override {
    field.OnChange = [this] { ++changes; };
    field.OnCommit = [this] { ++commits; };
  }
  Fonts fonts;
  TextField field{fonts};
  int changes = 0, commits = 0;
};

TEST_F(TextFieldTest, TypesOnlyWhileFocusedAndBackspaceTakesWholeCzechLetters) {
  field.Type("x");
  EXPECT_EQ(field.Text, "");
  field.Focus();
  field.Type("Nová ");
  field.Type("zóna");
  EXPECT_EQ(field.Text, "Nová zóna");
  EXPECT_TRUE(field.KeyDown(8));
  EXPECT_TRUE(field.KeyDown(8));
  EXPECT_EQ(field.Text, "Nová zó");
  EXPECT_TRUE(field.KeyDown(8));
  EXPECT_EQ(field.Text, "Nová z");  // "ó" is two bytes, gone at once
  EXPECT_EQ(changes, 5);
  EXPECT_EQ(DropLastCharacter("č"), "");
  EXPECT_EQ(DropLastCharacter(""), "");
}

TEST_F(TextFieldTest, TheLimitNeverCutsALetterInHalf) {
  field.MaxBytes = 4;
  field.Focus();
  field.Type("abč");  // 4 bytes: fits
  EXPECT_EQ(field.Text, "abč");
  field.Text = "abc";
  field.Type("ž");  // would need 5 bytes
  EXPECT_EQ(field.Text, "abc");
  field.Type("dž");
  EXPECT_EQ(field.Text, "abcd");
}

TEST_F(TextFieldTest, EnterCommitsAndEscPutsBackTheTextTypingBeganWith) {
  field.Text = "12";
  field.Focus();
  field.Type("3");
  EXPECT_TRUE(field.KeyDown(27));
  EXPECT_EQ(field.Text, "12");
  EXPECT_FALSE(field.Focused());
  EXPECT_EQ(commits, 1);
  field.Focus();
  field.Type("5");
  EXPECT_TRUE(field.KeyDown(13));
  EXPECT_EQ(field.Text, "125");
  EXPECT_EQ(commits, 2);
  // Unfocused, the field leaves every key to the window.
  EXPECT_FALSE(field.KeyDown(8));
  EXPECT_FALSE(field.KeyDown('A'));
}

TEST_F(TextFieldTest, FocusShowsInItsLookAndAPressGivesItTheKeyboard) {
  field.Bounds = SDL_Rect{0, 0, 100, 20};
  const uint64_t idle = field.Look();
  field.OnMouseDown(SDL_BUTTON_LEFT, SDL_Point{5, 5});
  EXPECT_TRUE(field.Focused());
  EXPECT_NE(field.Look(), idle);
  field.Blur();
  EXPECT_EQ(field.Look(), idle);
}

}  // namespace
}  // namespace quarn::platform
