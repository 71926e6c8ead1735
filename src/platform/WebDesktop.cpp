// WebDesktop.cpp — the game's windows laid out on the browser's one canvas.
#include "WebDesktop.h"

#include <emscripten.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "XUpload.h"

namespace quarn::platform {

// No X server in a browser: every change goes through the desktop.
XUpload::~XUpload() = default;
bool XUpload::Put(SDL_Window*, SDL_Surface*, const std::vector<SDL_Rect>&) { return false; }
void XUpload::Forget() {}

namespace web {

using namespace windows;

namespace {

extern "C" {
// web/Wait.js: sleeps (handing the browser its turn) for ms or until quarn_wake.
void quarn_wait(int ms);
// Ends the current quarn_wait at once; nothing when the game is not waiting.
void quarn_wake();
}

// SDL's event watch: every event that the page's handlers queue wakes the waiting game.
int WakeOnEvent(void*, SDL_Event*) {
  quarn_wake();
  return 0;
}

struct WebWindow {
  Uint32 Id = 0;
  SDL_Rect Place{0, 0, 0, 0};
  bool Shown = false;
  bool Bordered = false;
  std::string Title;
  SDL_Surface* Surface = nullptr;
};

// The desktop behind the windows, and the frame drawn around a window with a title bar.
constexpr Uint8 DeskR = 0x20, DeskG = 0x24, DeskB = 0x2c;
constexpr Uint8 FrameR = 0x80, FrameG = 0x88, FrameB = 0x98;

struct Desktop {
  SDL_Window* Canvas = nullptr;
  // The desktop's picture, in the canvas's own byte order (red, green, blue, opaque alpha), so
  // that changed rectangles go to the canvas without a conversion.
  SDL_Surface* Frame = nullptr;
  int Width = StartWidth, Height = StartHeight;
  std::vector<WebWindow*> Stack;  // bottom first; the active window is the top shown one
  WebWindow* Active = nullptr;
  WebWindow* Captured = nullptr;  // took the press of a button still held
  WebWindow* Hovered = nullptr;
  SDL_Point Pointer{-1, -1};
  Uint32 NextId = 1000;
  // The window the last key went down in: the key's character follows it there, as on a desktop,
  // also when the key itself showed another window (E on the start screen opens the editor, and
  // its "e" is no tile for the editor's brush).
  Uint32 Typed = 0;
  bool Whole = true;
  std::vector<SDL_Rect> Damage;
  std::deque<SDL_Event> Pending;  // our own window events, before SDL's
};

Desktop& Desk() {
  static Desktop d;
  return d;
}

WebWindow* Of(SDL_Window* w) { return reinterpret_cast<WebWindow*>(w); }
SDL_Window* AsSdl(WebWindow* w) { return reinterpret_cast<SDL_Window*>(w); }

void EnsureCanvas() {
  Desktop& d = Desk();
  if (d.Canvas) return;
  d.Canvas = ::SDL_CreateWindow("Quarn", 0, 0, d.Width, d.Height, 0);
  d.Frame = SDL_CreateRGBSurfaceWithFormat(0, d.Width, d.Height, 32, SDL_PIXELFORMAT_ABGR8888);
  SDL_AddEventWatch(WakeOnEvent, nullptr);
}

void PushWindowEvent(WebWindow* w, Uint8 what) {
  if (!w) return;
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.windowID = w->Id;
  e.window.event = what;
  Desk().Pending.push_back(e);
}

WebWindow* TopShown() {
  Desktop& d = Desk();
  for (auto it = d.Stack.rbegin(); it != d.Stack.rend(); ++it) {
    if ((*it)->Shown) return *it;
  }
  return nullptr;
}

// The keyboard goes to w (or, for null, to the top window shown).
void Activate(WebWindow* w) {
  Desktop& d = Desk();
  if (!w) w = TopShown();
  if (w == d.Active) return;
  PushWindowEvent(d.Active, SDL_WINDOWEVENT_FOCUS_LOST);
  d.Active = w;
  PushWindowEvent(d.Active, SDL_WINDOWEVENT_FOCUS_GAINED);
}

WebWindow* Under(SDL_Point p) {
  Desktop& d = Desk();
  for (auto it = d.Stack.rbegin(); it != d.Stack.rend(); ++it) {
    if ((*it)->Shown && SDL_PointInRect(&p, &(*it)->Place)) return *it;
  }
  return nullptr;
}

void Centre(WebWindow* w) {
  w->Place.x = std::max(0, (Desk().Width - w->Place.w) / 2);
  w->Place.y = std::max(0, (Desk().Height - w->Place.h) / 2);
}

// The desktop is as large as the shown windows need (with their frames), and never smaller than
// it starts: a window shown larger than that (a long help) makes the desktop and the canvas grow,
// and once it is hidden or made smaller they shrink back. Every window is centred anew on a
// desktop of another size.
void Fit() {
  Desktop& d = Desk();
  int width = StartWidth, height = StartHeight;
  for (const WebWindow* w : d.Stack) {
    if (!w->Shown) continue;
    width = std::max(width, w->Place.w + 4);
    height = std::max(height, w->Place.h + 4);
  }
  if (width == d.Width && height == d.Height) return;
  d.Width = width;
  d.Height = height;
  if (!d.Canvas) return;
  ::SDL_SetWindowSize(d.Canvas, width, height);
  SDL_FreeSurface(d.Frame);
  d.Frame = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ABGR8888);
  for (WebWindow* other : d.Stack) Centre(other);
  d.Whole = true;
}

// The part of the desktop the shown windows cover (with their frames): the page scales the
// canvas so that this part fills the browser's window as far as whole steps allow, not the
// empty desktop around it. Told when it changes.
void TellShownArea() {
  Desktop& d = Desk();
  SDL_Rect area{0, 0, 0, 0};
  bool any = false;
  for (const WebWindow* w : d.Stack) {
    if (!w->Shown) continue;
    const int frame = w->Bordered ? 2 : 0;
    const SDL_Rect r{w->Place.x - frame, w->Place.y - frame, w->Place.w + 2 * frame,
                     w->Place.h + 2 * frame};
    if (any) {
      SDL_UnionRect(&area, &r, &area);
    } else {
      area = r;
      any = true;
    }
  }
  if (!any) area = SDL_Rect{0, 0, d.Width, d.Height};
  static SDL_Rect told{-1, -1, -1, -1};
  if (SDL_RectEquals(&area, &told)) return;
  told = area;
  EM_ASM({ if (Module.quarnShownArea) Module.quarnShownArea($0, $1, $2, $3); }, area.x, area.y,
         area.w, area.h);
}

void MakeSurface(WebWindow* w) {
  if (w->Surface) SDL_FreeSurface(w->Surface);
  w->Surface = SDL_CreateRGBSurfaceWithFormat(0, std::max(1, w->Place.w), std::max(1, w->Place.h),
                                              32, SDL_PIXELFORMAT_XRGB8888);
}

// The pointer's window gets Enter and Leave as a desktop's windows do.
void Hover(WebWindow* w) {
  Desktop& d = Desk();
  if (w == d.Hovered) return;
  PushWindowEvent(d.Hovered, SDL_WINDOWEVENT_LEAVE);
  d.Hovered = w;
  PushWindowEvent(d.Hovered, SDL_WINDOWEVENT_ENTER);
}

// Turns an event of the canvas into one of our windows; false when it belongs to none.
bool Retarget(SDL_Event& e) {
  Desktop& d = Desk();
  switch (e.type) {
    case SDL_MOUSEMOTION: {
      d.Pointer = SDL_Point{e.motion.x, e.motion.y};
      WebWindow* w = d.Captured ? d.Captured : Under(d.Pointer);
      Hover(Under(d.Pointer));
      if (!w) return false;
      e.motion.windowID = w->Id;
      e.motion.x -= w->Place.x;
      e.motion.y -= w->Place.y;
      return true;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      d.Pointer = SDL_Point{e.button.x, e.button.y};
      WebWindow* w = d.Captured ? d.Captured : Under(d.Pointer);
      if (e.type == SDL_MOUSEBUTTONDOWN) {
        d.Captured = w;
        // A click raises a window as on a desktop (a modal one is raised back by the loop).
        if (w && w != d.Active) RaiseWindow(AsSdl(w));
      } else if ((::SDL_GetMouseState(nullptr, nullptr) & SDL_BUTTON_LMASK) == 0) {
        d.Captured = nullptr;
      }
      if (!w) return false;
      e.button.windowID = w->Id;
      e.button.x -= w->Place.x;
      e.button.y -= w->Place.y;
      return true;
    }
    case SDL_MOUSEWHEEL: {
      WebWindow* w = Under(d.Pointer);
      if (!w) return false;
      e.wheel.windowID = w->Id;
      return true;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      if (!d.Active) return false;
      e.key.windowID = d.Active->Id;
      if (e.type == SDL_KEYDOWN) d.Typed = d.Active->Id;
      return true;
    case SDL_TEXTINPUT:
      if (!d.Active) return false;
      e.text.windowID = d.Typed != 0 ? d.Typed : d.Active->Id;
      return true;
    case SDL_TEXTEDITING:
      if (!d.Active) return false;
      e.edit.windowID = d.Active->Id;
      return true;
    case SDL_WINDOWEVENT:
      switch (e.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_FOCUS_LOST:
          if (!d.Active) return false;
          e.window.windowID = d.Active->Id;
          return true;
        case SDL_WINDOWEVENT_LEAVE:
          Hover(nullptr);
          return false;
        default:
          d.Whole = true;
          return false;
      }
    default:
      return true;
  }
}

}  // namespace

}  // namespace web

// The window system of the browser build: the calls of WindowSystem.h on the desktop above.
namespace windows {

using namespace web;

SDL_Window* CreateWindow(const char* title, int, int, int w, int h, Uint32 flags) {
  EnsureCanvas();
  auto* win = new WebWindow;
  win->Id = Desk().NextId++;
  win->Title = title ? title : "";
  win->Bordered = (flags & SDL_WINDOW_BORDERLESS) == 0;
  win->Place = SDL_Rect{0, 0, w, h};
  Centre(win);
  MakeSurface(win);
  Desk().Stack.push_back(win);
  return AsSdl(win);
}

void DestroyWindow(SDL_Window* window) {
  Desktop& d = Desk();
  WebWindow* w = Of(window);
  std::erase(d.Stack, w);
  if (d.Captured == w) d.Captured = nullptr;
  if (d.Hovered == w) d.Hovered = nullptr;
  if (d.Active == w) {
    d.Active = nullptr;
    Activate(nullptr);
  }
  std::erase_if(d.Pending, [w](const SDL_Event& e) {
    return e.type == SDL_WINDOWEVENT && e.window.windowID == w->Id;
  });
  SDL_FreeSurface(w->Surface);
  delete w;
  Fit();
  d.Whole = true;
}

Uint32 GetWindowID(SDL_Window* window) { return Of(window)->Id; }

Uint32 GetWindowFlags(SDL_Window* window) {
  const WebWindow* w = Of(window);
  return (w->Shown ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN) |
         (w->Bordered ? 0u : static_cast<Uint32>(SDL_WINDOW_BORDERLESS)) |
         (Desk().Active == w ? static_cast<Uint32>(SDL_WINDOW_INPUT_FOCUS) : 0u);
}

void ShowWindow(SDL_Window* window) {
  WebWindow* w = Of(window);
  if (!w->Shown) PushWindowEvent(w, SDL_WINDOWEVENT_SHOWN);
  w->Shown = true;
  Fit();
  RaiseWindow(window);
}

void HideWindow(SDL_Window* window) {
  Desktop& d = Desk();
  WebWindow* w = Of(window);
  w->Shown = false;
  if (d.Captured == w) d.Captured = nullptr;
  if (d.Active == w) Activate(nullptr);
  Fit();
  d.Whole = true;
}

void RaiseWindow(SDL_Window* window) {
  Desktop& d = Desk();
  WebWindow* w = Of(window);
  if (!w->Shown) return;
  std::erase(d.Stack, w);
  d.Stack.push_back(w);
  Activate(w);
  d.Whole = true;
}

int SetWindowInputFocus(SDL_Window* window) {
  RaiseWindow(window);
  return 0;
}

void SetWindowSize(SDL_Window* window, int w, int h) {
  WebWindow* win = Of(window);
  if (win->Place.w == w && win->Place.h == h) return;
  win->Place.w = w;
  win->Place.h = h;
  Centre(win);
  MakeSurface(win);
  if (win->Shown) Fit();
  Desk().Whole = true;
}

void GetWindowSize(SDL_Window* window, int* w, int* h) {
  if (w) *w = Of(window)->Place.w;
  if (h) *h = Of(window)->Place.h;
}

void SetWindowPosition(SDL_Window* window, int x, int y) {
  WebWindow* w = Of(window);
  // Kept on the desktop: a window that would stand partly off it is centred instead.
  if (x < 0 || y < 0 || x + w->Place.w > Desk().Width || y + w->Place.h > Desk().Height) {
    Centre(w);
  } else {
    w->Place.x = x;
    w->Place.y = y;
  }
  Desk().Whole = true;
}

void GetWindowPosition(SDL_Window* window, int* x, int* y) {
  if (x) *x = Of(window)->Place.x;
  if (y) *y = Of(window)->Place.y;
}

void SetWindowTitle(SDL_Window* window, const char* title) {
  WebWindow* w = Of(window);
  w->Title = title ? title : "";
  if (w == Desk().Active) {
    EM_ASM({ document.title = UTF8ToString($0); }, w->Title.c_str());
  }
}

SDL_Surface* GetWindowSurface(SDL_Window* window) { return Of(window)->Surface; }

int UpdateWindowSurfaceRects(SDL_Window* window, const SDL_Rect* rects, int count) {
  const WebWindow* w = Of(window);
  if (!w->Shown) return 0;
  const SDL_Rect desk{0, 0, Desk().Width, Desk().Height};
  for (int i = 0; i < count; ++i) {
    SDL_Rect r{rects[i].x + w->Place.x, rects[i].y + w->Place.y, rects[i].w, rects[i].h};
    SDL_Rect on;
    if (SDL_IntersectRect(&r, &desk, &on)) Desk().Damage.push_back(on);
  }
  return 0;
}

int GetWindowDisplayIndex(SDL_Window*) { return 0; }

int GetWindowBordersSize(SDL_Window*, int* top, int* left, int* bottom, int* right) {
  for (int* v : {top, left, bottom, right}) {
    if (v) *v = 0;
  }
  return 0;
}

int SetWindowHitTest(SDL_Window*, SDL_HitTest, void*) { return 0; }
int SetWindowFullscreen(SDL_Window*, Uint32) { return -1; }
SDL_bool GetWindowWMInfo(SDL_Window*, SDL_SysWMinfo*) { return SDL_FALSE; }

int GetDisplayUsableBounds(int display, SDL_Rect* rect) { return GetDisplayBounds(display, rect); }

int GetDisplayBounds(int, SDL_Rect* rect) {
  *rect = SDL_Rect{0, 0, Desk().Width, Desk().Height};
  return 0;
}

SDL_Window* GetMouseFocus() {
  WebWindow* w = Under(Desk().Pointer);
  return w ? AsSdl(w) : nullptr;
}

SDL_Window* GetKeyboardFocus() { return Desk().Active ? AsSdl(Desk().Active) : nullptr; }

Uint32 GetMouseState(int* x, int* y) {
  const Uint32 buttons = ::SDL_GetMouseState(nullptr, nullptr);
  SDL_Point p = Desk().Pointer;
  if (const WebWindow* w = Under(p)) {
    p.x -= w->Place.x;
    p.y -= w->Place.y;
  }
  if (x) *x = p.x;
  if (y) *y = p.y;
  return buttons;
}

Uint32 GetGlobalMouseState(int* x, int* y) {
  if (x) *x = Desk().Pointer.x;
  if (y) *y = Desk().Pointer.y;
  return ::SDL_GetMouseState(nullptr, nullptr);
}

int PeepEvents(SDL_Event* events, int count, SDL_eventaction action, Uint32 minType,
               Uint32 maxType) {
  Desktop& d = Desk();
  int taken = 0;
  while (taken < count) {
    if (!d.Pending.empty()) {
      if (action != SDL_GETEVENT) return static_cast<int>(d.Pending.size());
      events[taken++] = d.Pending.front();
      d.Pending.pop_front();
      continue;
    }
    SDL_Event e;
    if (::SDL_PeepEvents(&e, 1, action, minType, maxType) != 1) break;
    if (action != SDL_GETEVENT) return 1;
    if (Retarget(e)) {
      events[taken++] = e;
    }
    // Retargeting may have queued window events (enter, leave) that come first next time.
  }
  return taken;
}

SDL_bool HasEvents(Uint32 minType, Uint32 maxType) {
  return !Desk().Pending.empty() ? SDL_TRUE : ::SDL_HasEvents(minType, maxType);
}

int ShowSimpleMessageBox(Uint32, const char* title, const char* message, SDL_Window*) {
  EM_ASM({ alert(UTF8ToString($0) + "\n\n" + UTF8ToString($1)); }, title, message);
  return 0;
}

int ShowMessageBox(const SDL_MessageBoxData* data, int* pressed) {
  if (data->numbuttons <= 1) {
    ShowSimpleMessageBox(data->flags, data->title, data->message, nullptr);
    if (pressed) *pressed = data->numbuttons == 1 ? data->buttons[0].buttonid : -1;
    return 0;
  }
  const int yes = EM_ASM_INT(
      { return confirm(UTF8ToString($0) + "\n\n" + UTF8ToString($1)) ? 1 : 0; }, data->title,
      data->message);
  if (pressed) *pressed = data->buttons[yes ? 0 : data->numbuttons - 1].buttonid;
  return 0;
}

}  // namespace windows

namespace web {

void Flush() {
  Desktop& d = Desk();
  if (!d.Canvas || !d.Frame || (!d.Whole && d.Damage.empty())) return;
  SDL_Surface* canvas = d.Frame;
  if (d.Whole) {
    d.Damage.assign(1, SDL_Rect{0, 0, d.Width, d.Height});
    if (d.Active) EM_ASM({ document.title = UTF8ToString($0); }, d.Active->Title.c_str());
    TellShownArea();
  }
  const Uint32 desk = SDL_MapRGB(canvas->format, DeskR, DeskG, DeskB);
  const Uint32 frame = SDL_MapRGB(canvas->format, FrameR, FrameG, FrameB);
  for (const SDL_Rect& area : d.Damage) {
    SDL_Rect r = area;
    SDL_FillRect(canvas, &r, desk);
    for (WebWindow* w : d.Stack) {
      if (!w->Shown) continue;
      if (w->Bordered) {
        // A thin frame in place of a title bar: a dialog stands out from the screen under it.
        SDL_Rect outer{w->Place.x - 2, w->Place.y - 2, w->Place.w + 4, w->Place.h + 4};
        SDL_Rect cut;
        if (SDL_IntersectRect(&outer, &area, &cut)) SDL_FillRect(canvas, &cut, frame);
      }
      SDL_Rect cut;
      if (!SDL_IntersectRect(&w->Place, &area, &cut)) continue;
      SDL_Rect src{cut.x - w->Place.x, cut.y - w->Place.y, cut.w, cut.h};
      SDL_Rect dst = cut;
      SDL_BlitSurface(w->Surface, &src, canvas, &dst);
    }
  }
  // Only the changed rectangles are copied to the canvas (SDL's own window surface would copy
  // and convert the whole desktop for every frame).
  for (const SDL_Rect& r : d.Damage) {
    EM_ASM(
        {
          var canvas = Module.canvas;
          if (canvas.width != $1 || canvas.height != $2) return;
          var image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, $0, $1 * $2 * 4), $1, $2);
          canvas.getContext("2d").putImageData(image, 0, 0, $3, $4, $5, $6);
        },
        canvas->pixels, canvas->w, canvas->h, r.x, r.y, r.w, r.h);
  }
  d.Damage.clear();
  d.Whole = false;
}

void Sleep(int timeoutMs) {
  Flush();
  // One wait for the whole time (web/Wait.js): the event watch set up with the canvas ends it as
  // soon as SDL queues an event, so an idle page wakes only when a timer of the game is due.
  const bool pending = HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  quarn_wait(pending ? 0 : std::max(timeoutMs, 0));
  ::SDL_PumpEvents();
}

}  // namespace web
}  // namespace quarn::platform

namespace quarn::platform {

// The page's data carries Liberation Sans and Comic Neue; any other family is shown in the first.
std::string WebFontFile(const std::string& family, bool bold) {
  if (family == "Comic Neue") {
    return bold ? "/fonts/ComicNeue-Bold.otf" : "/fonts/ComicNeue-Regular.otf";
  }
  return bold ? "/fonts/LiberationSans-Bold.ttf" : "/fonts/LiberationSans-Regular.ttf";
}

}  // namespace quarn::platform
