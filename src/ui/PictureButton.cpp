// PictureButton.cpp — picture buttons: strips in clipping frames, looks, press and release.
#include "PictureButton.h"

#include <variant>

#include "render/PictureSet.h"

namespace quarn::ui {

bool IsInside(SDL_Point p, const SDL_Rect& r) {
  return p.x >= r.x && p.x < r.x + r.w && p.y >= r.y && p.y < r.y + r.h;
}

PictureButtons::PictureButtons(std::filesystem::path base) : base_(std::move(base)) {}

PictureButtons::~PictureButtons() = default;

std::optional<PictureProblem> PictureButtons::Add(std::string_view stripFile, SDL_Rect frame,
                                                  std::function<void()> onClick) {
  auto loaded = LoadGraphicsFile(base_, stripFile);
  quarn::SurfacePtr* strip = std::get_if<quarn::SurfacePtr>(&loaded);
  Add(strip ? strip->get() : nullptr, frame, std::move(onClick));
  if (!strip) return std::get<PictureProblem>(loaded);
  buttons_.back().Owned = std::move(*strip);
  return std::nullopt;
}

void PictureButtons::Add(const SDL_Surface* strip, SDL_Rect frame, std::function<void()> onClick) {
  Button b;
  b.FrameBox = std::make_unique<platform::PictureBox>();
  b.FrameBox->Bounds = frame;
  b.FrameBox->Background = FrameBackground;
  b.StripImage = std::make_unique<platform::Image>();
  b.StripImage->Picture = strip;
  // Drawn at its own size: the frame shows one look of it and clips the others.
  b.StripImage->Bounds = SDL_Rect{0, 0, strip ? strip->w : frame.w, strip ? strip->h : frame.h * 4};
  b.FrameBox->Children.push_back(b.StripImage.get());
  b.OnClick = std::move(onClick);
  const int index = Count() + 1;
  b.StripImage->OnMouseDown = [this, index](int, SDL_Point) { Press(index); };
  b.StripImage->OnMouseUp = [this](int, SDL_Point local) { Release(local); };
  buttons_.push_back(std::move(b));
}

void PictureButtons::PutInto(platform::PictureBox& parent) {
  for (Button& b : buttons_) parent.Children.push_back(b.FrameBox.get());
}

void PictureButtons::Attach(platform::Window& window, platform::TimerQueue& timers) {
  window_ = &window;
  timer_ = std::make_unique<platform::Timer>(timers, [this] {
    // Under a modal window the looks stay as they were when it opened, also where the system
    // leaves this window active.
    if (!window_->BlockedByModal()) Tick(window_->Pointer());
  });
  timer_->SetInterval(HoverIntervalMs);
  timer_->SetEnabled(true);
  auto onActivate = std::move(window.OnActivate);
  window.OnActivate = [this, onActivate] {
    timer_->SetEnabled(true);
    if (onActivate) onActivate();
  };
  auto onDeactivate = std::move(window.OnDeactivate);
  window.OnDeactivate = [this, onDeactivate] {
    timer_->SetEnabled(false);
    if (onDeactivate) onDeactivate();
  };
}

void PictureButtons::Tick(SDL_Point pointer) {
  if (pressed_ != 0) {
    Apply(pressed_,
          IsInside(pointer, Frame(pressed_).Bounds) ? Look::PressedOn : Look::PressedAway);
    return;
  }
  for (int i = 1; i <= Count(); ++i) {
    Apply(i, IsInside(pointer, Frame(i).Bounds) ? Look::Pointed : Look::Normal);
  }
}

void PictureButtons::Press(int i) { pressed_ = i; }

bool PictureButtons::Release(SDL_Point inStrip) {
  const int i = pressed_;
  pressed_ = 0;
  if (i < 1 || i > Count()) return false;
  Button& b = At(i);
  const SDL_Rect& strip = b.StripImage->Bounds;
  const int onFrame = strip.y + inStrip.y;
  if (inStrip.x < 0 || inStrip.x >= strip.w || onFrame < 0 || onFrame >= b.FrameBox->Bounds.h) {
    return false;
  }
  // A copy: the click may clear or rebuild the buttons.
  const auto onClick = b.OnClick;
  if (onClick) onClick();
  return true;
}

void PictureButtons::MoveTo(int i, int x, int y) {
  SDL_Rect& r = Frame(i).Bounds;
  if (r.x == x && r.y == y) return;
  r.x = x;
  r.y = y;
  if (window_) window_->Invalidate();
}

void PictureButtons::SetVisible(int i, bool visible) {
  if (Frame(i).Visible == visible) return;
  Frame(i).Visible = visible;
  if (window_) window_->Invalidate();
}

void PictureButtons::Apply(int i, Look look) {
  Button& b = At(i);
  b.Shown = look;
  const int y = -b.FrameBox->Bounds.h * static_cast<int>(look);
  if (b.StripImage->Bounds.y == y) return;
  b.StripImage->Bounds.y = y;
  if (window_) window_->Invalidate();
}

}  // namespace quarn::ui
