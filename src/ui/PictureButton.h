// PictureButton.h — buttons drawn from picture strips, with hover and press looks polled every 50
// ms.
#pragma once

#include <SDL.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game/Ports.h"
#include "platform/Controls.h"
#include "platform/Timers.h"
#include "platform/Window.h"
#include "render/Surface.h"

namespace quarn::ui {

// The four looks a strip holds, stacked from top to bottom, each as tall as the frame.
enum class Look : int { Normal = 0, Pointed = 1, PressedAway = 2, PressedOn = 3 };

// The strips' frames are this high; the strip files are four of them.
inline constexpr int ButtonHeight = 30;
// The background a frame shows where its strip leaves it uncovered.
inline constexpr platform::Colour FrameBackground{64, 64, 64};
inline constexpr int HoverIntervalMs = 50;

// Whether p lies in r: left and top edges included, right and bottom edges not. Both in the
// window's client pixels.
bool IsInside(SDL_Point p, const SDL_Rect& r);

// The picture buttons of one window, numbered from 1 in the order they are added. A button is a
// frame of fixed size that clips its strip; the strip is moved up by one frame height per look.
// The looks follow the pointer only through Tick (the 50 ms poll): a press or a release changes
// no look by itself.
class PictureButtons {
 public:
  // Strip files are read from base's Graphics folder (any letter case).
  explicit PictureButtons(std::filesystem::path base);
  ~PictureButtons();
  PictureButtons(const PictureButtons&) = delete;
  PictureButtons& operator=(const PictureButtons&) = delete;

  // Adds the next button with its frame in the window's client pixels, reading its strip. When
  // the strip cannot be read the button stays an empty grey frame that still clicks, and the
  // error (naming the file) is returned for the window to report.
  std::optional<PictureProblem> Add(std::string_view stripFile, SDL_Rect frame,
                                    std::function<void()> onClick);
  // The same with a strip already in memory (not owned; may be null).
  void Add(const SDL_Surface* strip, SDL_Rect frame, std::function<void()> onClick);
  int Count() const { return static_cast<int>(buttons_.size()); }

  // Puts every frame, in order, into the window's client area (or another box at its origin).
  void PutInto(platform::PictureBox& parent);
  // Runs the 50 ms poll of the window's pointer while the window is active, and from now on, but
  // not while another window is shown modally; the window's OnActivate and OnDeactivate are
  // taken over (a handler already set still runs).
  void Attach(platform::Window& window, platform::TimerQueue& timers);
  platform::Timer* HoverTimer() { return timer_.get(); }

  // One poll: the pressed button shows whether the pointer is on it, or, with none pressed,
  // each button shows whether the pointer is on it.
  void Tick(SDL_Point pointer);
  // A mouse press on button i (any mouse button).
  void Press(int i);
  // The release of the press, at a point relative to the pressed button's strip: the click
  // counts when that point lies on the visible part of the strip. Returns whether it counted
  // (the button's click has then run).
  bool Release(SDL_Point inStrip);
  int PressedButton() const { return pressed_; }
  void ClearPressed() { pressed_ = 0; }

  Look LookOf(int i) const { return At(i).Shown; }
  platform::PictureBox& Frame(int i) { return *At(i).FrameBox; }
  platform::Image& Strip(int i) { return *At(i).StripImage; }
  // Moves button i's frame; its size stays.
  void MoveTo(int i, int x, int y);
  void SetVisible(int i, bool visible);
  bool Visible(int i) const { return At(i).FrameBox->Visible; }

 private:
  struct Button {
    std::unique_ptr<platform::PictureBox> FrameBox;
    std::unique_ptr<platform::Image> StripImage;
    quarn::SurfacePtr Owned;  // empty when the strip came from elsewhere
    std::function<void()> OnClick;
    Look Shown = Look::Normal;
  };
  Button& At(int i) { return buttons_.at(static_cast<size_t>(i - 1)); }
  const Button& At(int i) const { return buttons_.at(static_cast<size_t>(i - 1)); }
  // Moves the strip only when the look changes, so an unchanged look costs no redraw.
  void Apply(int i, Look look);

  std::filesystem::path base_;
  std::vector<Button> buttons_;
  int pressed_ = 0;
  platform::Window* window_ = nullptr;
  std::unique_ptr<platform::Timer> timer_;
};

}  // namespace quarn::ui
