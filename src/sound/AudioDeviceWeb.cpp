// AudioDeviceWeb.cpp — the page's sound output: emscripten's OpenAL over Web Audio, one device,
// no drivers to choose and no loopback rendering.
#include "sound/AudioDevice.h"

namespace quarn {

OpenedDevice OpenSystemDevice() { return OpenedDevice{alcOpenDevice(nullptr), {}}; }

OpenedDevice OpenLoopbackDevice(int) { return OpenedDevice{}; }

std::vector<float> RenderLoopback(ALCdevice*, int) { return {}; }

std::optional<std::string> PreferredDrivers(
    const std::function<const char*(const char*)>&,
    const std::function<std::optional<std::string>(const std::filesystem::path&)>&) {
  return std::nullopt;
}

bool ConfigChoosesDrivers(const std::string&) { return false; }

}  // namespace quarn
