// Main.cpp — quarn-zone: checks, plays, renders, solves, formats and measures zones and verifies
// runs, for zone authors, packagers and tests.
#include <cstdio>
#include <cstring>
#include <string>

#include "Commands.h"
#include "base/Text.h"

namespace {

constexpr const char* Usage =
    "usage: quarn-zone check [--strict] FILE...\n"
    "       quarn-zone play ZONE [--keys FILE] [--ticks N] [--answer yes|no] [--board]\n"
    "       quarn-zone render ZONE OUT.bmp [--keys FILE] [--ticks N]\n"
    "       quarn-zone solve ZONE PLAN > SOLUTION.keys\n"
    "       quarn-zone format ZONE [OUT]\n"
    "       quarn-zone variety ZONE...\n"
    "       quarn-zone verify ZONE RUN...\n"
    "       quarn-zone COMMAND --help\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace quarn::zonetool;
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    std::fputs(Usage, argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  const std::string command = argv[1];
  Args args(argv + 2, argv + argc);
  if (command == "check") return RunCheck(args);
  if (command == "play") return RunPlay(args);
  if (command == "render") return RunRender(args);
  if (command == "format") return RunFormat(args);
  if (command == "solve") return RunSolve(args);
  if (command == "variety") return RunVariety(args);
  if (command == "verify") return RunVerify(args);
  std::fprintf(stderr, "quarn-zone: unknown command '%s'\n%s", quarn::ShowControls(command).c_str(),
               Usage);
  return 2;
}
