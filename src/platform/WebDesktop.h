// WebDesktop.h — the browser's one canvas as a desktop for the game's several windows.
//
// In a browser SDL has a single canvas, while the game opens a start screen, a game screen,
// dialogs, help and the editor as windows of their own. In the browser build the platform's
// window system (WindowSystem.h) is this desktop, in WebDesktop.cpp, which only the browser build
// compiles: each window of ours is a surface with a place on the desktop, and the desktop draws
// the shown ones onto the canvas from the bottom up, the active one on top, each centred as a
// desktop centres a new window, so that a dialog stands over the screen it belongs to. Pointer
// events go to the window under the pointer (or to the one that took the press), keys to the
// active one.
#pragma once

#include "WindowSystem.h"

namespace quarn::platform::web {

// The desktop's size at the start: the editor, the game's widest window, fits on it. A window
// shown larger (a long help) makes the desktop grow to hold it while it is shown.
inline constexpr int StartWidth = 1024;
inline constexpr int StartHeight = 700;

// Draws what changed on the desktop onto the canvas; the event loop calls it before it sleeps.
void Flush();
// Sleeps, handing the browser its turn, until an event may be there or timeoutMs passed.
void Sleep(int timeoutMs);

}  // namespace quarn::platform::web
