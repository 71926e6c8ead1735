// Pads.cpp — game controllers taken and let go of, their buttons and stick as presses.
#include "Pads.h"

#include <algorithm>
#include <cstdio>
#include <sys/stat.h>

namespace quarn::platform {
namespace {

// SDL's button of each of ours; the directions also come from the stick.
constexpr SDL_GameControllerButton ButtonOf[PadButtons] = {
    SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_UP,
    SDL_CONTROLLER_BUTTON_DPAD_RIGHT, SDL_CONTROLLER_BUTTON_DPAD_DOWN,
    SDL_CONTROLLER_BUTTON_A,         SDL_CONTROLLER_BUTTON_B,
    SDL_CONTROLLER_BUTTON_X,         SDL_CONTROLLER_BUTTON_Y,
    SDL_CONTROLLER_BUTTON_START,     SDL_CONTROLLER_BUTTON_BACK};

int OursOf(Uint8 sdlButton) {
  for (size_t i = 0; i < PadButtons; ++i) {
    if (ButtonOf[i] == sdlButton) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

Pads::Pads(const std::string& mappingsFile) {
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
    std::fprintf(stderr, "quarn: bez ovladačů: %s\n", SDL_GetError());
    return;
  }
  started_ = true;
  struct stat info{};
  if (!mappingsFile.empty() && stat(mappingsFile.c_str(), &info) == 0) {
    ownMappings_ = SDL_GameControllerAddMappingsFromFile(mappingsFile.c_str());
    if (ownMappings_ < 0) {
      std::fprintf(stderr, "quarn: %s nelze přečíst: %s\n", mappingsFile.c_str(), SDL_GetError());
    }
  }
}

Pads::~Pads() {
  for (Open& pad : open_) SDL_GameControllerClose(pad.Controller);
  open_.clear();
  if (started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void Pads::Take(int deviceIndex) {
  if (!SDL_IsGameController(deviceIndex)) return;
  const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
  if (std::any_of(open_.begin(), open_.end(), [&](const Open& p) { return p.Id == id; })) return;
  SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
  if (!controller) return;
  open_.push_back(Open{controller, id, {}, {}, {}});
  if (OnAdded) OnAdded();
}

void Pads::LetGo(SDL_JoystickID id) {
  auto it = std::find_if(open_.begin(), open_.end(), [&](const Open& p) { return p.Id == id; });
  if (it == open_.end()) return;
  // What it held goes up first, so nothing walks on by itself.
  for (size_t i = 0; i < PadButtons; ++i) {
    const bool held = i < 4 ? it->PadHeld[i] || it->StickHeld[i] : it->Held[i];
    if (held && OnButton) OnButton(id, static_cast<PadButton>(i), false);
  }
  SDL_GameControllerClose(it->Controller);
  open_.erase(it);
  if (OnRemoved) OnRemoved();
}

void Pads::Stick(Open& pad, int axis, int value) {
  // Left stick only: x moves left and right, y up and down.
  const size_t minus = axis == SDL_CONTROLLER_AXIS_LEFTX ? 0 : 1;
  const size_t plus = minus + 2;
  auto pushed = [&](size_t direction, int along) {
    return along > (pad.StickHeld[direction] ? StickRelease : StickPress);
  };
  Direction(pad, minus, true, pushed(minus, -value));
  Direction(pad, plus, true, pushed(plus, value));
}

void Pads::Direction(Open& pad, size_t direction, bool byStick, bool held) {
  const bool before = pad.PadHeld[direction] || pad.StickHeld[direction];
  (byStick ? pad.StickHeld : pad.PadHeld)[direction] = held;
  const bool after = pad.PadHeld[direction] || pad.StickHeld[direction];
  if (before != after && OnButton) OnButton(pad.Id, static_cast<PadButton>(direction), after);
}

bool Pads::Handle(const SDL_Event& event) {
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
      Take(event.cdevice.which);
      return true;
    case SDL_CONTROLLERDEVICEREMOVED:
      LetGo(event.cdevice.which);
      return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
      const int ours = OursOf(event.cbutton.button);
      const bool down = event.type == SDL_CONTROLLERBUTTONDOWN;
      for (Open& pad : open_) {
        if (pad.Id != event.cbutton.which || ours < 0) continue;
        const size_t i = static_cast<size_t>(ours);
        if (i < 4) {
          Direction(pad, i, false, down);
        } else if (pad.Held[i] != down) {
          pad.Held[i] = down;
          if (OnButton) OnButton(pad.Id, static_cast<PadButton>(ours), down);
        }
      }
      return true;
    }
    case SDL_CONTROLLERAXISMOTION: {
      const int axis = event.caxis.axis;
      if (axis != SDL_CONTROLLER_AXIS_LEFTX && axis != SDL_CONTROLLER_AXIS_LEFTY) return true;
      for (Open& pad : open_) {
        if (pad.Id == event.caxis.which) Stick(pad, axis, event.caxis.value);
      }
      return true;
    }
    default:
      return false;
  }
}

std::vector<std::string> Pads::DeviceFiles() const {
  std::vector<std::string> files;
  for (const Open& pad : open_) {
    if (const char* path = SDL_GameControllerPath(pad.Controller)) files.emplace_back(path);
  }
  return files;
}

bool Pads::SomeWithoutFile() const {
  return std::any_of(open_.begin(), open_.end(),
                     [](const Open& p) { return SDL_GameControllerPath(p.Controller) == nullptr; });
}

}  // namespace quarn::platform
