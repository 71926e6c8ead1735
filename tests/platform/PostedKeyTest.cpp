// PostedKeyTest.cpp — keys of a device without keys (the page's touch controls) queued as the
// keyboard's: each code the keyboard can make comes out of SDL's queue as a key that makes that
// code again, down and up, and reaches the key sink as a keyboard's key does; Ctrl stays held
// for the keys after it until it is let go.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <utility>
#include <vector>

#include "platform/KeyInput.h"

namespace quarn::platform {
namespace {

struct Recorded : KeySink {
  std::vector<std::pair<int, bool>> Keys;
  void KeyDown(int virtualKey) override { Keys.emplace_back(virtualKey, true); }
  void KeyUp(int virtualKey) override { Keys.emplace_back(virtualKey, false); }
  void ReleaseAll() override {}
};

class PostedKey : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }
  void TearDown() override { SDL_QuitSubSystem(SDL_INIT_VIDEO); }
  // The next key event of the queue, as it was queued (nothing pumped in from the system).
  static SDL_Event NextKey() {
    SDL_Event e{};
    if (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_KEYDOWN, SDL_KEYUP) != 1) e.type = SDL_FIRSTEVENT;
    return e;
  }
};

TEST_F(PostedKey, EveryCodeOfTheKeyboardComesBackAsThatCodeDownAndUp) {
  std::set<int> made;
  for (int sc = 1; sc < SDL_NUM_SCANCODES; ++sc) {
    const auto scancode = static_cast<SDL_Scancode>(sc);
    if (const int vk = VirtualKeyOf(SDL_GetKeyFromScancode(scancode), scancode)) made.insert(vk);
  }
  // The touch controls' keys are among them: arrows, Space, Backspace, P, Ctrl and R.
  for (int vk : {37, 38, 39, 40, 32, 8, 80, 17, 82}) EXPECT_TRUE(made.count(vk)) << vk;
  Recorded sink;
  KeyInput input(sink);
  for (int vk = -1; vk <= 256; ++vk) {
    SCOPED_TRACE(vk);
    const bool known = made.count(vk) != 0;
    ASSERT_EQ(PostVirtualKey(vk, true), known);
    ASSERT_EQ(PostVirtualKey(vk, false), known);
    if (!known) {
      EXPECT_EQ(NextKey().type, SDL_FIRSTEVENT);
      continue;
    }
    const SDL_Event down = NextKey(), up = NextKey();
    ASSERT_EQ(down.type, SDL_KEYDOWN);
    ASSERT_EQ(up.type, SDL_KEYUP);
    EXPECT_EQ(down.key.state, SDL_PRESSED);
    EXPECT_EQ(up.key.state, SDL_RELEASED);
    EXPECT_EQ(down.key.repeat, 0);
    EXPECT_EQ(VirtualKeyOf(down.key.keysym.sym, down.key.keysym.scancode), vk);
    EXPECT_EQ(up.key.keysym.scancode, down.key.keysym.scancode);
    sink.Keys.clear();
    input.Handle(down);
    input.Handle(up);
    EXPECT_EQ(sink.Keys, (std::vector<std::pair<int, bool>>{{vk, true}, {vk, false}}));
  }
  EXPECT_EQ(NextKey().type, SDL_FIRSTEVENT);
}

TEST_F(PostedKey, CtrlHeldGoesWithTheKeysAfterItUntilLetGo) {
  // The pad's restart: Ctrl and R down, then both up.
  ASSERT_TRUE(PostVirtualKey(17, true));
  ASSERT_TRUE(PostVirtualKey(82, true));
  ASSERT_TRUE(PostVirtualKey(82, false));
  ASSERT_TRUE(PostVirtualKey(17, false));
  ASSERT_TRUE(PostVirtualKey(82, true));
  std::vector<bool> withCtrl;
  for (SDL_Event e = NextKey(); e.type != SDL_FIRSTEVENT; e = NextKey())
    withCtrl.push_back((e.key.keysym.mod & KMOD_CTRL) != 0);
  EXPECT_EQ(withCtrl, (std::vector<bool>{true, true, true, false, false}));
}

}  // namespace
}  // namespace quarn::platform
