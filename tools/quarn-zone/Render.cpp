// Render.cpp — quarn-zone render (not built yet).
#include <cstdio>

#include "Commands.h"

namespace quarn::zonetool {

int RunRender(const Args&) {
  std::fputs("quarn-zone: 'render' is not available yet\n", stderr);
  return 2;
}

}  // namespace quarn::zonetool
