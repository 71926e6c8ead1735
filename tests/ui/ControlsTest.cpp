// ControlsTest.cpp — the player's own keys made on the controls screen: refused where the game
// cannot give them, kept in the keys file, named by the help and taken by the next game screen.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "FakeClock.h"
#include "ScriptedPrompter.h"
#include "base/Keys.h"
#include "platform/App.h"
#include "sound/SoundModule.h"
#include "system/KeyBindings.h"
#include "ui/Flow.h"
#include "ui/KeyFeed.h"

namespace quarn::ui {
namespace {

namespace fs = std::filesystem;
using system::KeyAction;

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every caption on the help's page.
std::vector<std::string> HelpCaptions(const HelpWindow& help) {
  std::vector<std::string> captions;
  for (const platform::Control* c : help.Page().Children) {
    if (auto* l = dynamic_cast<const platform::Label*>(c)) captions.push_back(l->Caption);
  }
  return captions;
}

bool HasLineStarting(const std::vector<std::string>& lines, const std::string& start) {
  for (const std::string& l : lines) {
    if (l.rfind(start, 0) == 0) return true;
  }
  return false;
}

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    root = fs::temp_directory_path() / ("quarn-controls-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "zones");
    std::ofstream(root / "zones" / "a.qrn") << "\"Rychlá\"\n6\n3\n4\n8\n8\n8\n01\n01\n01\n"
                                               "WWWWWW\nWSR..E\nWWWCWW\n";
    app = std::make_unique<platform::App>(keyFeed, clock);
    program = std::make_unique<ProgramContext>(tickKeys, &tickKeys);
    sound = std::make_unique<SoundModule>(QUARN_BIN_DIR);
  }
  void TearDown() override {
    flow.reset();
    sound.reset();
    program.reset();
    app.reset();
    fs::remove_all(root);
  }
  Flow& Start() {
    FlowFolders folders{QUARN_BIN_DIR, {{root / "zones"}}, "", root / "zones"};
    folders.Config = Config();
    flow = std::make_unique<Flow>(*app, *program, *sound, prompter, folders);
    flow->Begin(false);
    return *flow;
  }
  fs::path Config() const { return root / "config"; }
  // Chooses the action's row from wherever the choice is, asks for a new key, and presses it.
  void Rebind(ControlsWindow& c, KeyAction action, int key) {
    platform::Window& w = c.Window();
    w.OnKeyDown(vk::Home);
    for (int i = 0; i < static_cast<int>(action); ++i) w.OnKeyDown(vk::Down);
    w.OnKeyDown(vk::Enter);
    ASSERT_TRUE(c.Waiting());
    w.OnKeyDown(key);
  }

  fs::path root;
  KeyState keys;
  TickKeys tickKeys{keys};
  KeyFeed keyFeed{keys};
  FakeClock clock;
  ScriptedPrompter prompter;
  std::unique_ptr<platform::App> app;
  std::unique_ptr<ProgramContext> program;
  std::unique_ptr<SoundModule> sound;
  std::unique_ptr<Flow> flow;
};

// The walk keys moved to A, W, D, S on the screen, with a refusal on the way; the file, the
// help and the next game screen follow, and the defaults come back after a question.
TEST_F(ControlsTest, TheWalkKeysMovedOnTheScreenReachTheFileTheHelpAndTheGame) {
  Flow& f = Start();
  // The help made before names the game's own keys.
  f.Start().Window().OnKeyDown(vk::F1);
  ASSERT_NE(f.Help(), nullptr);
  EXPECT_TRUE(HasLineStarting(HelpCaptions(*f.Help()), "šipky – chůze"));
  f.Help()->Window().OnKeyDown(vk::Escape);
  f.Start().Window().OnKeyDown('K');
  ASSERT_NE(f.Controls(), nullptr);
  ControlsWindow& c = *f.Controls();
  EXPECT_TRUE(c.Shown());
  EXPECT_EQ(c.KeyShown(0), "šipka vlevo");

  Rebind(c, KeyAction::WalkLeft, 'A');
  Rebind(c, KeyAction::WalkUp, 'W');
  // A key another action has, or one the game screen uses, is refused with the reason, and the
  // screen goes on waiting for a key it can give.
  Rebind(c, KeyAction::WalkRight, 'A');
  EXPECT_TRUE(c.Waiting());
  EXPECT_EQ(c.Line(), "Klávesa A už patří akci „chůze vlevo“. Stiskni jinou klávesu, nebo Esc.");
  c.Window().OnKeyDown('N');
  EXPECT_TRUE(c.Waiting());
  EXPECT_NE(c.Line().find("Klávesa N už ve hře slouží k něčemu jinému."), std::string::npos);
  EXPECT_EQ(c.KeyShown(2), "stiskni klávesu…");
  c.Window().OnKeyDown('D');
  EXPECT_FALSE(c.Waiting());
  EXPECT_EQ(c.Line(), "Chůze vpravo má teď klávesu D.");
  // Esc while waiting leaves the key as it was.
  Rebind(c, KeyAction::WalkDown, vk::Escape);
  EXPECT_EQ(c.Line(), "Chůze dolů má dál klávesu šipka dolů.");
  Rebind(c, KeyAction::WalkDown, 'S');

  system::KeyBindings wanted;
  for (auto [action, key] : {std::pair{KeyAction::WalkLeft, int{'A'}}, {KeyAction::WalkUp, int{'W'}},
                             {KeyAction::WalkRight, int{'D'}}, {KeyAction::WalkDown, int{'S'}}})
    wanted.Keys[static_cast<size_t>(action)] = key;
  EXPECT_EQ(c.Bindings(), wanted);
  EXPECT_EQ(f.KeyBindings(), wanted);
  // Kept at once: the file reads back as the screen shows it.
  EXPECT_EQ(system::ReadKeyBindings(Config()).Bindings, wanted);
  EXPECT_NE(ReadText(Config() / system::KeysFile).find("walk-right = D\n"), std::string::npos);

  // Esc closes the screen; the help names the player's keys now.
  c.Window().OnKeyDown(vk::Escape);
  EXPECT_FALSE(c.Shown());
  f.Start().Window().OnKeyDown(vk::F1);
  ASSERT_NE(f.Help(), nullptr);
  EXPECT_TRUE(HasLineStarting(HelpCaptions(*f.Help()), "A, W, D, S – "));
  EXPECT_FALSE(HasLineStarting(HelpCaptions(*f.Help()), "šipky – chůze"));
  f.Help()->Window().OnKeyDown(vk::Escape);

  // The next game screen takes them: D walks right, and Right is nothing there.
  f.Start().Window().OnKeyDown(vk::Enter);
  ASSERT_NE(f.Game(), nullptr);
  ASSERT_TRUE(f.Game()->Window().KeyMap.has_value());
  const auto& map = *f.Game()->Window().KeyMap;
  EXPECT_EQ(map['D'], vk::Right);
  EXPECT_EQ(map[vk::Right], 0);
  EXPECT_EQ(map[vk::Space], vk::Space);
  f.Game()->Window().OnKeyDown(vk::Escape);
  ASSERT_TRUE(f.Start().Window().Shown());

  // Delete asks first: No keeps the keys, Yes gives back the game's own and removes the file.
  f.Start().Window().OnKeyDown('K');
  c.Window().OnKeyDown(vk::Delete);
  EXPECT_EQ(c.Bindings(), wanted);
  EXPECT_EQ(prompter.asked.back().Prompt, "Vrátit všem akcím klávesy hry?");
  prompter.answers = {msgbox::ResultYes};
  c.Window().OnKeyDown(vk::Delete);
  EXPECT_EQ(c.Bindings(), system::KeyBindings{});
  EXPECT_EQ(f.KeyBindings(), system::KeyBindings{});
  EXPECT_FALSE(fs::exists(Config() / system::KeysFile));
  EXPECT_EQ(c.KeyShown(0), "šipka vlevo");
}

// A keys file that cannot be written leaves the keys in force for this run, and the line says
// they are not kept.
TEST_F(ControlsTest, AKeyThatCannotBeKeptStillHoldsAndThePlayerIsTold) {
  fs::create_directories(root);
  std::ofstream(Config()) << "a file where the folder should be";
  Flow& f = Start();
  f.Start().Window().OnKeyDown('K');
  ControlsWindow& c = *f.Controls();
  Rebind(c, KeyAction::Box, 'X');
  EXPECT_EQ(c.Bindings().Of(KeyAction::Box), 'X');
  EXPECT_EQ(f.KeyBindings().Of(KeyAction::Box), 'X');
  EXPECT_EQ(c.Line().rfind("Položit bednu má teď klávesu X. Klávesy se ale nepodařilo uložit: ", 0),
            0u)
      << c.Line();
  EXPECT_EQ(ReadText(Config()), "a file where the folder should be");
}

}  // namespace
}  // namespace quarn::ui
