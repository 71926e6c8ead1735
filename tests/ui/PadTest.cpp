// PadTest.cpp — the game played with a pad alone: SDL's virtual pad on the dummy display (and on
// X when SDL_VIDEODRIVER names it), through the same key delivery as the keyboard.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>
#include <variant>

#include "FakeClock.h"
#include "platform/App.h"
#include "platform/KeyInput.h"
#include "run/Replay.h"
#include "sound/SoundModule.h"
#include "system/KeyBindings.h"
#include "ui/Dialog.h"
#include "ui/GameScreen.h"
#include "ui/HelpWindow.h"
#include "ui/KeyFeed.h"
#include "ui/PadKeys.h"
#include "ui/StartScreen.h"

namespace quarn::ui {
namespace {

const std::string Zone01 = std::string(QUARN_ZONES_DIR) + "/01-prvni-kroky.qrn";
const std::string Solution01 = std::string(QUARN_SOLUTIONS_DIR) + "/01-prvni-kroky.keys";

// A pad of SDL's standard layout, plugged in for the test; SDL maps its buttons one to one.
class VirtualPad {
 public:
  VirtualPad() {
    SDL_VirtualJoystickDesc d{};
    d.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    d.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    d.naxes = SDL_CONTROLLER_AXIS_MAX;
    d.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    d.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    d.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    d.name = "Quarn test pad";
    const int index = SDL_JoystickAttachVirtualEx(&d);
    EXPECT_GE(index, 0) << SDL_GetError();
    joystick_ = SDL_JoystickOpen(index);
    EXPECT_NE(joystick_, nullptr) << SDL_GetError();
    id_ = SDL_JoystickInstanceID(joystick_);
  }
  ~VirtualPad() { Unplug(); }
  void Button(SDL_GameControllerButton b, bool down) {
    SDL_JoystickSetVirtualButton(joystick_, b, down ? 1 : 0);
  }
  void StickX(int value) {
    SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(value));
  }
  void Unplug() {
    if (!joystick_) return;
    SDL_JoystickClose(joystick_);
    joystick_ = nullptr;
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
      if (SDL_JoystickGetDeviceInstanceID(i) == id_) SDL_JoystickDetachVirtual(i);
    }
  }

 private:
  SDL_Joystick* joystick_ = nullptr;
  SDL_JoystickID id_ = -1;
};

// SDL drops a pad's events while none of the program's windows has the keyboard; the dummy
// display gives no window the keyboard.
void PadsWithoutFocus() { SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1"); }

// The game screen with a virtual pad plugged in and no keyboard used.
class PadPlay : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    app = std::make_unique<platform::App>(keyFeed, clock);
    app->PadKeys = MenuPadKeys();
    PadsWithoutFocus();
    app->UsePads("");
    program = std::make_unique<ProgramContext>(tickKeys, &tickKeys);
    sound = std::make_unique<SoundModule>(QUARN_BIN_DIR);
    sound->SetEnabled(false);
    dialog = std::make_unique<Dialog>(*app, QUARN_BIN_DIR);
    screen = std::make_unique<GameScreen>(*app, *program, *sound, *dialog, QUARN_BIN_DIR);
    screen->OnTicked = [this] { ++ticked; };
    screen->OnHelp = [this] { ++helps; };
    screen->OnWin = [this](const system::FinishedRun& run) { won = run; };
    pad = std::make_unique<VirtualPad>();
    app->DeliverPending();  // the pad is announced and taken
    ASSERT_TRUE(app->PadInUse());
  }
  void TearDown() override {
    pad.reset();
    screen.reset();
    dialog.reset();
    sound.reset();
    program.reset();
    app.reset();
  }
  // The pad's state reaches the game as the event loop would hand it on.
  void Pump() { app->DeliverPending(); }
  // Lets n game ticks pass, a millisecond of the clock at a time.
  void Ticks(int64_t n) {
    const int64_t until = ticked + n;
    while (ticked < until) {
      clock.now += 1'000'000;
      app->Timers().RunDue();
    }
  }
  // Holds the pad's buttons as a key line names its keys: arrows on the D-pad, space on A.
  void HoldLikeScript(KeyMask mask) {
    const std::pair<int, SDL_GameControllerButton> buttons[] = {
        {vk::Left, SDL_CONTROLLER_BUTTON_DPAD_LEFT},   {vk::Up, SDL_CONTROLLER_BUTTON_DPAD_UP},
        {vk::Right, SDL_CONTROLLER_BUTTON_DPAD_RIGHT}, {vk::Down, SDL_CONTROLLER_BUTTON_DPAD_DOWN},
        {vk::Space, SDL_CONTROLLER_BUTTON_A}};
    const std::vector<int> held = KeysOfMask(mask);
    for (const auto& [key, button] : buttons)
      pad->Button(button, std::find(held.begin(), held.end(), key) != held.end());
  }
  GameState& State() { return screen->TheGame().State; }
  // Lets the clock run ms milliseconds, the timers with it.
  void RunFor(int64_t ms) {
    for (int64_t i = 0; i < ms; ++i) {
      clock.now += 1'000'000;
      app->Timers().RunDue();
    }
  }
  // A press and release of a button, each handed on as the event loop would.
  void Tap(SDL_GameControllerButton b, int64_t heldMs = 50) {
    pad->Button(b, true);
    Pump();
    RunFor(heldMs);
    pad->Button(b, false);
    Pump();
    RunFor(20);
  }

  KeyState keys;
  TickKeys tickKeys{keys};
  KeyFeed keyFeed{keys};
  FakeClock clock;
  std::unique_ptr<platform::App> app;
  std::unique_ptr<ProgramContext> program;
  std::unique_ptr<SoundModule> sound;
  std::unique_ptr<Dialog> dialog;
  std::unique_ptr<GameScreen> screen;
  std::unique_ptr<VirtualPad> pad;
  int64_t ticked = 0;
  int helps = 0;
  std::optional<system::FinishedRun> won;
};

KeyScript Parsed(const std::string& text) {
  auto parsed = ParseKeyScript(text);
  EXPECT_TRUE(std::holds_alternative<KeyScript>(parsed));
  return std::get<KeyScript>(parsed);
}

// The tick a script wins zone 01 at, played headless; 0 when it does not.
int64_t HeadlessWinTick(const KeyScript& script) {
  Replay replay;
  EXPECT_FALSE(replay.Open(Zone01).has_value());
  int64_t tick = 0;
  for (const KeyScriptStep& step : script.Steps) {
    if (step.Action != KeyScriptAction::Keys) continue;
    for (int32_t i = 0; i < step.Ticks; ++i) {
      replay.Tick(step.Keys);
      ++tick;
      if (replay.Session().WonHalted()) return tick;
    }
  }
  return 0;
}

// Zone 01 won by the D-pad and A alone, the win question answered by B (Ne): the run is kept as
// the key lines a keyboard would give, and played headless it wins in the same tick.
TEST_F(PadPlay, ZoneOneIsWonWithThePadAloneAndItsRunReplaysHeadlessInTheSameTicks) {
  auto text = ReadKeyScriptText(Solution01);
  ASSERT_TRUE(std::holds_alternative<std::string>(text));
  const KeyScript solution = Parsed(std::get<std::string>(text));
  const int64_t winTick = HeadlessWinTick(solution);
  ASSERT_GT(winTick, 0);

  ASSERT_TRUE(screen->Load(Zone01));
  int64_t played = 0;
  for (const KeyScriptStep& step : solution.Steps) {
    if (step.Action != KeyScriptAction::Keys || played >= winTick) continue;
    HoldLikeScript(step.Keys);
    Pump();
    const int64_t n = std::min<int64_t>(step.Ticks, winTick - played);
    if (played + n == winTick) {
      // B goes down as the win comes: the question's window takes it as Ne.
      pad->Button(SDL_CONTROLLER_BUTTON_B, true);
    }
    Ticks(n);
    played += n;
  }
  ASSERT_TRUE(won.has_value()) << "not won after " << played << " ticks at " << State().PlayerX
                               << "," << State().PlayerY;
  ASSERT_TRUE(won->Ticks.has_value());
  EXPECT_EQ(*won->Ticks, winTick);
  EXPECT_TRUE(screen->Session().WonHalted());  // Ne: the screen stays at the win
  EXPECT_EQ(HeadlessWinTick(Parsed(won->Keys)), winTick) << won->Keys;
  // The button let go after the question changes nothing in play.
  pad->Button(SDL_CONTROLLER_BUTTON_B, false);
  HoldLikeScript(0);
  Pump();
  Ticks(3);
  EXPECT_TRUE(screen->Session().WonHalted());
}

// The stick walks past its dead zone only; Start pauses, Y opens the help, Back restarts (Ctrl+R),
// B held goes back, and a pad pulled out in play pauses it and lets its keys go.
TEST_F(PadPlay, StickStartBackYBAndUnplugging) {
  ASSERT_TRUE(screen->Load(Zone01));
  const int startX = State().PlayerX, startY = State().PlayerY;
  Ticks(2);
  pad->StickX(platform::Pads::StickRelease);  // inside the dead zone: no walking
  Pump();
  Ticks(20);
  EXPECT_EQ(State().PlayerX, startX);
  pad->StickX(32767);
  Pump();
  Ticks(20);
  EXPECT_GT(State().PlayerX, startX);
  pad->StickX(platform::Pads::StickRelease + 1);  // still held: once pushed, it lets go lower
  Pump();
  const int walked = State().PlayerX;
  Ticks(4);
  EXPECT_GT(State().PlayerX, walked);
  pad->StickX(0);
  Pump();
  Ticks(60);
  const int stood = State().PlayerX;
  Ticks(10);
  EXPECT_EQ(State().PlayerX, stood);

  pad->Button(SDL_CONTROLLER_BUTTON_Y, true);
  Pump();
  EXPECT_EQ(helps, 1);
  pad->Button(SDL_CONTROLLER_BUTTON_Y, false);

  pad->Button(SDL_CONTROLLER_BUTTON_START, true);
  Pump();
  EXPECT_TRUE(screen->Paused());
  pad->Button(SDL_CONTROLLER_BUTTON_START, false);
  Pump();
  pad->Button(SDL_CONTROLLER_BUTTON_START, true);
  Pump();
  EXPECT_FALSE(screen->Paused());
  pad->Button(SDL_CONTROLLER_BUTTON_START, false);

  // B held: the run goes back towards its start while it is held.
  pad->Button(SDL_CONTROLLER_BUTTON_B, true);
  Pump();
  for (int ms = 0; ms < 3000; ++ms) {
    clock.now += 1'000'000;
    app->Timers().RunDue();
  }
  pad->Button(SDL_CONTROLLER_BUTTON_B, false);
  Pump();
  EXPECT_EQ(State().PlayerX, startX);

  // Back restarts: Ctrl and R held for a tick, as the keys would be.
  pad->StickX(32767);
  Pump();
  Ticks(30);
  pad->StickX(0);
  Pump();
  Ticks(40);
  ASSERT_NE(State().PlayerX, startX);
  pad->Button(SDL_CONTROLLER_BUTTON_BACK, true);
  Pump();
  Ticks(2);
  pad->Button(SDL_CONTROLLER_BUTTON_BACK, false);
  Pump();
  Ticks(2);
  EXPECT_EQ(State().PlayerX, startX);
  EXPECT_EQ(State().PlayerY, startY);

  // Pulled out while walking: the play pauses and the walk key is let go.
  pad->Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
  Pump();
  Ticks(3);
  pad->Unplug();
  Pump();
  EXPECT_FALSE(app->PadInUse());
  EXPECT_TRUE(screen->Paused());
  EXPECT_EQ(keys.GetAsyncKeyState(vk::Right) & 0x8000, 0);
}

// A zone of one row: to the right a potato, the target under it and the exit; to the left a
// laser that kills.
std::string RowZone() {
  const std::string zone = ::testing::TempDir() + "/pad-row.qrn";
  FILE* f = std::fopen(zone.c_str(), "w");
  EXPECT_NE(f, nullptr);
  std::fputs("Řada\n6\n3\n4\n8\n8\n8\n0\n0\n0\nWWWWWW\nWaSR.E\nWWWCWW\n", f);
  std::fclose(f);
  return zone;
}

// With the pad alone the player gets on after a win and after a death: A plays again, X takes
// the next zone and B leaves after a win; B still goes back after a death, and the pause then
// leads out by B. The lines name the buttons while a pad is in, the player's own keys once it
// is pulled out, and the buttons again when one is plugged back.
TEST_F(PadPlay, AfterAWinOrADeathThePadLeadsOnAndTheLinesNameItsButtons) {
  const std::string zone = RowZone();
  ASSERT_TRUE(screen->Load(zone));
  screen->EscapeLeadsTo = "výběr zóny";
  int nexts = 0, closed = 0;
  screen->OnNextZone = [&] { ++nexts; };
  screen->OnClosed = [&] { ++closed; };
  system::KeyBindings own;
  own.Keys[static_cast<size_t>(system::KeyAction::Back)] = 'Z';
  own.Keys[static_cast<size_t>(system::KeyAction::Pause)] = 'Q';
  screen->UseKeys(own);
  // The line as shown; it must fit the label in one line.
  auto line = [&] {
    auto& l = dynamic_cast<platform::Label&>(screen->ControlNamed("lblWayOn"));
    EXPECT_LE(l.Lines().size(), 1u) << l.Caption;
    return l.Visible ? l.Caption : std::string();
  };
  // Walks one way until the run ends; for a win, B goes down as it comes and answers the
  // question (Ne).
  auto walk = [&](SDL_GameControllerButton way, bool answerNe) {
    pad->Button(way, true);
    Pump();
    if (answerNe) pad->Button(SDL_CONTROLLER_BUTTON_B, true);
    for (int i = 0; i < 100 && State().GameOver == 0; ++i) RunFor(20);
    pad->Button(way, false);
    pad->Button(SDL_CONTROLLER_BUTTON_B, false);
    Pump();
    RunFor(20);
  };
  const int restarts = screen->TheGame().Restarts();

  walk(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
  ASSERT_TRUE(screen->ShowsWayOn()) << line();
  const std::string time = system::SecondsText(won.value().Ticks.value());
  EXPECT_EQ(line(), "Čas " + time + " s · A – hrát znovu · X – další zóna · B – výběr zóny");
  Tap(SDL_CONTROLLER_BUTTON_X);
  EXPECT_EQ(nexts, 1);
  Tap(SDL_CONTROLLER_BUTTON_A);
  EXPECT_EQ(State().GameOver, 0);
  EXPECT_EQ(screen->TheGame().Restarts(), restarts + 1);
  EXPECT_EQ(line(), "");
  // In play X and A are no way on.
  Tap(SDL_CONTROLLER_BUTTON_X);
  EXPECT_EQ(nexts, 1);

  walk(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
  ASSERT_NE(State().GameOver, 0);
  EXPECT_EQ(line(),
            "Zasáhl tě laser · A – hrát znovu · B – o sekundu zpět · Start, B – výběr zóny");
  Tap(SDL_CONTROLLER_BUTTON_A);
  EXPECT_EQ(State().GameOver, 0);
  EXPECT_EQ(screen->TheGame().Restarts(), restarts + 2);
  walk(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
  ASSERT_NE(State().GameOver, 0);
  Tap(SDL_CONTROLLER_BUTTON_B);
  EXPECT_EQ(State().GameOver, 0);  // a second back: alive again
  EXPECT_EQ(closed, 0);
  walk(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
  ASSERT_NE(State().GameOver, 0);

  // Pulled out: the play pauses, and the lines name the player's own keys.
  pad->Unplug();
  Pump();
  ASSERT_TRUE(screen->Paused());
  EXPECT_EQ(line(), "Q – hrát dál · Esc – výběr zóny");
  screen->TogglePause();
  EXPECT_EQ(line(), "Zasáhl tě laser · Enter – hrát znovu · Z – o sekundu zpět · Esc – výběr zóny");
  // Plugged back: its buttons again; Start pauses, and in the pause B leaves.
  pad = std::make_unique<VirtualPad>();
  Pump();
  ASSERT_TRUE(app->PadInUse());
  EXPECT_EQ(line(),
            "Zasáhl tě laser · A – hrát znovu · B – o sekundu zpět · Start, B – výběr zóny");
  Tap(SDL_CONTROLLER_BUTTON_START);
  ASSERT_TRUE(screen->Paused());
  EXPECT_EQ(line(), "Start – hrát dál · B – výběr zóny");
  Tap(SDL_CONTROLLER_BUTTON_B);
  EXPECT_EQ(closed, 1);
  std::remove(zone.c_str());
}

// A direction held on a list goes on moving it, as a held arrow does, and stops when let go or
// when another window takes the buttons; in play a held direction walks on, and the screen
// hears of it once, as of a held arrow.
TEST_F(PadPlay, AHeldDirectionRepeatsOnAListButNeverInPlay) {
  system::Catalogue catalogue({{QUARN_ZONES_DIR, "Základy", true}});
  StartScreen start(*app, *dialog, QUARN_BIN_DIR, catalogue);
  start.Show();
  platform::ListBox& list = start.List();
  ASSERT_GT(list.Count(), 12);
  list.SetListIndex(0);
  const int first = list.ListIndex();
  pad->Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
  Pump();
  EXPECT_EQ(list.ListIndex(), first + 1);
  RunFor(300);  // the first wait
  EXPECT_EQ(list.ListIndex(), first + 1);
  RunFor(400);
  const int moved = list.ListIndex();
  EXPECT_GE(moved, first + 4) << "held 700 ms";
  EXPECT_LE(moved, first + 9);
  pad->Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
  Pump();
  RunFor(500);
  EXPECT_EQ(list.ListIndex(), moved);

  // Held again, then the game screen comes in its place: the list stays where it was.
  pad->Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
  Pump();
  RunFor(500);
  ASSERT_GT(list.ListIndex(), moved + 1);
  int rightsDown = 0;
  ASSERT_TRUE(screen->Load(Zone01));
  start.Hide();
  const int atGame = list.ListIndex();
  RunFor(500);
  EXPECT_EQ(list.ListIndex(), atGame);
  pad->Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
  Pump();

  // In play: Right held for a second goes down once, and walks all the while.
  const auto onKey = screen->Window().OnKeyDown;
  screen->Window().OnKeyDown = [&](int key) {
    if (key == vk::Right) ++rightsDown;
    onKey(key);
  };
  const int startX = State().PlayerX;
  pad->Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
  Pump();
  RunFor(1000);
  EXPECT_EQ(rightsDown, 1);
  EXPECT_NE(keys.GetAsyncKeyState(vk::Right) & 0x8000, 0);
  EXPECT_GT(State().PlayerX, startX + 1);
  pad->Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
  Pump();
  EXPECT_EQ(keys.GetAsyncKeyState(vk::Right) & 0x8000, 0);
}

// The help names the player's own walk keys on the tile of his figure, and with a pad in what
// its buttons do at the end of a run and in a pause.
TEST_F(PadPlay, TheHelpNamesThePlayersWalkKeysAndThePadsWayOn) {
  system::KeyBindings own;
  const char walk[] = {'A', 'W', 'D', 'S'};
  for (size_t i = 0; i < 4; ++i) own.Keys[i] = walk[i];
  HelpWindow help(*app, QUARN_BIN_DIR, std::nullopt, PlayerHelpKeys(own, app->PadInUse()),
                  PlayerHelpTiles(own));
  std::vector<std::string> captions;
  for (const platform::Control* c : help.Page().Children) {
    if (const auto* l = dynamic_cast<const platform::Label*>(c)) captions.push_back(l->Caption);
  }
  auto shows = [&](const std::string& text) {
    return std::find(captions.begin(), captions.end(), text) != captions.end();
  };
  EXPECT_TRUE(shows("Ty: chodíš klávesami A, W, D, S po podlaze."));
  EXPECT_FALSE(shows("Ty: chodíš šipkami po podlaze."));
  EXPECT_TRUE(shows("X – po výhře další zóna"));
  EXPECT_TRUE(shows("B – ve hře zpět (držet: dál zpět); v pauze a po výhře výběr zóny; jinde "
                    "jako Esc"));
  // With the game's own keys the tile says the arrows.
  EXPECT_EQ(PlayerHelpTiles(system::KeyBindings{})[0].Text, "Ty: chodíš šipkami po podlaze.");
}

SDL_Event KeyEvent(Uint32 type, SDL_Keycode sym, SDL_Scancode code, uint32_t window) {
  SDL_Event e{};
  e.type = type;
  e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.sym = sym;
  e.key.keysym.scancode = code;
  e.key.windowID = window;
  return e;
}

// The player's own keys reach the game screen as the game's own, before its key state (and so
// a recorded run) sees them; the keys they replaced do nothing there, and a dialog over it takes
// the keys as they are.
TEST_F(PadPlay, ThePlayersKeysReachTheGameAsItsOwn) {
  ASSERT_TRUE(screen->Load(Zone01));
  system::KeyBindings own;
  own.Keys[static_cast<size_t>(system::KeyAction::WalkRight)] = 'D';
  screen->Window().KeyMap = system::KeyMapOf(own);
  const uint32_t id = screen->Window().Id();
  const int startX = State().PlayerX;
  SDL_Event e = KeyEvent(SDL_KEYDOWN, SDLK_RIGHT, SDL_SCANCODE_RIGHT, id);
  SDL_PushEvent(&e);
  Pump();
  EXPECT_EQ(keys.GetAsyncKeyState(vk::Right), 0);
  Ticks(20);
  EXPECT_EQ(State().PlayerX, startX);
  e = KeyEvent(SDL_KEYUP, SDLK_RIGHT, SDL_SCANCODE_RIGHT, id);
  SDL_PushEvent(&e);
  e = KeyEvent(SDL_KEYDOWN, SDLK_d, SDL_SCANCODE_D, id);
  SDL_PushEvent(&e);
  Pump();
  EXPECT_NE(keys.GetAsyncKeyState(vk::Right) & 0x8000, 0);
  EXPECT_EQ(keys.GetAsyncKeyState('D'), 0);
  Ticks(20);
  EXPECT_GT(State().PlayerX, startX);
  e = KeyEvent(SDL_KEYUP, SDLK_d, SDL_SCANCODE_D, id);
  SDL_PushEvent(&e);
  Pump();
  EXPECT_EQ(keys.GetAsyncKeyState(vk::Right) & 0x8000, 0);

  // A key the page's touch controls post is the game's own already: the player's keys, which
  // gave Right up, leave it alone.
  // Posted as PostVirtualKey does, to the game's window (the dummy display gives none the
  // keyboard).
  for (const bool down : {true, false}) {
    SDL_Event posted = platform::KeyEventOf(vk::Right, down, KMOD_NONE);
    posted.key.keysym.unused = platform::PostedKeyMark;
    posted.key.windowID = id;
    SDL_PushEvent(&posted);
    Pump();
    if (down) EXPECT_NE(keys.GetAsyncKeyState(vk::Right) & 0x8000, 0);
  }
  EXPECT_EQ(keys.GetAsyncKeyState(vk::Right) & 0x8000, 0);
}

// Off the game screen a button is the key of the menus: A Enter, B Esc, the D-pad the arrows,
// Y F1. A dialog takes A as its default button and B as Ne.
TEST_F(PadPlay, MenusAndDialogsTakeTheMenuButtons) {
  platform::Window menu(*app, platform::WindowOptions{});
  std::vector<int> got;
  menu.OnKeyDown = [&](int key) { got.push_back(key); };
  screen->Window().Hide();
  menu.Show();
  for (SDL_GameControllerButton b : {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B,
                                     SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_Y}) {
    pad->Button(b, true);
    Pump();
    pad->Button(b, false);
    Pump();
  }
  EXPECT_EQ(got, (std::vector<int>{vk::Enter, vk::Escape, vk::Down, vk::F1}));

  // The question's window: the button is already down when it shows, as a quick player's is.
  pad->Button(SDL_CONTROLLER_BUTTON_A, true);
  EXPECT_EQ(dialog->SkinMsgBox("Hrát znovu?", msgbox::YesNo, msgbox::IconQuestion, ""),
            msgbox::ResultYes);
  pad->Button(SDL_CONTROLLER_BUTTON_A, false);
  Pump();
  pad->Button(SDL_CONTROLLER_BUTTON_B, true);
  EXPECT_EQ(dialog->SkinMsgBox("Hrát znovu?", msgbox::YesNo, msgbox::IconQuestion, ""),
            msgbox::ResultNo);
  pad->Button(SDL_CONTROLLER_BUTTON_B, false);
  Pump();
  EXPECT_EQ(got.size(), 4u);  // nothing of the dialog's reached the window under it
}

// The event loop's own wait wakes for a pad: a button pressed from another thread reaches the
// window while the loop sleeps. The delay is printed for the note (run on X with
// SDL_VIDEODRIVER=x11 to measure the X wait); the test asks only that it arrives.
TEST(PadWake, APadPressEndsTheWait) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  KeyState keys;
  KeyFeed feed(keys);
  platform::SteadyClock clock;
  platform::App app(feed, clock);
  app.PadKeys = MenuPadKeys();
  PadsWithoutFocus();
  app.UsePads("");
  platform::Window w(app, platform::WindowOptions{});
  w.Show();
  VirtualPad pad;
  app.DeliverPending();
  ASSERT_TRUE(app.PadInUse());
  using Steady = std::chrono::steady_clock;
  std::vector<double> delaysMs;
  std::atomic<int64_t> pressedAt{0};
  w.OnKeyDown = [&](int key) {
    if (key != vk::Enter) return;
    delaysMs.push_back(std::chrono::duration<double, std::milli>(
                           Steady::now().time_since_epoch() -
                           std::chrono::nanoseconds(pressedAt.load()))
                           .count());
    app.Quit();
  };
  std::thread presser([&] {
    // After the loop has gone to sleep: nothing else is due.
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    pressedAt = Steady::now().time_since_epoch().count();
    pad.Button(SDL_CONTROLLER_BUTTON_A, true);
  });
  app.Run();
  presser.join();
  ASSERT_EQ(delaysMs.size(), 1u);
  std::printf("pad press to window on %s: %.1f ms\n", SDL_GetCurrentVideoDriver(), delaysMs[0]);
}

}  // namespace
}  // namespace quarn::ui
