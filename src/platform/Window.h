// Window.h — a window drawn from its controls at a logical size, scaled by a whole factor
// (the scaling itself is in Scaling.cpp).
#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "Controls.h"
#include "Pads.h"
#include "Scaling.h"
#include "XUpload.h"

namespace quarn::platform {

class App;

struct WindowOptions {
  std::string Title = "Quarn";
  int Width = 800;  // logical client size, pixels
  int Height = 600;
  bool Borderless = true;  // the screens; a dialog has a title bar
  bool CanFullscreen = false;
  // The whole scaling factor is chosen as for a window of this logical size (0: its own), so a
  // small dialog is scaled like the screens it stands over.
  int ScaleAsWidth = 0;
  int ScaleAsHeight = 0;
};

class Window {
 public:
  Window(App& app, const WindowOptions& options);
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // The client area: every control of the window is a child of it. Background black.
  PictureBox& Root() { return root_; }
  void Show();
  void Hide();
  // Raises the window and gives it the keyboard (also where no window manager would).
  void TakeKeyboard();
  bool Shown() const { return shown_; }
  // Something on the window may have changed: at the next display refresh the window looks at
  // its controls and draws again only those whose place or look changed.
  void Invalidate() { dirty_ = true; }
  // These logical pixels changed in a way no control can tell (a canvas drawn on).
  void InvalidateRect(const SDL_Rect& area);
  // The whole client area is drawn again at the next display refresh.
  void InvalidateAll() {
    fullRedraw_ = true;
    dirty_ = true;
  }
  // F11 and Alt+Enter: full screen or back, and the choice kept for the windows shown after.
  void ToggleFullscreen();
  // A new logical client size: the window keeps its scaling factor and is drawn anew.
  void SetClientSize(int width, int height);
  int ClientWidth() const { return options_.Width; }
  int ClientHeight() const { return options_.Height; }
  void SetCaption(const std::string& caption);
  const std::string& Caption() const { return options_.Title; }
  // Puts the window with its frame in the middle of the screen it is on.
  void CentreOnScreen();
  // The pointer's position in the window's logical client pixels, wherever it is on the screen
  // (outside the window the values lie outside the client area).
  SDL_Point Pointer() const;
  // Another window is shown modally: this one takes no input until it is hidden.
  bool BlockedByModal() const;
  bool Fullscreen() const;
  uint32_t Id() const { return id_; }
  SDL_Window* Native() const { return window_; }
  int Scale() const { return scale_; }
  // Frames presented since the window was made.
  int64_t Presents() const { return presents_; }
  // Frames composed but not presented, because nothing on them had changed.
  int64_t Unchanged() const { return unchanged_; }

  // The window manager asked to close it (not the × label, which is a control).
  std::function<void()> OnCloseRequest;
  // The window became the active one (it has the keyboard), or stopped being it.
  std::function<void()> OnActivate;
  std::function<void()> OnDeactivate;
  // A key went down while the window had the keyboard (auto-repeat not included), with its
  // virtual-key code. Keys of a window shown modally go only here.
  std::function<void(int virtualKey)> OnKeyDown;
  // The key went up again (what is held, such as Backspace going back, stops with it).
  std::function<void(int virtualKey)> OnKeyUp;
  // A held key repeating (the editor scrolls and erases by it; the game does not want it). A
  // held direction of a pad repeats here too, as a held arrow does.
  std::function<void(int virtualKey)> OnKeyRepeat;
  // The player's own keys on this window: the keyboard's key k reaches it (and the key state
  // the game polls) as KeyMap[k], nothing when that is 0. A window shown modally answers the
  // keys as they are.
  std::optional<std::array<uint8_t, 256>> KeyMap;
  // The keys the pad's buttons stand for on this window; none: the App's PadKeys.
  std::optional<PadKeyMap> PadKeys;
  // A pad was plugged in, or a pad in use was pulled out (its buttons were let go first): every
  // window shown is told.
  std::function<void()> OnPadAdded;
  std::function<void()> OnPadRemoved;
  // Text typed while the window had the keyboard, UTF-8, as the keyboard layout composed it.
  std::function<void(const std::string& text)> OnTextInput;

  // Used by App: mouse and window events of this window, and drawing. Handle takes the
  // pointer's positions in logical client pixels, HandleNative in the window's own pixels (as
  // the window system reports them).
  void Handle(const SDL_Event& event);
  void HandleNative(const SDL_Event& event);
  // Draws and presents when something changed and a display refresh has passed since the last
  // present. Returns the time the next present may happen, or -1 when nothing is waiting.
  int64_t PresentIfDue(int64_t nowNs);
  // The pointer rests this long on a control before its tool tip shows.
  static constexpr int64_t ToolTipDelayNs = 500'000'000;
  // The tool tip showing now, empty for none.
  const std::string& ShownToolTip() const { return tipText_; }
  // Composes the whole client area as it is now into a surface of its own (for tests and
  // screenshots); the window's frame is not touched.
  SDL_Surface* Compose();
  // Brings the window's frame up to date by drawing again only the rectangles that changed since
  // the last time, and returns it; Damage() then lists those rectangles (empty: nothing changed).
  SDL_Surface* ComposeChanges();
  const std::vector<SDL_Rect>& Damage() const { return damage_; }
  // A point of the window's own pixels in logical client pixels.
  SDL_Point ToLogical(int x, int y) const;
  // Whether the background is under this logical point (the window can be dragged from there).
  bool IsBackground(SDL_Point logical);

 private:
  void PresentNow();
  void MakeSurfaces();
  void HideToolTip();
  // The scaled client area in the window's pixels. A window is its client area enlarged by a
  // whole factor; fullscreen centres the client area at the largest size that fits the screen,
  // by whole pixels where that fills it, else by SharpTaps.
  struct Placement {
    int Factor = 1;
    int Left = 0, Top = 0;
    int Width = 0, Height = 0;
    bool Sharp = false;  // not a whole factor: drawn through SharpTaps
  };
  // The window pixels that show the logical rectangle r (with the border pixels a sharp
  // scaling mixes from its neighbours).
  SDL_Rect OnScreen(const Placement& p, const SDL_Rect& r) const;
  Placement Place() const;
  // Records the place and look of every control, adding the areas of those that changed.
  struct Seen {
    SDL_Rect Area;
    SDL_Point Origin;
    uint64_t Look;
    uint64_t Frame;  // the last frame the control was found in the window
  };
  void Walk(Control* c, SDL_Point origin, const SDL_Rect& clip);
  void AddDamage(const SDL_Rect& r);
  SDL_Rect ToolTipBox() const;
  // Shows the hovered control's tool tip once the pointer has rested; returns when to look again.
  int64_t UpdateToolTip(int64_t nowNs);
  void DrawToolTip(SDL_Surface* frame, const SDL_Rect& clip);
  App& app_;
  WindowOptions options_;
  SDL_Window* window_ = nullptr;
  // The client area at logical size, kept between frames. At one window pixel a logical pixel
  // the window surface itself is the frame: no second window-sized surface (1.9 MB at 800 × 600)
  // and no copy of each change; frame_ is then empty.
  SurfacePtr frame_;
  const SDL_Surface* drawnInto_ = nullptr;  // the frame the last ComposeChanges drew into
  SDL_Surface* FrameSurface();
  SurfacePtr full_;   // Compose's own surface, made when first asked for
  bool fullRedraw_ = true;  // the screen lost its picture (exposed, resized, shown)
  std::unordered_map<const Control*, Seen> seen_;
  uint64_t walks_ = 0;
  std::vector<SDL_Rect> pending_;  // areas changed outside the controls' looks
  std::vector<SDL_Rect> damage_;   // what the last ComposeChanges drew
  std::string tipDrawn_;
  SDL_Rect tipDrawnBox_{0, 0, 0, 0};
  const SDL_Surface* screenSurface_ = nullptr;  // the window surface last presented to
  XUpload upload_;
  int screenW_ = 0, screenH_ = 0;
  void SetFullscreen(bool full);
  bool ownFullscreen_ = false;  // laid over the display by us, for want of a window manager
  SDL_Rect windowed_{};         // where the window was before that
  PictureBox root_;
  Control* pressed_ = nullptr;
  // The control that took the first mouse press still held, and that press's button: it gets the
  // release, wherever the pointer is by then.
  Control* captured_ = nullptr;
  int capturedButton_ = 0;
  Control* hovered_ = nullptr;
  int64_t hoverSinceNs_ = 0;
  SDL_Point pointer_{0, 0};
  std::string tipText_;
  uint32_t id_ = 0;
  int scale_ = 1;
  bool shown_ = false;
  bool dirty_ = true;
  int64_t refreshNs_ = 16'666'667;
  int64_t lastPresentNs_ = 0;
  int64_t presents_ = 0;
  int64_t unchanged_ = 0;
};

}  // namespace quarn::platform
