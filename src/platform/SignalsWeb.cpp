// SignalsWeb.cpp — a page gets no signals: closing its tab ends it, and there is nothing to watch.
// The one ending it asks for is the page's own: another tab of the browser takes the game over
// (web/index.html), and this one ends as a signal ends a desktop game, its unsaved work kept.
#include "Signals.h"

#include <emscripten.h>

namespace quarn::platform {

int SignalReceived() { return EM_ASM_INT({ return Module.quarnHandOver ? 15 : 0; }); }
void SetWritingCount(int (*)()) {}

SignalWatch::SignalWatch() = default;
SignalWatch::~SignalWatch() = default;

}  // namespace quarn::platform
