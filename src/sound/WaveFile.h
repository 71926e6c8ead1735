// WaveFile.h — reading a wave file into 16-bit samples OpenAL accepts, and finding it by name.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quarn {

// 16-bit signed native-endian samples, interleaved when there are two channels.
struct Wave {
  std::vector<int16_t> Samples;
  int Channels = 0;  // 1 or 2
  int Rate = 0;      // samples per second per channel, as the file says
};

// Reads any PCM or ADPCM wave SDL can read; more than two channels are mixed down to two.
// On failure, the reason.
std::variant<Wave, std::string> ReadWave(const std::filesystem::path& file);

// The file a name like "sound\walk.wav" means under folder: either separator, folder and file
// names matched without regard to letter case. Nothing when no such file exists.
std::optional<std::filesystem::path> FindIgnoringCase(const std::filesystem::path& folder,
                                                      std::string_view name);

}  // namespace quarn
