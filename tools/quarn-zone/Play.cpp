// Play.cpp — quarn-zone play (not built yet).
#include <cstdio>

#include "Commands.h"

namespace quarn::zonetool {

int RunPlay(const Args&) {
  std::fputs("quarn-zone: 'play' is not available yet\n", stderr);
  return 2;
}

}  // namespace quarn::zonetool
