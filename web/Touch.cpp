// Touch.cpp — the page's touch controls (web/index.html: the on-screen pad and the swipes) press
// and let go of the game's virtual keys: the arrows, Space for the box, Backspace for going back,
// P for the pause, Ctrl and R for the restart. Each press is queued as the keyboard's are, so
// the windows, a modal dialog, the key state and a run's key lines take it as a key of the
// keyboard: a run played by touch is a key script that replays headless in the same ticks. The
// page may call this while the game waits (ASYNCIFY): it only queues, and the queued event ends
// the wait.
#include <emscripten.h>

#include "platform/KeyInput.h"

extern "C" EMSCRIPTEN_KEEPALIVE int quarn_touch_key(int virtualKey, int down) {
  return quarn::platform::PostVirtualKey(virtualKey, down != 0) ? 1 : 0;
}
