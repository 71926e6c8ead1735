// Commands.h — the sub-commands of quarn-zone, one file each.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "run/Replay.h"

namespace quarn::zonetool {

using Args = std::vector<std::string>;  // the arguments after the sub-command's name

// Prints "quarn-zone COMMAND: message" and the command's usage on stderr; returns exit status 2.
int UsageError(const char* command, const char* usage, const std::string& message);
// Whether the arguments ask for the command's help (--help or -h anywhere among them).
bool WantsHelp(const Args& args);
// Prints the command's usage on stdout; returns exit status 0.
int Help(const char* usage);

// The replay options that play and render share.
struct ReplayOptions {
  std::optional<std::string> KeysFile;
  std::optional<int64_t> Ticks;
};
enum class OptionTaken { No, Yes, Failed };
// Takes --keys FILE or --ticks N at args[i], moving i past the value. On Failed, error says why.
OptionTaken TakeReplayOption(const Args& args, size_t& i, ReplayOptions& options,
                             std::string& error);
// The key script the options name (an empty one without --keys); a bad one is told on stderr
// under the command's name and gives nothing.
std::optional<KeyScript> LoadKeyScript(const ReplayOptions& options, const char* command);

int RunCheck(const Args& args);   // quarn-zone check [--strict] FILE...
int RunPlay(const Args& args);    // quarn-zone play ZONE [--keys FILE] [--ticks N] [--answer yes|no] [--board]
int RunRender(const Args& args);  // quarn-zone render ZONE OUT.bmp [--keys FILE] [--ticks N]
int RunSolve(const Args& args);   // quarn-zone solve ZONE PLAN
int RunFormat(const Args& args);  // quarn-zone format ZONE [OUT]
int RunVariety(const Args& args);  // quarn-zone variety ZONE...
int RunVerify(const Args& args);   // quarn-zone verify ZONE RUN...

}  // namespace quarn::zonetool
