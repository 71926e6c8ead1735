// Window.cpp — SDL window, whole-factor scaling, fullscreen, dragging, mouse and presenting.
#include "Window.h"

#include <algorithm>
#include <stdexcept>

#include "App.h"

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

}  // namespace

Window::Window(App& app, const WindowOptions& options) : app_(app), options_(options) {
  SDL_Rect usable{0, 0, options.Width, options.Height};
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) SDL_GetDisplayBounds(0, &usable);
  scale_ = WholeScale(options.Width, options.Height, usable.w, usable.h);

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
  SDL_RenderSetLogicalSize(renderer_, options.Width, options.Height);
  SDL_RenderSetIntegerScale(renderer_, SDL_TRUE);
  texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_XRGB8888, SDL_TEXTUREACCESS_STREAMING,
                               options.Width, options.Height);
  frame_ = NewSurface(options.Width, options.Height);

  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.refresh_rate > 0) {
    refreshNs_ = 1'000'000'000LL / mode.refresh_rate;
  }
  if (options.Borderless) SDL_SetWindowHitTest(window_, HitTest, this);

  root_.Bounds = SDL_Rect{0, 0, options.Width, options.Height};
  root_.Background = Colour{0, 0, 0};
  app_.Register(this);
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
}

void Window::Hide() {
  SDL_HideWindow(window_);
  shown_ = false;
}

bool Window::Fullscreen() const {
  return (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

void Window::ToggleFullscreen() {
  if (!options_.CanFullscreen) return;
  SDL_SetWindowFullscreen(window_, Fullscreen() ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
  dirty_ = true;
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
      dirty_ = true;  // exposed, resized, restored: draw it again
      return;
    case SDL_MOUSEBUTTONDOWN: {
      if (event.button.button != SDL_BUTTON_LEFT) return;
      const SDL_Point p{event.button.x, event.button.y};
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
      if (event.button.button != SDL_BUTTON_LEFT || !pressed_) return;
      Control* control = pressed_;
      pressed_ = nullptr;
      control->Pressed = false;
      dirty_ = true;
      const SDL_Point p{event.button.x, event.button.y};
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
  return frame_.get();
}

void Window::PresentNow() {
  SDL_Surface* frame = Compose();
  SDL_UpdateTexture(texture_, nullptr, frame->pixels, frame->pitch);
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
  SDL_RenderPresent(renderer_);
  ++presents_;
}

int64_t Window::PresentIfDue(int64_t nowNs) {
  if (!shown_ || !dirty_) return -1;
  if (lastPresentNs_ != 0 && nowNs - lastPresentNs_ < refreshNs_)
    return lastPresentNs_ + refreshNs_;
  PresentNow();
  dirty_ = false;
  lastPresentNs_ = nowNs;
  return -1;
}

}  // namespace quarn::platform
