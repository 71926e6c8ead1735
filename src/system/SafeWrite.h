// SafeWrite.h — a text saved whole, so that a crash never halves the file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quarn {

// Writes text to path so that a crash leaves either the old file or the new one: a temporary file
// beside it (created exclusively), synced, then renamed over path. The error in Czech, if any.
std::optional<std::string> WriteFileSafely(const std::string& path, std::string_view text);

}  // namespace quarn
