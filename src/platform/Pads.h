// Pads.h — game controllers through SDL's game controller API: the buttons and the left stick
// as the keys of the window they act on.
#pragma once

#include <SDL.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace quarn::platform {

// What a pad has, in the names of SDL's standard layout (A the lower face button, B the right
// one). The left stick pushed past its dead zone counts as the D-pad's direction.
enum class PadButton { Left, Up, Right, Down, A, B, X, Y, Start, Back, Count };
inline constexpr size_t PadButtons = static_cast<size_t>(PadButton::Count);

// The keys a button stands for on a window: up to two keys pressed together and let go in the
// other order (Back restarts as Ctrl+R); 0 for none.
using PadChord = std::array<int, 2>;
using PadKeyMap = std::array<PadChord, PadButtons>;

// The pads plugged in, taken when they come and let go of when they go. Their events become
// button presses and releases; the stick past its dead zone presses its direction, and back
// inside it lets the direction go.
class Pads {
 public:
  // Starts SDL's game controller support: SDL's built-in mappings, then those of
  // SDL_GAMECONTROLLERCONFIG (SDL reads it itself), then those of mappingsFile when it exists
  // (the player's own; a later mapping of the same pad wins). Pads already plugged in are
  // announced by SDL as added.
  explicit Pads(const std::string& mappingsFile);
  ~Pads();
  Pads(const Pads&) = delete;
  Pads& operator=(const Pads&) = delete;

  // A press (down) or release of one pad's button.
  std::function<void(SDL_JoystickID pad, PadButton button, bool down)> OnButton;
  // A pad was plugged in and taken; a pad in use was pulled out (after its held buttons were
  // let go).
  std::function<void()> OnAdded;
  std::function<void()> OnRemoved;

  // Takes a pad event; false for any other event.
  bool Handle(const SDL_Event& event);
  // Whether a pad is plugged in and taken.
  bool Any() const { return !open_.empty(); }
  // The device files of the taken pads that have one ("/dev/input/event5"), for the event
  // loop's wait; and whether some pad has none (a virtual one), which SDL must look at often.
  std::vector<std::string> DeviceFiles() const;
  bool SomeWithoutFile() const;
  // Mappings added from the player's file, or -1 when it could not be read (0 when missing).
  int OwnMappings() const { return ownMappings_; }

  // The stick's dead zone: pushed further than Press presses its direction; back under
  // Release lets it go (the gap keeps a stick held near the edge from chattering).
  static constexpr int StickPress = 16000, StickRelease = 12000;

 private:
  struct Open {
    SDL_GameController* Controller;
    SDL_JoystickID Id;
    // Left, up, right, down, each held by the D-pad or the stick: the direction is down while
    // either holds it.
    std::array<bool, 4> PadHeld;
    std::array<bool, 4> StickHeld;
    std::array<bool, PadButtons> Held;  // the other buttons
  };
  void Direction(Open& pad, size_t direction, bool byStick, bool held);
  void Take(int deviceIndex);
  void LetGo(SDL_JoystickID id);
  void Stick(Open& pad, int axis, int value);
  std::vector<Open> open_;
  int ownMappings_ = 0;
  bool started_ = false;
};

}  // namespace quarn::platform
