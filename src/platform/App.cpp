// App.cpp — SDL start-up, the event loop, modal waits and the system message boxes.
#include "App.h"

#include <SDL_ttf.h>
#ifndef __EMSCRIPTEN__
#include <X11/Xlib.h>
#endif
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <stdexcept>

#include "WindowSystem.h"

namespace quarn::platform {

std::string ProgramFolder() {
  char* base = SDL_GetBasePath();
  if (!base) return ".";
  std::string folder = base;
  SDL_free(base);
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

ScreenPath ChooseScreenPath(uint32_t desktopFormat, int depth) {
  if (depth > 0 && depth < 15) return ScreenPath::Unusable;
  if (desktopFormat == SDL_PIXELFORMAT_UNKNOWN || SDL_ISPIXELFORMAT_INDEXED(desktopFormat))
    return ScreenPath::SdlDefault;
  return ScreenPath::Native;
}

namespace {

// The default depth of the X display SDL uses, 0 when it cannot be asked.
int XDepth() {
#ifdef __EMSCRIPTEN__
  return 0;
#else
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 0;
  const int depth = DefaultDepth(display, DefaultScreen(display));
  XCloseDisplay(display);
  return depth;
#endif
}

// Whether no session bus is known: none named by DBUS_SESSION_BUS_ADDRESS and no socket at the
// place a user session keeps it.
bool NoSessionBusKnown() {
  if (const char* address = getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address) return false;
  const char* runtime = getenv("XDG_RUNTIME_DIR");
  struct stat st{};
  return !(runtime && *runtime &&
           stat((std::string(runtime) + "/bus").c_str(), &st) == 0 && S_ISSOCK(st.st_mode));
}

}  // namespace

App::Session::Session() {
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  // Mended: closing the only window by its frame would also ask the whole program to quit; a
  // dialog closed so before any screen exists must only go away. Each window handles its own
  // close request.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  // With no session bus to reach (no address given, no $XDG_RUNTIME_DIR/bus), the D-Bus library
  // would start a bus of its own for the display (dbus-launch: a fork at every start, and a
  // daemon left running after the game) only for SDL to ask it about input methods and the
  // screen saver. The game does without them then; the address is taken back once SDL looked.
  const bool noBus = NoSessionBusKnown() && setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1) == 0;
  const int videoStarted = SDL_InitSubSystem(SDL_INIT_VIDEO);
  if (noBus) unsetenv("DBUS_SESSION_BUS_ADDRESS");
  if (videoStarted != 0) {
    throw std::runtime_error(std::string("nelze otevřít okno: ") + SDL_GetError());
  }
  // Mended: a driver without a screen is used only when asked for by name (SDL_VIDEODRIVER, as
  // the tests do). With no display SDL falls back to drawing into memory, and the game would go
  // on running where nobody could see or close it.
  const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
  const char* chosen = SDL_getenv("SDL_VIDEODRIVER");
  if ((driver == "offscreen" || driver == "dummy") && !(chosen && driver == chosen)) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    throw std::runtime_error(
        "chybí obrazovka pro okno: DISPLAY ani WAYLAND_DISPLAY nejmenují žádnou, která odpovídá");
  }
  // The windows are drawn in software and handed to the display by the rectangles that changed.
  // On X, SDL would otherwise put a GL texture behind every window surface, which without a GPU
  // costs a software GL stack's memory and a full-window upload per frame; X takes the pixels
  // directly. A driver with no window surface of its own keeps SDL's texture, and the
  // environment may still ask for it.
  if (driver == "x11") {
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) mode.format = SDL_PIXELFORMAT_UNKNOWN;
    const int depth = XDepth();
    switch (ChooseScreenPath(mode.format, depth)) {
      case ScreenPath::Native:
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        break;
      case ScreenPath::SdlDefault:
        // Mended: forced to X's own image on a 30-bit screen, SDL showed an empty window.
        break;
      case ScreenPath::Unusable:
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        throw std::runtime_error("obrazovka ukazuje " + std::to_string(depth) +
                                 "bitové barvy z palety, na nichž hru nelze ukázat; hra "
                                 "potřebuje obrazovku s 16 bity nebo více (true colour)");
    }
  }
  if (TTF_Init() != 0) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    throw std::runtime_error(std::string("nelze spustit vykreslování písma: ") + TTF_GetError());
  }
}

App::Session::~Session() {
  TTF_Quit();
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

App::App(KeySink& keys, MonotonicClock& clock) : keyInput_(keys), timers_(clock) {}

App::~App() = default;

void App::Unregister(Window* w) { std::erase(windows_, w); }

Window* App::WindowOf(uint32_t id) {
  for (Window* w : windows_) {
    if (w->Id() == id) return w;
  }
  return nullptr;
}

Window* App::Owner() {
  for (Window* w : windows_) {
    if (w->Shown()) return w;
  }
  return nullptr;
}

void App::Dispatch(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
      quit_ = true;
      return;
    case SDL_KEYDOWN: {
      const SDL_Keysym& k = event.key.keysym;
      const KeyEventModifiers held(k.mod);
      const bool toggle =
          k.scancode == SDL_SCANCODE_F11 ||
          ((k.scancode == SDL_SCANCODE_RETURN || k.scancode == SDL_SCANCODE_KP_ENTER) &&
           (k.mod & KMOD_ALT));
      // A modal window has every key, whichever window the system gave it to; Alt+Enter is no
      // Enter for it.
      if (toggle && !modal_ && event.key.repeat == 0) {
        if (Window* w = WindowOf(event.key.windowID)) w->ToggleFullscreen();
      }
      if (toggle || k.scancode < 0 || k.scancode >= SDL_NUM_SCANCODES) return;
      Window* target = WindowOf(event.key.windowID);
      int virtualKey = VirtualKeyOf(k.sym, k.scancode);
      const bool posted = IsPostedKey(event.key);
      // The player's own keys become the game's before the game or a recording sees them; a
      // posted key (the page's touch controls) is the game's own already.
      if (!modal_ && !posted && target && target->KeyMap && virtualKey > 0 && virtualKey < 256)
        virtualKey = (*target->KeyMap)[static_cast<size_t>(virtualKey)];
      if (virtualKey > 0 && virtualKey < 256)
        Deliver(posted ? KeyInput::PageSlots + virtualKey : k.scancode, virtualKey, true,
                event.key.repeat != 0, target);
      return;
    }
    case SDL_TEXTINPUT:
      // Typing goes to a modal window, as its keys do (the file chooser's name field); the
      // windows under it take none.
      if (Window* w = modal_ ? modal_ : WindowOf(event.text.windowID); w && w->OnTextInput) {
        const auto handler = w->OnTextInput;
        handler(std::string(event.text.text));
      }
      return;
    case SDL_KEYUP:
      if (IsPostedKey(event.key)) {
        const int virtualKey = VirtualKeyOf(event.key.keysym.sym, event.key.keysym.scancode);
        if (virtualKey > 0 && virtualKey < 256)
          Deliver(KeyInput::PageSlots + virtualKey, 0, false, false, WindowOf(event.key.windowID));
      } else if (event.key.keysym.scancode >= 0 && event.key.keysym.scancode < SDL_NUM_SCANCODES) {
        Deliver(event.key.keysym.scancode, 0, false, false, WindowOf(event.key.windowID));
      }
      return;
    case SDL_WINDOWEVENT:
      if (!modal_) keyInput_.Handle(event);
      if (BlockedByModal(event.window.windowID) && event.window.event == SDL_WINDOWEVENT_CLOSE)
        return;
      if (Window* w = WindowOf(event.window.windowID)) w->Handle(event);
      return;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (BlockedByModal(event.button.windowID)) {
        // A click beside the modal window brings it back to the player's eyes.
        if (event.type == SDL_MOUSEBUTTONDOWN) windows::RaiseWindow(modal_->Native());
        return;
      }
      if (Window* w = WindowOf(event.button.windowID)) w->HandleNative(event);
      return;
    case SDL_MOUSEMOTION:
      if (BlockedByModal(event.motion.windowID)) return;
      if (Window* w = WindowOf(event.motion.windowID)) w->HandleNative(event);
      return;
    case SDL_MOUSEWHEEL:
      if (BlockedByModal(event.wheel.windowID)) return;
      if (Window* w = WindowOf(event.wheel.windowID)) w->Handle(event);
      return;
    default:
      if (pads_ && pads_->Handle(event) &&
          (event.type == SDL_CONTROLLERDEVICEADDED || event.type == SDL_CONTROLLERDEVICEREMOVED))
        wait_.WatchPads(pads_->DeviceFiles(), pads_->SomeWithoutFile());
      return;
  }
}

Window* App::KeyWindow() {
  if (SDL_Window* focused = windows::GetKeyboardFocus()) {
    if (Window* w = WindowOf(windows::GetWindowID(focused)); w && w->Shown()) return w;
  }
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
    if ((*it)->Shown()) return *it;
  }
  return nullptr;
}

void App::Deliver(int slot, int virtualKey, bool down, bool repeat, Window* target) {
  if (modal_) {
    // Only what goes down (or repeats) reaches a modal window; its keys never reach the game's
    // key state.
    if (const auto handler = repeat ? modal_->OnKeyRepeat : modal_->OnKeyDown; down && handler)
      handler(virtualKey);
    return;
  }
  if (down) {
    if (!repeat) keyInput_.Press(slot, virtualKey);
    if (!target) return;
    const auto handler = repeat ? target->OnKeyRepeat : target->OnKeyDown;
    if (handler) handler(virtualKey);
    return;
  }
  const int released = keyInput_.Release(slot);
  if (released != 0 && target && target->OnKeyUp) {
    const auto handler = target->OnKeyUp;
    handler(released);
  }
}

void App::DeliverKey(int virtualKey, bool down) {
  if (virtualKey <= 0 || virtualKey > 255) return;
  Deliver(KeyInput::PageSlots + virtualKey, virtualKey, down, false, KeyWindow());
}

void App::UsePads(const std::string& mappingsFile) {
  if (pads_) return;
  pads_ = std::make_unique<Pads>(mappingsFile);
  pads_->OnButton = [this](SDL_JoystickID, PadButton button, bool down) {
    PadButtonChanged(button, down);
  };
  pads_->OnAdded = [this] { TellPadChange(&Window::OnPadAdded); };
  pads_->OnRemoved = [this] { TellPadChange(&Window::OnPadRemoved); };
}

void App::TellPadChange(std::function<void()> Window::*hook) {
  const std::vector<Window*> windows = windows_;  // a handler may close a window
  for (Window* w : windows) {
    if (std::find(windows_.begin(), windows_.end(), w) == windows_.end() || !w->Shown()) continue;
    if (const auto handler = w->*hook) handler();
  }
}

void App::PadButtonChanged(PadButton button, bool down) {
  const size_t b = static_cast<size_t>(button);
  const int slot = KeyInput::PadSlots + 2 * static_cast<int>(b);
  if (down) {
    // The keys of the window the button acts on, fixed until it is let go.
    Window* target = modal_ ? modal_ : KeyWindow();
    const PadChord chord = target && target->PadKeys ? (*target->PadKeys)[b] : PadKeys[b];
    padChords_[b] = chord;
    padWindows_[b] = target ? target->Id() : 0;
    // Another button pressed ends a direction's repeat, as another key ends an arrow's.
    StopPadRepeat();
    if (b < 4 && target) {
      repeating_ = b;
      padRepeat_.SetInterval(PadRepeatWaitMs);
      padRepeat_.SetEnabled(true);
    }
    for (size_t k = 0; k < chord.size(); ++k) {
      if (chord[k] != 0) Deliver(slot + static_cast<int>(k), chord[k], true, false, target);
    }
    return;
  }
  if (b == repeating_) StopPadRepeat();
  const PadChord chord = std::exchange(padChords_[b], PadChord{});
  Window* target = WindowOf(padWindows_[b]);
  for (size_t k = chord.size(); k-- > 0;) {
    if (chord[k] != 0) Deliver(slot + static_cast<int>(k), chord[k], false, false, target);
  }
}

void App::StopPadRepeat() {
  repeating_ = PadButtons;
  padRepeat_.SetEnabled(false);
}

void App::PadRepeat() {
  if (repeating_ >= PadButtons) return StopPadRepeat();
  // The window the direction went down on, as long as a fresh press would still go there.
  Window* target = WindowOf(padWindows_[repeating_]);
  if (!target || !target->Shown() || target != (modal_ ? modal_ : KeyWindow()))
    return StopPadRepeat();
  if (padRepeat_.Interval() != PadRepeatMs) padRepeat_.SetInterval(PadRepeatMs);
  const int slot = KeyInput::PadSlots + 2 * static_cast<int>(repeating_);
  const PadChord chord = padChords_[repeating_];
  for (size_t k = 0; k < chord.size(); ++k) {
    if (chord[k] != 0) Deliver(slot + static_cast<int>(k), chord[k], true, true, target);
  }
}

void App::DeliverPending() {
  // Mended: the events queued behind the one that hid a modal window belong to the windows
  // under it; handed to the hidden window they would change a choice already made.
  auto modalEnded = [this] { return modal_ != nullptr && !modal_->Shown(); };
  // SDL reads the pads in its pump only when their subsystem started with the video; started
  // later, as here, they are read on our asking.
  if (pads_) SDL_GameControllerUpdate();
  SDL_PumpEvents();
  SDL_Event event;
  while (!QuitRequested() && !modalEnded() &&
         windows::PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1)
    Dispatch(event);
}

bool App::BlockedByModal(uint32_t windowId) const {
  return modal_ != nullptr && modal_->Id() != windowId;
}

void App::Run() {
  while (!QuitRequested()) Step();
}

bool App::ShowModal(Window& w) {
  Window* outer = modal_;
  // By its id: the window may be gone when the wait ends (a closed game screen is dropped by a
  // timer meanwhile).
  SDL_Window* focused = windows::GetKeyboardFocus();
  const uint32_t before = focused ? windows::GetWindowID(focused) : 0;
  modal_ = &w;
  w.Show();
  {
    const KeyEventModifiers outsideTheKey;
    while (!QuitRequested() && w.Shown()) Step();
  }
  modal_ = outer;
  // The keyboard goes back to the window the modal one stood over.
  Window* under = outer ? outer : WindowOf(before);
  if (!under || under == &w || !under->Shown()) under = Owner();
  if (under && under != &w && under->Shown()) under->TakeKeyboard();
  // Keys pressed or let go while the modal window had the keyboard never reached the game.
  ModalDone();
  return !QuitRequested();
}

void App::Step() {
  MonotonicClock& clock = timers_.Clock();
  int64_t now = clock.NowNs();
  int64_t wake = timers_.NextDueNs();
  // A copy: a present never changes the list, but a callback below may.
  std::vector<Window*> presenting;
  presenting.swap(presenting_);
  presenting.assign(windows_.begin(), windows_.end());
  for (Window* w : presenting) {
    const int64_t next = w->PresentIfDue(now);
    if (next >= 0 && (wake < 0 || next < wake)) wake = next;
  }
  presenting.swap(presenting_);
  int timeoutMs = 250;
  if (wake >= 0) {
    now = clock.NowNs();
    timeoutMs = wake <= now
                    ? 0
                    : static_cast<int>(std::min<int64_t>((wake - now + 999'999) / 1'000'000, 250));
  }
  if (wait_.Wait(windows_, timeoutMs)) DeliverPending();
  if (!QuitRequested()) timers_.RunDue();
}

void App::ShowMessage(const std::string& title, const std::string& text, bool error) {
  if (AnswerInstead) {
    AnswerInstead(title, text, {"OK"});
    return;
  }
  Window* owner = Owner();
  windows::ShowSimpleMessageBox(error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION, title.c_str(),
                           text.c_str(), owner ? owner->Native() : nullptr);
  ModalDone();
}

int App::Ask(const std::string& title, const std::string& text,
             const std::vector<std::string>& buttons) {
  if (AnswerInstead) return AnswerInstead(title, text, buttons);
  std::vector<SDL_MessageBoxButtonData> data;
  for (size_t i = 0; i < buttons.size(); ++i) {
    Uint32 flags = 0;
    if (i == 0) flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    if (i + 1 == buttons.size()) flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    data.push_back(SDL_MessageBoxButtonData{flags, static_cast<int>(i), buttons[i].c_str()});
  }
  Window* owner = Owner();
  const SDL_MessageBoxData box{SDL_MESSAGEBOX_INFORMATION | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT,
                               owner ? owner->Native() : nullptr,
                               title.c_str(),
                               text.c_str(),
                               static_cast<int>(data.size()),
                               data.data(),
                               nullptr};
  int pressed = -1;
  if (windows::ShowMessageBox(&box, &pressed) != 0) pressed = -1;
  ModalDone();
  return pressed;
}

}  // namespace quarn::platform
