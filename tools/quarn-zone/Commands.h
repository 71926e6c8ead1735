// Commands.h — the sub-commands of quarn-zone, one file each.
#pragma once

#include <string>
#include <vector>

namespace quarn::zonetool {

using Args = std::vector<std::string>;  // the arguments after the sub-command's name

int RunCheck(const Args& args);   // quarn-zone check FILE...
int RunPlay(const Args& args);    // quarn-zone play ZONE [--keys FILE] [--ticks N] [--answer yes|no] [--board]
int RunRender(const Args& args);  // quarn-zone render ZONE OUT.bmp [--keys FILE] [--ticks N]

}  // namespace quarn::zonetool
