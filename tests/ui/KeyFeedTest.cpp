// KeyFeedTest.cpp — the game's key state as built from SDL keyboard and focus events.
#include <gtest/gtest.h>

#include "platform/KeyInput.h"
#include "ui/KeyFeed.h"

namespace quarn::platform {
namespace {

using ui::KeyFeed;

SDL_Event Key(Uint32 type, SDL_Scancode sc, SDL_Keycode sym, bool repeat = false) {
  SDL_Event e{};
  e.type = type;
  e.key.type = type;
  e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.key.repeat = repeat ? 1 : 0;
  e.key.keysym.scancode = sc;
  e.key.keysym.sym = sym;
  return e;
}
SDL_Event Down(SDL_Scancode sc, SDL_Keycode sym) { return Key(SDL_KEYDOWN, sc, sym); }
SDL_Event Up(SDL_Scancode sc, SDL_Keycode sym) { return Key(SDL_KEYUP, sc, sym); }

constexpr int16_t DownNow = static_cast<int16_t>(0x8000);

TEST(VirtualKeyOf, TheKeysTheGameReads) {
  EXPECT_EQ(VirtualKeyOf(SDLK_LEFT, SDL_SCANCODE_LEFT), vk::Left);
  EXPECT_EQ(VirtualKeyOf(SDLK_UP, SDL_SCANCODE_UP), vk::Up);
  EXPECT_EQ(VirtualKeyOf(SDLK_RIGHT, SDL_SCANCODE_RIGHT), vk::Right);
  EXPECT_EQ(VirtualKeyOf(SDLK_DOWN, SDL_SCANCODE_DOWN), vk::Down);
  EXPECT_EQ(VirtualKeyOf(SDLK_SPACE, SDL_SCANCODE_SPACE), vk::Space);
  EXPECT_EQ(VirtualKeyOf(SDLK_RETURN, SDL_SCANCODE_RETURN), vk::Enter);
  EXPECT_EQ(VirtualKeyOf(SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER), vk::Enter);
  EXPECT_EQ(VirtualKeyOf(SDLK_LCTRL, SDL_SCANCODE_LCTRL), vk::Ctrl);
  EXPECT_EQ(VirtualKeyOf(SDLK_RCTRL, SDL_SCANCODE_RCTRL), vk::Ctrl);
  EXPECT_EQ(VirtualKeyOf(SDLK_r, SDL_SCANCODE_R), vk::R);
  // Letters follow the layout: on a German or Czech keyboard the key labelled Z is Z.
  EXPECT_EQ(VirtualKeyOf(SDLK_z, SDL_SCANCODE_Y), 'Z');
  EXPECT_EQ(VirtualKeyOf(SDLK_F1, SDL_SCANCODE_F1), 112);
  EXPECT_EQ(VirtualKeyOf(SDLK_UNKNOWN, SDL_SCANCODE_NONUSBACKSLASH), 0);
}

TEST(KeyInput, PressHoldAndRelease) {
  KeyState keys;
  KeyFeed feed(keys);
  KeyInput input(feed);
  input.Handle(Down(SDL_SCANCODE_RIGHT, SDLK_RIGHT));
  EXPECT_EQ(keys.GetAsyncKeyState(vk::Right), DownNow | 1);
  EXPECT_EQ(keys.GetAsyncKeyState(vk::Right), DownNow);
  // Auto-repeat does not mark the held key as pressed again.
  input.Handle(Key(SDL_KEYDOWN, SDL_SCANCODE_RIGHT, SDLK_RIGHT, true));
  EXPECT_EQ(keys.GetAsyncKeyState(vk::Right), DownNow);
  input.Handle(Up(SDL_SCANCODE_RIGHT, SDLK_RIGHT));
  EXPECT_EQ(keys.GetAsyncKeyState(vk::Right), 0);
  // A tap between two polls is still seen once.
  input.Handle(Down(SDL_SCANCODE_SPACE, SDLK_SPACE));
  input.Handle(Up(SDL_SCANCODE_SPACE, SDLK_SPACE));
  EXPECT_EQ(keys.GetAsyncKeyState(vk::Space), 1);
  EXPECT_EQ(keys.GetAsyncKeyState(vk::Space), 0);
}

TEST(KeyInput, LosingTheKeyboardReleasesEverything) {
  KeyState keys;
  KeyFeed feed(keys);
  KeyInput input(feed);
  input.Handle(Down(SDL_SCANCODE_LEFT, SDLK_LEFT));
  input.Handle(Down(SDL_SCANCODE_LCTRL, SDLK_LCTRL));
  SDL_Event lost{};
  lost.type = SDL_WINDOWEVENT;
  lost.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  EXPECT_TRUE(input.Handle(lost));
  EXPECT_EQ(keys.GetAsyncKeyState(vk::Left), 0);  // the player does not walk on by himself
  EXPECT_EQ(keys.GetAsyncKeyState(vk::Ctrl), 0);
  // The release that arrives later, in another window's time, changes nothing...
  input.Handle(Up(SDL_SCANCODE_LEFT, SDLK_LEFT));
  EXPECT_EQ(keys.GetAsyncKeyState(vk::Left), 0);
  // ...and the key works again when pressed anew.
  input.Handle(Down(SDL_SCANCODE_LEFT, SDLK_LEFT));
  EXPECT_EQ(keys.GetAsyncKeyState(vk::Left), DownNow | 1);

  SDL_Event gained{};
  gained.type = SDL_WINDOWEVENT;
  gained.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
  EXPECT_FALSE(input.Handle(gained));
  EXPECT_EQ(keys.GetAsyncKeyState(vk::Left), DownNow);
}

TEST(KeyInput, TwoPhysicalKeysOfOneCode) {
  KeyState keys;
  KeyFeed feed(keys);
  KeyInput input(feed);
  input.Handle(Down(SDL_SCANCODE_LCTRL, SDLK_LCTRL));
  input.Handle(Down(SDL_SCANCODE_RCTRL, SDLK_RCTRL));
  input.Handle(Up(SDL_SCANCODE_LCTRL, SDLK_LCTRL));
  EXPECT_NE(keys.GetAsyncKeyState(vk::Ctrl) & DownNow, 0);  // right Ctrl still holds it
  input.Handle(Up(SDL_SCANCODE_RCTRL, SDLK_RCTRL));
  EXPECT_EQ(keys.GetAsyncKeyState(vk::Ctrl), 0);
}

TEST(KeyInput, ReleaseGoesToTheCodeTheKeyWentDownAs) {
  KeyState keys;
  KeyFeed feed(keys);
  KeyInput input(feed);
  // The layout switched while R was held: its release still lets R go.
  input.Handle(Down(SDL_SCANCODE_R, SDLK_r));
  input.Handle(Up(SDL_SCANCODE_R, SDLK_k));
  EXPECT_EQ(keys.GetAsyncKeyState(vk::R), 1);
  EXPECT_EQ(keys.GetAsyncKeyState(vk::R), 0);
  EXPECT_EQ(keys.GetAsyncKeyState('K'), 0);
}

}  // namespace
}  // namespace quarn::platform
