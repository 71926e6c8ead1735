// SignalsWeb.cpp — a page gets no signals: closing its tab ends it, and there is nothing to watch.
#include "Signals.h"

namespace quarn::platform {

int SignalReceived() { return 0; }
void SetWritingCount(int (*)()) {}

SignalWatch::SignalWatch() = default;
SignalWatch::~SignalWatch() = default;

}  // namespace quarn::platform
