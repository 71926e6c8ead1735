// AudioDevice.h — choosing and opening the OpenAL output the sound slots play through.
#pragma once

#include <AL/alc.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quarn {

// A device ready for a context: the context attributes are what the device needs to be given
// (a loopback device must be told its output format), empty for a system device.
struct OpenedDevice {
  ALCdevice* Device = nullptr;  // nullptr: no device could be opened
  std::vector<ALCint> ContextAttributes;
};

// Opens the output anew for every initialisation of the sound module.
using DeviceOpener = std::function<OpenedDevice()>;

// Set to anything but 0, it lets OpenAL Soft and ALSA write their own messages to stderr.
inline constexpr const char* SoundLogVariable = "QUARN_SOUND_LOG";

// The system's default output, preferring PulseAudio (or PipeWire's Pulse server) and ALSA over
// JACK unless the player has configured OpenAL Soft. The libraries' own messages are kept quiet
// unless SoundLogVariable asks for them.
OpenedDevice OpenSystemDevice();

// A device that plays into memory, one block at a time as its owner asks (alcRenderSamplesSOFT):
// stereo 32-bit float frames at sampleRate. Float output keeps silence exactly zero, since
// OpenAL Soft dithers and limits integer output.
OpenedDevice OpenLoopbackDevice(int sampleRate);

// Renders frames stereo float frames (2 × frames values) from a loopback device.
std::vector<float> RenderLoopback(ALCdevice* device, int frames);

// The driver list to give OpenAL Soft, or nothing when the player's own choice must stand:
// ALSOFT_DRIVERS set, or a drivers line in one of OpenAL Soft's configuration files.
std::optional<std::string> PreferredDrivers(
    const std::function<const char*(const char*)>& getEnv,
    const std::function<std::optional<std::string>(const std::filesystem::path&)>& readFile);

// Whether an OpenAL Soft configuration text sets the drivers.
bool ConfigChoosesDrivers(const std::string& config);

}  // namespace quarn
