// KeyBindingsTest.cpp — the player's keys: the file written and read back, the map onto the
// game's own keys, and damaged or hostile files set aside.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <random>

#include "TempFolder.h"
#include "base/Keys.h"
#include "system/KeyBindings.h"

namespace quarn::system {
namespace {

// Random bindings the screen could make: every action on a key KeyRefusal lets it take.
KeyBindings RandomBindings(std::mt19937& rng) {
  KeyBindings b;
  for (size_t a = 0; a < KeyActionCount; ++a) {
    for (int tries = 0; tries < 1000; ++tries) {
      const int key = std::uniform_int_distribution<int>(1, 255)(rng);
      KeyBindings trial = b;
      trial.Keys[a] = key;
      // Taken from an action after it: that one moves to its own key when free.
      if (!KeyRefusal(trial, static_cast<KeyAction>(a), key)) {
        b = trial;
        break;
      }
    }
  }
  return b;
}

// Whatever keys the player chose, the file gives them back, and on the game screen each chosen
// key is its action's own key, each own key given up is nothing, and every other key is itself.
TEST(KeyBindings, TheFileGivesTheKeysBackAndTheMapMakesThemTheGamesOwn) {
  std::mt19937 rng(36);
  int moved = 0;
  for (int round = 0; round < 300; ++round) {
    const KeyBindings b = RandomBindings(rng);
    bool distinct = true;
    for (size_t i = 0; i < KeyActionCount; ++i)
      for (size_t j = i + 1; j < KeyActionCount; ++j) distinct = distinct && b.Keys[i] != b.Keys[j];
    if (!distinct) continue;  // the random walk left a clash; the screen never makes one
    const auto parsed = ParseKeys(KeysText(b));
    ASSERT_TRUE(std::holds_alternative<KeyBindings>(parsed))
        << KeysText(b) << std::get<std::string>(parsed);
    EXPECT_EQ(std::get<KeyBindings>(parsed), b) << KeysText(b);

    const auto map = KeyMapOf(b);
    for (int key = 1; key < 256; ++key) {
      int expected = key;
      for (size_t a = 0; a < KeyActionCount; ++a) {
        if (KeyActions()[a].DefaultKey == key) expected = 0;
      }
      for (size_t a = 0; a < KeyActionCount; ++a) {
        if (b.Keys[a] == key) expected = KeyActions()[a].DefaultKey;
      }
      ASSERT_EQ(map[static_cast<size_t>(key)], expected) << "key " << key << "\n" << KeysText(b);
    }
    moved += b != KeyBindings{} ? 1 : 0;
  }
  EXPECT_GT(moved, 100);
  // The defaults map every key onto itself.
  const auto same = KeyMapOf(KeyBindings{});
  for (int key = 0; key < 256; ++key) EXPECT_EQ(same[static_cast<size_t>(key)], key);
}

TEST(KeyBindings, RefusalsSayWhy) {
  KeyBindings b;
  EXPECT_EQ(KeyRefusal(b, KeyAction::WalkLeft, vk::Right).value_or(""),
            "Klávesa šipka vpravo už patří akci „chůze vpravo“.");
  EXPECT_EQ(KeyRefusal(b, KeyAction::Box, vk::Escape).value_or(""),
            "Klávesa Esc už ve hře slouží k něčemu jinému.");
  EXPECT_TRUE(KeyRefusal(b, KeyAction::Box, 0).has_value());
  EXPECT_FALSE(KeyRefusal(b, KeyAction::WalkLeft, vk::Left).has_value());  // its own key
  EXPECT_FALSE(KeyRefusal(b, KeyAction::WalkLeft, 'A').has_value());
  // A file may swap two actions' keys, in either order of its lines.
  const auto swapped = ParseKeys("walk-left = Right\nwalk-right = Left\n");
  ASSERT_TRUE(std::holds_alternative<KeyBindings>(swapped));
  EXPECT_EQ(std::get<KeyBindings>(swapped).Of(KeyAction::WalkLeft), vk::Right);
}

using KeysFileTest = test::TempFolderTest;

// A damaged or hostile file is set aside and the defaults used; a missing one is no damage.
TEST_F(KeysFileTest, DamagedOrHostileFilesAreSetAsideAndTheDefaultsUsed) {
  const std::filesystem::path config = Root() / "quarn";
  std::filesystem::create_directories(config);
  chmod(config.c_str(), 0700);
  ReadBindings read = ReadKeyBindings(config);
  EXPECT_EQ(read.Bindings, KeyBindings{});
  EXPECT_TRUE(read.Message.empty());

  const std::string bad[] = {
      "walk-left = A\nwalk-left = B\n",          // an action twice
      "walk-left = A\nwalk-up = A\n",            // a key twice
      "jump = A\n",                              // no such action
      "walk-left = Klingon\n",                   // no such key
      "box = Esc\n",                             // one of the game's own keys
      "walk-left A\n",                           // no "="
      std::string("walk-left = \x1b]0;x\x07\n"), // the terminal's controls
      std::string(5000, 'x'),                    // too long
  };
  for (const std::string& text : bad) {
    test::TempFolderTest::Write(config / KeysFile, text);
    read = ReadKeyBindings(config);
    EXPECT_EQ(read.Bindings, KeyBindings{}) << text;
    EXPECT_NE(read.Message.find("používá své klávesy."), std::string::npos) << read.Message;
    EXPECT_EQ(read.Message.find('\x1b'), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(config / KeysFile)) << text;
    for (const auto& entry : std::filesystem::directory_iterator(config))
      std::filesystem::remove(entry.path());
  }
  // A folder in the file's place is set aside too.
  std::filesystem::create_directories(config / KeysFile);
  read = ReadKeyBindings(config);
  EXPECT_FALSE(read.Message.empty());
  EXPECT_FALSE(std::filesystem::exists(config / KeysFile));
}

TEST_F(KeysFileTest, KeptKeysAreReadBackAndTheDefaultsLeaveNoFile) {
  const std::filesystem::path config = Root() / "quarn";
  KeyBindings b;
  b.Keys[static_cast<size_t>(KeyAction::WalkLeft)] = 'A';
  b.Keys[static_cast<size_t>(KeyAction::WalkUp)] = 'W';
  ASSERT_FALSE(KeepKeyBindings(config, b).has_value());
  const ReadBindings read = ReadKeyBindings(config);
  EXPECT_EQ(read.Bindings, b);
  EXPECT_TRUE(read.Message.empty());
  ASSERT_FALSE(KeepKeyBindings(config, KeyBindings{}).has_value());
  EXPECT_FALSE(std::filesystem::exists(config / KeysFile));
}

}  // namespace
}  // namespace quarn::system
