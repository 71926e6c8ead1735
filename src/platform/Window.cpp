// Window.cpp — SDL window, dragging, mouse, tool tips and presenting (scaling: Scaling.cpp).
#include "Window.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "App.h"

#include <SDL_syswm.h>
#ifndef __EMSCRIPTEN__
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

#include "WindowSystem.h"

namespace quarn::platform {

namespace {

SDL_HitTestResult HitTest(SDL_Window*, const SDL_Point* area, void* data) {
  auto* w = static_cast<Window*>(data);
  if (w->Fullscreen()) return SDL_HITTEST_NORMAL;
  return w->IsBackground(w->ToLogical(area->x, area->y)) ? SDL_HITTEST_DRAGGABLE
                                                         : SDL_HITTEST_NORMAL;
}

}  // namespace

// Whether the window's display has a window manager to carry out a fullscreen request. On X a
// manager announces itself on the root window; other systems always have one.
bool HasWindowManager(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!windows::GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return true;
#ifndef __EMSCRIPTEN__
  Display* display = info.info.x11.display;
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                        XA_WINDOW, &type, &format, &count, &after, &data);
  const bool found = status == Success && data != nullptr && count == 1;
  if (data) XFree(data);
  return found;
#else
  return true;  // a page's desktop is the game's own
#endif
}

namespace {

// Mended: SDL turns a title into the window's properties by the program's character set, which
// is plain ASCII here (the program sets no locale, which would also bring an input method into
// SDL's event handling): "Quarn – Rychlík" reached the window manager garbled. The title is
// written as UTF-8 here.
void SetUtf8Title(SDL_Window* window, const std::string& title) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!windows::GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
#ifndef __EMSCRIPTEN__
  Display* display = info.info.x11.display;
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  for (const char* property : {"_NET_WM_NAME", "WM_NAME"}) {
    XChangeProperty(display, info.info.x11.window, XInternAtom(display, property, False), utf8, 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(title.data()),
                    static_cast<int>(title.size()));
  }
  XFlush(display);
#else
  (void)title;  // a page's title is the page's
#endif
}

// The rectangles are kept few: one that lies inside another is dropped, and past this many
// they become the one rectangle around them all.
constexpr size_t MaxDamageRects = 48;

SDL_Rect Union(const SDL_Rect& a, const SDL_Rect& b) {
  SDL_Rect r;
  SDL_UnionRect(&a, &b, &r);
  return r;
}

bool Inside(const SDL_Rect& inner, const SDL_Rect& outer) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
         inner.y + inner.h <= outer.y + outer.h;
}

bool Empty(const SDL_Rect& r) { return r.w <= 0 || r.h <= 0; }

bool SameRect(const SDL_Rect& a, const SDL_Rect& b) {
  return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

}  // namespace

Window::Window(App& app, const WindowOptions& options) : app_(app), options_(options) {
  SDL_Rect usable{0, 0, options.Width, options.Height};
  if (windows::GetDisplayUsableBounds(0, &usable) != 0) windows::GetDisplayBounds(0, &usable);
  scale_ = WholeScale(options.ScaleAsWidth > 0 ? options.ScaleAsWidth : options.Width,
                      options.ScaleAsHeight > 0 ? options.ScaleAsHeight : options.Height, usable.w,
                      usable.h);

  Uint32 flags = SDL_WINDOW_HIDDEN;
  if (options.Borderless) flags |= SDL_WINDOW_BORDERLESS;
  window_ = windows::CreateWindow(options.Title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                             options.Width * scale_, options.Height * scale_, flags);
  if (!window_) throw std::runtime_error(std::string("nelze otevřít okno: ") + SDL_GetError());
  id_ = windows::GetWindowID(window_);
  SetUtf8Title(window_, options.Title);
  MakeSurfaces();

#ifdef __EMSCRIPTEN__
  // A page's canvas is shown at the display's pace by the browser itself: a frame goes to the
  // canvas as soon as it is drawn. Held back to a spacing, it would cost the page a wake-up of
  // its own after nearly every tick.
  refreshNs_ = 0;
#else
  // Virtual and headless displays report no refresh rate; they keep the 60 Hz we start from.
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.refresh_rate > 0) {
    refreshNs_ = 1'000'000'000LL / mode.refresh_rate;
  }
#endif
  if (options.Borderless) windows::SetWindowHitTest(window_, HitTest, this);

  root_.Background = Colour{0, 0, 0};
  app_.Register(this);
}

void Window::MakeSurfaces() {
  frame_.reset();
  full_.reset();
  root_.Bounds = SDL_Rect{0, 0, options_.Width, options_.Height};
  InvalidateAll();
}

void Window::SetClientSize(int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (width == options_.Width && height == options_.Height) return;
  options_.Width = width;
  options_.Height = height;
  windows::SetWindowSize(window_, width * scale_, height * scale_);
  MakeSurfaces();
}

void Window::SetCaption(const std::string& caption) {
  options_.Title = caption;
  windows::SetWindowTitle(window_, caption.c_str());
  SetUtf8Title(window_, caption);
}

void Window::CentreOnScreen() {
  const int display = std::max(windows::GetWindowDisplayIndex(window_), 0);
  SDL_Rect screen{0, 0, 0, 0};
  if (windows::GetDisplayBounds(display, &screen) != 0) return;
  int top = 0, left = 0, bottom = 0, right = 0;
  if (windows::GetWindowBordersSize(window_, &top, &left, &bottom, &right) != 0) {
    top = left = bottom = right = 0;
  }
  const int outerW = options_.Width * scale_ + left + right;
  const int outerH = options_.Height * scale_ + top + bottom;
  // SDL places the client area; the frame lies around it.
  windows::SetWindowPosition(window_, screen.x + (screen.w - outerW) / 2 + left,
                        screen.y + (screen.h - outerH) / 2 + top);
}

bool Window::BlockedByModal() const { return app_.Modal() != nullptr && app_.Modal() != this; }

SDL_Point Window::Pointer() const {
  int gx = 0, gy = 0, wx = 0, wy = 0;
  // Mended: X11 refreshes the global pointer position only with raw input events, which a
  // display may not send: the looks would stay as they were while the pointer moves. Over one
  // of our windows the position comes from its own pointer events.
  if (SDL_Window* over = windows::GetMouseFocus()) {
    int fx = 0, fy = 0;
    windows::GetMouseState(&gx, &gy);
    windows::GetWindowPosition(over, &fx, &fy);
    gx += fx;
    gy += fy;
  } else {
    windows::GetGlobalMouseState(&gx, &gy);
  }
  windows::GetWindowPosition(window_, &wx, &wy);
  return ToLogical(gx - wx, gy - wy);
}

Window::~Window() {
  app_.Unregister(this);
  if (window_) windows::DestroyWindow(window_);
}

void Window::Show() {
  // Mended: full screen chosen on one screen was lost on the next (the zone opened as a
  // window); a window that can go full screen now shows as the player last chose.
  if (options_.CanFullscreen && app_.WantsFullscreen() != Fullscreen()) SetFullscreen(app_.WantsFullscreen());
  windows::ShowWindow(window_);
  TakeKeyboard();
  shown_ = true;
  InvalidateAll();
}

void Window::TakeKeyboard() {
  windows::RaiseWindow(window_);
  // Mended: with no window manager nobody hands the keyboard to a window that is shown or
  // raised; keys pressed after a help or a dialog closed went nowhere until a click. SDL has
  // waited for the window to be mapped, so it can take the keyboard itself.
  if ((windows::GetWindowFlags(window_) & SDL_WINDOW_SHOWN) != 0 && !HasWindowManager(window_)) {
    windows::SetWindowInputFocus(window_);
  }
}

void Window::Hide() {
  windows::HideWindow(window_);
  shown_ = false;
}

bool Window::IsBackground(SDL_Point logical) {
  return root_.Contains(logical) && root_.ControlAt(logical) == nullptr;
}

void Window::HandleNative(const SDL_Event& original) {
  SDL_Event event = original;
  if (event.type == SDL_MOUSEMOTION) {
    const SDL_Point p = ToLogical(event.motion.x, event.motion.y);
    event.motion.x = p.x;
    event.motion.y = p.y;
  } else if (event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_MOUSEBUTTONUP) {
    const SDL_Point p = ToLogical(event.button.x, event.button.y);
    event.button.x = p.x;
    event.button.y = p.y;
  }
  Handle(event);
}

void Window::Handle(const SDL_Event& event) {
  switch (event.type) {
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
        if (OnCloseRequest) OnCloseRequest();
        return;
      }
      if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
        if (OnActivate) OnActivate();
        return;
      }
      if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
        if (OnDeactivate) OnDeactivate();
        return;
      }
      if (event.window.event == SDL_WINDOWEVENT_LEAVE) {
        HideToolTip();
        hovered_ = nullptr;
      }
      InvalidateAll();  // exposed, resized, restored: draw it again
      return;
    case SDL_MOUSEWHEEL: {
      // The wheel goes to what the pointer was last seen over.
      Control* over = root_.ControlAt(pointer_);
      const int notches =
          event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
      if (over && over->OnWheel && notches != 0) {
        const auto handler = over->OnWheel;
        handler(notches);
        dirty_ = true;
      }
      return;
    }
    case SDL_MOUSEMOTION: {
      pointer_ = SDL_Point{event.motion.x, event.motion.y};
      Control* over = root_.ControlAt(pointer_);
      if (over != hovered_) {
        HideToolTip();
        hovered_ = over;
        hoverSinceNs_ = app_.Timers().Clock().NowNs();
      }
      // A drag stays with the control that took the press, wherever the pointer goes.
      Control* target = captured_ ? captured_ : over;
      if (target && target->OnMouseMove) {
        const SDL_Point at = root_.OriginOf(target).value_or(SDL_Point{0, 0});
        const auto handler = target->OnMouseMove;
        handler(SDL_Point{pointer_.x - at.x, pointer_.y - at.y});
        dirty_ = true;
      }
      return;
    }
    case SDL_MOUSEBUTTONDOWN: {
      HideToolTip();
      hovered_ = nullptr;
      const SDL_Point p{event.button.x, event.button.y};
      if (!captured_) {
        if (Control* target = root_.ControlAt(p); target && target->OnMouseDown) {
          captured_ = target;
          capturedButton_ = event.button.button;
          const SDL_Point at = root_.OriginOf(target).value_or(SDL_Point{0, 0});
          const auto handler = target->OnMouseDown;
          handler(event.button.button, SDL_Point{p.x - at.x, p.y - at.y});
          dirty_ = true;
        }
      }
      if (event.button.button != SDL_BUTTON_LEFT) return;
      pressed_ = root_.ControlAt(p);
      if (!pressed_) return;
      pressed_->Pressed = true;
      dirty_ = true;
      // The second press of a double-click is the double-click; the first was already a click.
      if (event.button.clicks >= 2 && event.button.clicks % 2 == 0 && pressed_->OnDoubleClick) {
        const auto handler = pressed_->OnDoubleClick;
        handler();
      }
      return;
    }
    case SDL_MOUSEBUTTONUP: {
      if (captured_ && event.button.button == capturedButton_) {
        Control* target = captured_;
        captured_ = nullptr;
        if (target->OnMouseUp) {
          const SDL_Point at = root_.OriginOf(target).value_or(SDL_Point{0, 0});
          const auto handler = target->OnMouseUp;
          dirty_ = true;
          // The handler may hide this window; nothing of the press is looked at afterwards.
          handler(event.button.button, SDL_Point{event.button.x - at.x, event.button.y - at.y});
        }
      }
      if (event.button.button != SDL_BUTTON_LEFT || !pressed_) return;
      Control* control = pressed_;
      pressed_ = nullptr;
      control->Pressed = false;
      dirty_ = true;
      const SDL_Point p{event.button.x, event.button.y};
      const bool secondOfDouble = event.button.clicks >= 2 && event.button.clicks % 2 == 0;
      if (secondOfDouble && !control->EveryPressClicks()) return;
      if (root_.ControlAt(p) == control && control->OnClick) {
        // The handler may close and destroy this window: nothing of it is touched afterwards.
        const auto handler = control->OnClick;
        handler();
      }
      return;
    }
    default:
      return;
  }
}

SDL_Surface* Window::Compose() {
  if (!full_) full_ = NewSurface(options_.Width, options_.Height);
  const SDL_Rect all{0, 0, options_.Width, options_.Height};
  SDL_FillRect(full_.get(), nullptr, SDL_MapRGB(full_->format, 0, 0, 0));
  root_.Draw(full_.get(), SDL_Point{0, 0}, all);
  DrawToolTip(full_.get(), all);
  return full_.get();
}

void Window::InvalidateRect(const SDL_Rect& area) {
  const SDL_Rect r = Intersect(area, SDL_Rect{0, 0, options_.Width, options_.Height});
  if (Empty(r)) return;
  if (pending_.size() >= MaxDamageRects) {
    pending_.front() = Union(pending_.front(), r);
    for (size_t i = 1; i < pending_.size(); ++i) pending_.front() = Union(pending_.front(), pending_[i]);
    pending_.resize(1);
  } else {
    pending_.push_back(r);
  }
  dirty_ = true;
}

void Window::AddDamage(const SDL_Rect& area) {
  const SDL_Rect r = Intersect(area, SDL_Rect{0, 0, options_.Width, options_.Height});
  if (Empty(r)) return;
  for (const SDL_Rect& d : damage_) {
    if (Inside(r, d)) return;
  }
  std::erase_if(damage_, [&](const SDL_Rect& d) { return Inside(d, r); });
  damage_.push_back(r);
  if (damage_.size() > MaxDamageRects) {
    SDL_Rect all = damage_.front();
    for (const SDL_Rect& d : damage_) all = Union(all, d);
    damage_.assign(1, all);
  }
}

void Window::Walk(Control* c, SDL_Point origin, const SDL_Rect& clip) {
  const SDL_Rect area =
      c->Visible ? Intersect(SDL_Rect{origin.x, origin.y, c->Bounds.w, c->Bounds.h}, clip)
                 : SDL_Rect{0, 0, 0, 0};
  const Seen seen{area, origin, c->Visible ? c->Look() : 0, walks_};
  const auto [it, added] = seen_.try_emplace(c, seen);
  if (added) {
    AddDamage(area);
  } else {
    Seen& was = it->second;
    if (!SameRect(was.Area, area) || was.Origin.x != origin.x || was.Origin.y != origin.y ||
        was.Look != seen.Look) {
      AddDamage(was.Area);
      AddDamage(area);
    }
    was = seen;
  }
  if (!c->Visible || Empty(area)) return;
  if (PictureBox* box = c->AsBox()) {
    for (Control* child : box->Children) {
      Walk(child, SDL_Point{origin.x + child->Bounds.x, origin.y + child->Bounds.y}, area);
    }
  }
}

SDL_Rect Window::ToolTipBox() const {
  if (tipText_.empty()) return SDL_Rect{0, 0, 0, 0};
  const FontSpec font{"Arial", 8.25, false};
  const SDL_Point size = app_.FontSet().Measure(font, tipText_);
  SDL_Rect box{pointer_.x, pointer_.y + 20, size.x + 6, size.y + 2};
  // Kept inside the window, above the pointer when there is no room below it.
  if (box.x + box.w > options_.Width) box.x = options_.Width - box.w;
  if (box.y + box.h > options_.Height) box.y = pointer_.y - box.h - 2;
  box.x = std::max(box.x, 0);
  box.y = std::max(box.y, 0);
  return box;
}

SDL_Surface* Window::FrameSurface() {
  SDL_Surface* screen = shown_ ? windows::GetWindowSurface(window_) : nullptr;
  const Placement p = screen ? Place() : Placement{};
  const bool direct = screen && screen->w == options_.Width && screen->h == options_.Height &&
                      screen->format->format == SDL_PIXELFORMAT_XRGB8888 && p.Factor == 1 &&
                      !p.Sharp && p.Left == 0 && p.Top == 0;
  SDL_Surface* frame = direct ? screen : frame_.get();
  if (!direct && !frame_) {
    frame_ = NewSurface(options_.Width, options_.Height);
    frame = frame_.get();
  }
  if (direct) frame_.reset();
  // A frame that was not the one drawn last holds none of the picture.
  if (frame != drawnInto_) fullRedraw_ = true;
  drawnInto_ = frame;
  return frame;
}

SDL_Surface* Window::ComposeChanges() {
  SDL_Surface* frame = FrameSurface();
  damage_.clear();
  ++walks_;
  const SDL_Rect all{0, 0, options_.Width, options_.Height};
  Walk(&root_, SDL_Point{0, 0}, all);
  // A control no longer in the window leaves its area to what lies under it.
  std::erase_if(seen_, [&](const auto& entry) {
    if (entry.second.Frame == walks_) return false;
    AddDamage(entry.second.Area);
    return true;
  });
  const SDL_Rect tip = ToolTipBox();
  if (tipText_ != tipDrawn_ || !SameRect(tip, tipDrawnBox_)) {
    AddDamage(tipDrawnBox_);
    AddDamage(tip);
    tipDrawn_ = tipText_;
    tipDrawnBox_ = tip;
  }
  for (const SDL_Rect& r : pending_) AddDamage(r);
  pending_.clear();
  if (fullRedraw_) {
    damage_.assign(1, all);
    fullRedraw_ = false;
  }
  for (const SDL_Rect& r : damage_) {
    if (!root_.Covers(SDL_Point{0, 0}, r)) FillRect(frame, r, r, Colour{0, 0, 0});
    root_.Draw(frame, SDL_Point{0, 0}, r);
    DrawToolTip(frame, r);
  }
  return frame;
}

void Window::HideToolTip() {
  if (tipText_.empty()) return;
  tipText_.clear();
  dirty_ = true;
}

int64_t Window::UpdateToolTip(int64_t nowNs) {
  if (!hovered_ || hovered_->ToolTip.empty() || !tipText_.empty()) return -1;
  if (nowNs - hoverSinceNs_ < ToolTipDelayNs) return hoverSinceNs_ + ToolTipDelayNs;
  tipText_ = hovered_->ToolTip;
  dirty_ = true;
  return -1;
}

void Window::DrawToolTip(SDL_Surface* frame, const SDL_Rect& all) {
  if (tipText_.empty()) return;
  const FontSpec font{"Arial", 8.25, false};
  const SDL_Rect box = ToolTipBox();
  FillRect(frame, box, all, Colour{0, 0, 0});
  FillRect(frame, SDL_Rect{box.x + 1, box.y + 1, box.w - 2, box.h - 2}, all, Colour{255, 255, 225});
  DrawText(app_.FontSet(), font, tipText_, Colour{0, 0, 0}, frame, box.x + 3, box.y + 1, all);
}

void Window::PresentNow() {
  SDL_Surface* screen = windows::GetWindowSurface(window_);
  if (!screen) return;
  // A new window surface (the window was resized or went fullscreen) holds no picture yet.
  if (screen != screenSurface_ || screen->w != screenW_ || screen->h != screenH_) {
    screenSurface_ = screen;
    screenW_ = screen->w;
    screenH_ = screen->h;
    fullRedraw_ = true;
  }
  const bool whole = fullRedraw_;
  SDL_Surface* frame = ComposeChanges();
  if (damage_.empty()) {
    ++unchanged_;
    return;
  }
  std::vector<SDL_Rect> rects;
  if (frame == screen) {
    // Drawn straight into the window surface: only handing it over is left.
    rects = whole ? std::vector<SDL_Rect>{SDL_Rect{0, 0, screen->w, screen->h}} : damage_;
    if (!upload_.Put(window_, screen, rects))
      windows::UpdateWindowSurfaceRects(window_, rects.data(), static_cast<int>(rects.size()));
    ++presents_;
    return;
  }
  const Placement p = Place();
  if (whole) {
    // The margin around a scaled client area is black.
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 0));
    rects.push_back(SDL_Rect{0, 0, screen->w, screen->h});
  }
  const bool sharp = p.Sharp && screen->format->BytesPerPixel == 4;
  std::vector<ScaleTap> columns, rows;
  if (sharp) {
    columns = SharpTaps(options_.Width, p.Width);
    rows = SharpTaps(options_.Height, p.Height);
  }
  const SDL_Rect screenArea{0, 0, screen->w, screen->h};
  for (const SDL_Rect& r : damage_) {
    const SDL_Rect out = Intersect(OnScreen(p, r), screenArea);
    if (sharp) {
      if (!Empty(out)) CopySharp(frame, screen, out, p.Left, p.Top, columns, rows);
    } else if (p.Sharp) {
      // A screen of another pixel size gets SDL's plain stretch.
      const int lw = options_.Width, lh = options_.Height;
      SDL_Rect src = r;
      SDL_Rect dst{p.Left + r.x * p.Width / lw, p.Top + r.y * p.Height / lh,
                   (r.w * p.Width + lw - 1) / lw, (r.h * p.Height + lh - 1) / lh};
      SDL_BlitScaled(frame, &src, screen, &dst);
    } else {
      CopyScaled(frame, r, screen, p.Factor, p.Left, p.Top);
    }
    if (!whole && !Empty(out)) rects.push_back(out);
  }
  if (!rects.empty() && !upload_.Put(window_, screen, rects))
    windows::UpdateWindowSurfaceRects(window_, rects.data(), static_cast<int>(rects.size()));
  ++presents_;
}

int64_t Window::PresentIfDue(int64_t nowNs) {
  if (!shown_) return -1;
  const int64_t tipDue = UpdateToolTip(nowNs);
  if (!dirty_) return tipDue;
  // A frame may go out up to a fifth of a refresh early: a tick a little shorter than the
  // refresh then shows its frame at once, instead of waking the program again a moment later.
  const int64_t spacing = refreshNs_ - refreshNs_ / 5;
  if (lastPresentNs_ != 0 && nowNs - lastPresentNs_ < spacing) return lastPresentNs_ + spacing;
  PresentNow();
  dirty_ = false;
  lastPresentNs_ = nowNs;
  return -1;
}

}  // namespace quarn::platform
