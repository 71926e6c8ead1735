// AudioDevice.cpp — choosing and opening the OpenAL output the sound slots play through.
#include "sound/AudioDevice.h"

#include <AL/alext.h>
#include <dlfcn.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string_view>

namespace quarn {

namespace {

// OpenAL Soft reads these, in this order; any of them may choose the drivers.
std::vector<std::filesystem::path> ConfigFiles(
    const std::function<const char*(const char*)>& getEnv) {
  std::vector<std::filesystem::path> files{"/etc/openal/alsoft.conf"};
  const char* dirs = getEnv("XDG_CONFIG_DIRS");
  std::stringstream list(dirs && *dirs ? dirs : "/etc/xdg");
  for (std::string dir; std::getline(list, dir, ':');) {
    if (!dir.empty()) files.emplace_back(std::filesystem::path(dir) / "alsoft.conf");
  }
  const char* home = getEnv("HOME");
  if (home && *home) files.emplace_back(std::filesystem::path(home) / ".alsoftrc");
  const char* configHome = getEnv("XDG_CONFIG_HOME");
  if (configHome && *configHome) {
    files.emplace_back(std::filesystem::path(configHome) / "alsoft.conf");
  } else if (home && *home) {
    files.emplace_back(std::filesystem::path(home) / ".config" / "alsoft.conf");
  }
  const char* explicitFile = getEnv("ALSOFT_CONF");
  if (explicitFile && *explicitFile) files.emplace_back(explicitFile);
  return files;
}

std::string Trim(const std::string& text) {
  size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// ALSA's error handler type; ours takes every message and shows none.
using AlsaErrorHandler = void (*)(const char* file, int line, const char* function, int error,
                                  const char* format, ...);
using AlsaSetErrorHandler = int (*)(AlsaErrorHandler);
void IgnoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

// Without a sound card OpenAL Soft and the ALSA library it loads fill the terminal with lines of
// their own (nine for one zone); the game says in one line that it plays without sound. Their
// lines stay for whoever sets QUARN_SOUND_LOG, or chooses OpenAL Soft's own ALSOFT_LOGLEVEL.
void QuietSoundLibraries() {
  const char* wanted = std::getenv(SoundLogVariable);
  if (wanted && *wanted && std::string_view(wanted) != "0") return;
  setenv("ALSOFT_LOGLEVEL", "0", 0);
  // OpenAL Soft loads ALSA itself, by this name; loaded now, it is the same library, which keeps
  // the handler. It stays loaded for the handler's sake.
  void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_GLOBAL);
  if (!alsa) return;
  if (auto set = reinterpret_cast<AlsaSetErrorHandler>(dlsym(alsa, "snd_lib_error_set_handler")))
    set(IgnoreAlsaMessage);
}

}  // namespace

bool ConfigChoosesDrivers(const std::string& config) {
  std::stringstream lines(config);
  bool general = true;  // keys before any section belong to [general]
  for (std::string line; std::getline(lines, line);) {
    line = Trim(line.substr(0, line.find('#')));
    if (line.empty()) continue;
    if (line.front() == '[') {
      general = line == "[general]";
    } else if (general && Trim(line.substr(0, line.find('='))) == "drivers") {
      return true;
    }
  }
  return false;
}

std::optional<std::string> PreferredDrivers(
    const std::function<const char*(const char*)>& getEnv,
    const std::function<std::optional<std::string>(const std::filesystem::path&)>& readFile) {
  const char* drivers = getEnv("ALSOFT_DRIVERS");
  if (drivers && *drivers) return std::nullopt;
  // Debian ships a configuration file with every setting commented out; only a drivers line that
  // someone wrote counts as a choice.
  for (const auto& file : ConfigFiles(getEnv)) {
    auto config = readFile(file);
    if (config && ConfigChoosesDrivers(*config)) return std::nullopt;
  }
  // Debian 12's OpenAL Soft tries JACK first, and on PipeWire desktops a JACK library without a
  // JACK server takes the device and plays nothing. No trailing comma: JACK is not tried at all.
  return std::string("pulse,alsa,oss,sndio");
}

OpenedDevice OpenSystemDevice() {
  auto drivers =
      PreferredDrivers([](const char* name) { return std::getenv(name); },
                       [](const std::filesystem::path& file) -> std::optional<std::string> {
                         std::ifstream in(file);
                         if (!in) return std::nullopt;
                         std::stringstream text;
                         text << in.rdbuf();
                         return text.str();
                       });
  // OpenAL Soft reads its drivers once, on the first device opened in the process.
  if (drivers) setenv("ALSOFT_DRIVERS", drivers->c_str(), 0);
  QuietSoundLibraries();
  return OpenedDevice{alcOpenDevice(nullptr), {}};
}

OpenedDevice OpenLoopbackDevice(int sampleRate) {
  auto open = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
      alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
  if (!open) return {};
  return OpenedDevice{open(nullptr),
                      {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT,
                       ALC_FLOAT_SOFT, ALC_FREQUENCY, sampleRate, 0}};
}

std::vector<float> RenderLoopback(ALCdevice* device, int frames) {
  std::vector<float> samples(static_cast<size_t>(frames) * 2);
  auto render =
      reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(device, "alcRenderSamplesSOFT"));
  if (render && frames > 0) render(device, samples.data(), frames);
  return samples;
}

}  // namespace quarn
