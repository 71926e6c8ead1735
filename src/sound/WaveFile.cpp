// WaveFile.cpp — reading a wave file into 16-bit samples OpenAL accepts, and finding it by name.
#include "sound/WaveFile.h"

#include <SDL.h>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace quarn {

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

std::variant<Wave, std::string> ReadWave(const std::filesystem::path& file) {
  SDL_AudioSpec format;
  Uint8* data = nullptr;
  Uint32 length = 0;
  if (!SDL_LoadWAV(file.c_str(), &format, &data, &length)) return std::string(SDL_GetError());
  // Mended: a wave of a bare header (no samples) is refused like any other unreadable wave, and
  // its slot stays silent; read on, it would hand a null pointer to memcpy.
  if (!data || length == 0) {
    SDL_FreeWAV(data);
    return std::string("zvuk nemá žádné vzorky");
  }

  Wave wave;
  wave.Channels = format.channels == 1 ? 1 : 2;
  wave.Rate = format.freq;
  SDL_AudioCVT convert;
  int need = SDL_BuildAudioCVT(&convert, format.format, format.channels, format.freq, AUDIO_S16SYS,
                               static_cast<Uint8>(wave.Channels), format.freq);
  if (need < 0) {
    std::string reason = SDL_GetError();
    SDL_FreeWAV(data);
    return reason;
  }
  std::vector<Uint8> bytes(static_cast<size_t>(length) * static_cast<size_t>(convert.len_mult));
  std::memcpy(bytes.data(), data, length);
  SDL_FreeWAV(data);
  size_t converted = length;
  if (need > 0) {
    convert.buf = bytes.data();
    convert.len = static_cast<int>(length);
    if (SDL_ConvertAudio(&convert) < 0) return std::string(SDL_GetError());
    converted = static_cast<size_t>(convert.len_cvt);
  }
  size_t frameBytes = sizeof(int16_t) * static_cast<size_t>(wave.Channels);
  converted -= converted % frameBytes;  // a torn last frame would shift the channels
  if (converted == 0) return std::string("zvuk nemá ani jeden celý snímek");
  wave.Samples.resize(converted / sizeof(int16_t));
  std::memcpy(wave.Samples.data(), bytes.data(), converted);
  return wave;
}

std::optional<std::filesystem::path> FindIgnoringCase(const std::filesystem::path& folder,
                                                      std::string_view name) {
  std::filesystem::path found = folder;
  std::error_code error;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = name.size();
    std::string part(name.substr(start, end - start));
    start = end + 1;
    if (part.empty() || part == ".") continue;
    if (std::filesystem::exists(found / part, error)) {
      found /= part;
      continue;
    }
    std::string wanted = Lower(part);
    bool matched = false;
    for (const auto& entry : std::filesystem::directory_iterator(found, error)) {
      if (Lower(entry.path().filename().string()) == wanted) {
        found = entry.path();
        matched = true;
        break;
      }
    }
    if (!matched) return std::nullopt;
  }
  if (!std::filesystem::is_regular_file(found, error)) return std::nullopt;
  return found;
}

}  // namespace quarn
