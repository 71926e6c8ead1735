// Window.cpp — SDL window, whole-factor scaling, fullscreen, dragging, mouse and presenting.
#include "Window.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "App.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace quarn::platform {

int WholeScale(int logicalW, int logicalH, int usableW, int usableH) {
  if (logicalW <= 0 || logicalH <= 0) return 1;
  return std::max(1, std::min(usableW / logicalW, usableH / logicalH));
}

namespace {

SDL_HitTestResult HitTest(SDL_Window*, const SDL_Point* area, void* data) {
  auto* w = static_cast<Window*>(data);
  if (w->Fullscreen()) return SDL_HITTEST_NORMAL;
  SDL_Renderer* renderer = SDL_GetRenderer(w->Native());
  float lx = static_cast<float>(area->x), ly = static_cast<float>(area->y);
  if (renderer) SDL_RenderWindowToLogical(renderer, area->x, area->y, &lx, &ly);
  const SDL_Point logical{static_cast<int>(lx), static_cast<int>(ly)};
  return w->IsBackground(logical) ? SDL_HITTEST_DRAGGABLE : SDL_HITTEST_NORMAL;
}

// Whether the window's display has a window manager to carry out a fullscreen request. On X a
// manager announces itself on the root window; other systems always have one.
bool HasWindowManager(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return true;
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
}

}  // namespace

Window::Window(App& app, const WindowOptions& options) : app_(app), options_(options) {
  SDL_Rect usable{0, 0, options.Width, options.Height};
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) SDL_GetDisplayBounds(0, &usable);
  scale_ = WholeScale(options.ScaleAsWidth > 0 ? options.ScaleAsWidth : options.Width,
                      options.ScaleAsHeight > 0 ? options.ScaleAsHeight : options.Height, usable.w,
                      usable.h);

  Uint32 flags = SDL_WINDOW_HIDDEN;
  if (options.Borderless) flags |= SDL_WINDOW_BORDERLESS;
  window_ = SDL_CreateWindow(options.Title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                             options.Width * scale_, options.Height * scale_, flags);
  if (!window_) throw std::runtime_error(std::string("cannot open a window: ") + SDL_GetError());
  id_ = SDL_GetWindowID(window_);
  renderer_ = SDL_CreateRenderer(window_, -1, 0);
  if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  if (!renderer_) {
    SDL_DestroyWindow(window_);
    throw std::runtime_error(std::string("cannot draw in a window: ") + SDL_GetError());
  }
  SDL_RenderSetIntegerScale(renderer_, SDL_TRUE);
  MakeSurfaces();

  // Virtual and headless displays report no refresh rate; they keep the 60 Hz we start from.
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.refresh_rate > 0) {
    refreshNs_ = 1'000'000'000LL / mode.refresh_rate;
  }
  if (options.Borderless) SDL_SetWindowHitTest(window_, HitTest, this);

  root_.Background = Colour{0, 0, 0};
  app_.Register(this);
}

void Window::MakeSurfaces() {
  SDL_RenderSetLogicalSize(renderer_, options_.Width, options_.Height);
  if (texture_) SDL_DestroyTexture(texture_);
  texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_XRGB8888, SDL_TEXTUREACCESS_STREAMING,
                               options_.Width, options_.Height);
  frame_ = NewSurface(options_.Width, options_.Height);
  presented_ = NewSurface(options_.Width, options_.Height);
  root_.Bounds = SDL_Rect{0, 0, options_.Width, options_.Height};
  dirty_ = true;
  mustPresent_ = true;
}

void Window::SetClientSize(int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (width == options_.Width && height == options_.Height) return;
  options_.Width = width;
  options_.Height = height;
  SDL_SetWindowSize(window_, width * scale_, height * scale_);
  MakeSurfaces();
}

void Window::SetCaption(const std::string& caption) {
  options_.Title = caption;
  SDL_SetWindowTitle(window_, caption.c_str());
}

void Window::CentreOnScreen() {
  const int display = std::max(SDL_GetWindowDisplayIndex(window_), 0);
  SDL_Rect screen{0, 0, 0, 0};
  if (SDL_GetDisplayBounds(display, &screen) != 0) return;
  int top = 0, left = 0, bottom = 0, right = 0;
  if (SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right) != 0) {
    top = left = bottom = right = 0;
  }
  const int outerW = options_.Width * scale_ + left + right;
  const int outerH = options_.Height * scale_ + top + bottom;
  // SDL places the client area; the frame lies around it.
  SDL_SetWindowPosition(window_, screen.x + (screen.w - outerW) / 2 + left,
                        screen.y + (screen.h - outerH) / 2 + top);
}

bool Window::BlockedByModal() const { return app_.Modal() != nullptr && app_.Modal() != this; }

SDL_Point Window::Pointer() const {
  int gx = 0, gy = 0, wx = 0, wy = 0;
  // Mended: X11 refreshes the global pointer position only with raw input events, which a
  // display may not send: the looks would stay as they were while the pointer moves. Over one
  // of our windows the position comes from its own pointer events.
  if (SDL_Window* over = SDL_GetMouseFocus()) {
    int fx = 0, fy = 0;
    SDL_GetMouseState(&gx, &gy);
    SDL_GetWindowPosition(over, &fx, &fy);
    gx += fx;
    gy += fy;
  } else {
    SDL_GetGlobalMouseState(&gx, &gy);
  }
  SDL_GetWindowPosition(window_, &wx, &wy);
  float lx = static_cast<float>(gx - wx), ly = static_cast<float>(gy - wy);
  SDL_RenderWindowToLogical(renderer_, gx - wx, gy - wy, &lx, &ly);
  return SDL_Point{static_cast<int>(std::floor(lx)), static_cast<int>(std::floor(ly))};
}

Window::~Window() {
  app_.Unregister(this);
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
}

void Window::Show() {
  SDL_ShowWindow(window_);
  SDL_RaiseWindow(window_);
  shown_ = true;
  dirty_ = true;
  mustPresent_ = true;
}

void Window::Hide() {
  SDL_HideWindow(window_);
  shown_ = false;
}

bool Window::Fullscreen() const {
  return ownFullscreen_ || (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

void Window::ToggleFullscreen() {
  if (!options_.CanFullscreen) return;
  if (ownFullscreen_) {
    SDL_SetWindowSize(window_, windowed_.w, windowed_.h);
    SDL_SetWindowPosition(window_, windowed_.x, windowed_.y);
    ownFullscreen_ = false;
  } else if (!Fullscreen() && !HasWindowManager(window_)) {
    // Mended: with no window manager the window is laid over the whole display by us. Nobody
    // would carry out the fullscreen request, yet SDL would draw for the whole screen into the
    // unchanged window, and the frame would show shifted, without its panel.
    SDL_Rect screen;
    if (SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(window_)), &screen) != 0) return;
    SDL_GetWindowPosition(window_, &windowed_.x, &windowed_.y);
    SDL_GetWindowSize(window_, &windowed_.w, &windowed_.h);
    SDL_SetWindowPosition(window_, screen.x, screen.y);
    SDL_SetWindowSize(window_, screen.w, screen.h);
    ownFullscreen_ = true;
  } else {
    SDL_SetWindowFullscreen(window_, Fullscreen() ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
  }
  dirty_ = true;
  mustPresent_ = true;
}

bool Window::IsBackground(SDL_Point logical) {
  return root_.Contains(logical) && root_.ControlAt(logical) == nullptr;
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
      dirty_ = true;  // exposed, resized, restored: draw it again
      mustPresent_ = true;
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
  SDL_FillRect(frame_.get(), nullptr, SDL_MapRGB(frame_->format, 0, 0, 0));
  root_.Draw(frame_.get(), SDL_Point{0, 0}, SDL_Rect{0, 0, options_.Width, options_.Height});
  DrawToolTip(frame_.get());
  return frame_.get();
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

void Window::DrawToolTip(SDL_Surface* frame) {
  if (tipText_.empty()) return;
  const FontSpec font{"Arial", 8.25, false};
  const SDL_Point size = app_.FontSet().Measure(font, tipText_);
  SDL_Rect box{pointer_.x, pointer_.y + 20, size.x + 6, size.y + 2};
  // Kept inside the window, above the pointer when there is no room below it.
  if (box.x + box.w > options_.Width) box.x = options_.Width - box.w;
  if (box.y + box.h > options_.Height) box.y = pointer_.y - box.h - 2;
  box.x = std::max(box.x, 0);
  box.y = std::max(box.y, 0);
  const SDL_Rect all{0, 0, options_.Width, options_.Height};
  FillRect(frame, box, all, Colour{0, 0, 0});
  FillRect(frame, SDL_Rect{box.x + 1, box.y + 1, box.w - 2, box.h - 2}, all, Colour{255, 255, 225});
  DrawText(app_.FontSet(), font, tipText_, Colour{0, 0, 0}, frame, box.x + 3, box.y + 1, all);
}

void Window::PresentNow() {
  SDL_Surface* frame = Compose();
  // A tick that redrew a potato with the frame it already showed changed nothing on the screen.
  const size_t bytes = static_cast<size_t>(frame->pitch) * static_cast<size_t>(frame->h);
  if (!mustPresent_ && std::memcmp(frame->pixels, presented_->pixels, bytes) == 0) {
    ++unchanged_;
    return;
  }
  std::memcpy(presented_->pixels, frame->pixels, bytes);
  mustPresent_ = false;
  SDL_UpdateTexture(texture_, nullptr, frame->pixels, frame->pitch);
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
  SDL_RenderPresent(renderer_);
  ++presents_;
}

int64_t Window::PresentIfDue(int64_t nowNs) {
  if (!shown_) return -1;
  const int64_t tipDue = UpdateToolTip(nowNs);
  if (!dirty_) return tipDue;
  if (lastPresentNs_ != 0 && nowNs - lastPresentNs_ < refreshNs_)
    return lastPresentNs_ + refreshNs_;
  PresentNow();
  dirty_ = false;
  lastPresentNs_ = nowNs;
  return -1;
}

}  // namespace quarn::platform
