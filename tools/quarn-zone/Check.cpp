// Check.cpp — quarn-zone check (not built yet).
#include <cstdio>

#include "Commands.h"

namespace quarn::zonetool {

int RunCheck(const Args&) {
  std::fputs("quarn-zone: 'check' is not available yet\n", stderr);
  return 2;
}

}  // namespace quarn::zonetool
