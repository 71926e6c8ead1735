// App.h — the program's one user-interface thread: SDL, the event loop, timers, keys, fonts.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "EventWait.h"
#include "Fonts.h"
#include "KeyInput.h"
#include "Pads.h"
#include "Signals.h"
#include "Timers.h"
#include "Window.h"

namespace quarn::platform {

// The program's own folder (where the executable lies), without a trailing separator.
std::string ProgramFolder();

// How the windows reach the screen. Native: the window surface is X's own image, and changed
// rectangles go straight to the server. SdlDefault: SDL keeps the surface in a texture of its
// renderer, which SDL 2.26 can show where its own X image cannot (a 30-bit screen, whose desktop
// format it reports as unknown). None: nothing can be shown (a screen of 8-bit palette colours).
enum class ScreenPath { Native, SdlDefault, Unusable };
// desktopFormat: SDL's format of the desktop mode; depth: the X screen's default depth.
ScreenPath ChooseScreenPath(uint32_t desktopFormat, int depth);

class App {
 public:
  // Starts SDL's video and fonts; key events of our windows go to keys. Throws std::runtime_error
  // when there is no display.
  App(KeySink& keys, MonotonicClock& clock);
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  Fonts& FontSet() { return fonts_; }
  TimerQueue& Timers() { return timers_; }
  KeyInput& Keys() { return keyInput_; }

  // Delivers events, timer ticks and presents, one at a time, until Quit. Returns at once when
  // a quit was asked for before it started.
  void Run();
  // Ends Run and every modal wait; stays asked for the rest of the program.
  void Quit() { quit_ = true; }
  // Whether the program is to end: Quit was called, or a signal asked for it. A nested event loop
  // (a modal window of ours) ends when this turns true.
  bool QuitRequested() const { return quit_ || SignalReceived() != 0; }
  // The player's choice of the full screen, kept for as long as the game runs: every window that
  // can go full screen takes it when it is shown (Window::Show), and F11 in any of them sets it.
  bool WantsFullscreen() const { return wantsFullscreen_; }
  void SetWantsFullscreen(bool wanted) { wantsFullscreen_ = wanted; }
  // Shows the window and waits until it is hidden again or the program is asked to quit. Timer
  // ticks and presents of every window go on meanwhile; the other windows take no mouse or
  // keyboard input. Returns false when the wait ended by the quit.
  bool ShowModal(Window& w);
  // The window shown modally now, or null.
  Window* Modal() const { return modal_; }

  // The system's message boxes, for a message that must be shown where no window of our own can
  // be: a plain message, and a question with buttons (first is the default); these wait for the
  // player and no timer ticks meanwhile. Ask returns the index of the pressed button, -1 when
  // closed.
  void ShowMessage(const std::string& title, const std::string& text, bool error);
  int Ask(const std::string& title, const std::string& text,
          const std::vector<std::string>& buttons);

  // Answers every message box instead of the player when set (tests, headless runs): gets the
  // title, the text and the buttons, returns the pressed button's index or -1.
  std::function<int(const std::string&, const std::string&, const std::vector<std::string>&)>
      AnswerInstead;

  // The one way a key reaches the windows, whichever device gave it: the keyboard (its key
  // translated to the game's code first), a pad's button, the page's on-screen pad. A window
  // shown modally gets every key going down and nothing else; otherwise the key goes to the key
  // state the game polls and to the handlers of the window that has the keyboard. Calling this
  // from outside (the page's on-screen pad) gives keys held apart from the keyboard's and the
  // pad's: a key held on two devices is down until both let it go.
  void DeliverKey(int virtualKey, bool down);
  // Hands every event SDL holds to its window, without waiting (tests drive the loop so).
  void DeliverPending();

  // Takes the pads plugged in now and later; mappingsFile holds the player's own mappings in
  // SDL's format (read when it exists). Without this call the game answers no pad.
  void UsePads(const std::string& mappingsFile);
  // Whether a pad is plugged in and taken (the help then names its buttons).
  bool PadInUse() const { return pads_ && pads_->Any(); }
  // A held direction of a pad first repeats after this wait, then at this interval, as the
  // keyboard's repeat does.
  static constexpr int PadRepeatWaitMs = 400, PadRepeatMs = 60;
  // The keys the pad's buttons stand for on a window with no PadKeys of its own.
  PadKeyMap PadKeys{};

  // Used by Window.
  void Register(Window* w) { windows_.push_back(w); }
  void Unregister(Window* w);

 private:
  void Dispatch(const SDL_Event& event);
  // One round of the event loop: presents, waiting for the next event or due tick, events, ticks.
  void Step();
  // Whether an event of window w is dropped because another window is shown modally.
  bool BlockedByModal(uint32_t windowId) const;
  // Keys pressed or let go while a message box had the keyboard are unknown to us.
  void ModalDone() { keyInput_.ReleaseAll(); }
  Window* WindowOf(uint32_t id);
  Window* Owner();
  // The window a key of no window goes to: the one with the keyboard, else the last one shown.
  Window* KeyWindow();
  // A key of one slot (KeyInput) down or up for target; with down, repeat is the keyboard's own
  // auto-repeat.
  void Deliver(int slot, int virtualKey, bool down, bool repeat, Window* target);
  void PadButtonChanged(PadButton button, bool down);
  // Every window shown is told of a pad plugged in or pulled out.
  void TellPadChange(std::function<void()> Window::*hook);
  // A held direction of a pad goes on as a held arrow key does: after a wait, again and again,
  // as repeats of the window it went down on, while that window still takes the pad's buttons.
  void PadRepeat();
  void StopPadRepeat();
  // Signals are watched from before SDL starts until after it has shut down.
  SignalWatch signals_;
  // SDL and its fonts, started first and shut down last.
  struct Session {
    Session();
    ~Session();
  } session_;
  Fonts fonts_;
  KeyInput keyInput_;
  TimerQueue timers_;
  std::vector<Window*> windows_;
  std::vector<Window*> presenting_;  // Step's copy of windows_, kept between steps
  Window* modal_ = nullptr;
  EventWait wait_;
  std::unique_ptr<Pads> pads_;
  // The keys each pad button went down as, and the window it went to.
  std::array<PadChord, PadButtons> padChords_{};
  std::array<uint32_t, PadButtons> padWindows_{};
  // The direction held and repeating (PadButtons: none), and its timer.
  size_t repeating_ = PadButtons;
  Timer padRepeat_{timers_, [this] { PadRepeat(); }};
  bool quit_ = false;
  bool wantsFullscreen_ = false;
};

}  // namespace quarn::platform
