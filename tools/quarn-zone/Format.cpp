// Format.cpp — quarn-zone format: rewrites a zone in the canonical form the editor saves.
#include <cstdio>
#include <optional>
#include <string>
#include <variant>

#include "Commands.h"
#include "zone/ZoneWriter.h"
#include "system/SafeFile.h"

namespace quarn::zonetool {
namespace {

constexpr const char* FormatUsage =
    "usage: quarn-zone format ZONE [OUT]\n"
    "Writes ZONE in the canonical form (UTF-8 without a byte-order mark, LF line ends, one field\n"
    "a line, every row at full width, notes after the last row kept) to OUT, or to stdout.\n"
    "OUT is replaced safely (temporary file, sync, rename; a link's own file is written, the link\n"
    "stays); OUT may be ZONE itself. A new OUT is readable by its owner alone.\n";

}  // namespace

int RunFormat(const Args& args) {
  std::optional<std::string> zone, out;
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") {
      std::fputs(FormatUsage, stdout);
      return 0;
    }
    if (a.size() > 1 && a[0] == '-')
      return UsageError("format", FormatUsage, "unknown option '" + a + "'");
    if (!zone) {
      zone = a;
    } else if (!out) {
      out = a;
    } else {
      return UsageError("format", FormatUsage, "unexpected argument '" + a + "'");
    }
  }
  if (!zone) return UsageError("format", FormatUsage, "which zone?");
  const auto source = ReadZoneSource(*zone);
  if (!source.Ok()) {
    std::fprintf(stderr, "%s\n", source.Error().Describe().c_str());
    return 1;
  }
  const std::string text = WriteZoneText(source.Value());
  if (!out) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  if (const auto written = system::WriteWhole(*out, text); !written) {
    std::fprintf(stderr, "quarn-zone format: %s\n", written.Error().Message.c_str());
    return 1;
  }
  return 0;
}

}  // namespace quarn::zonetool
