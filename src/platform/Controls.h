// Controls.h — the few controls the screens are made of, drawn in software onto a window's frame.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Fonts.h"

namespace quarn::platform {

struct Colour {
  uint8_t R = 0, G = 0, B = 0;
};

// An owned surface, freed with SDL_FreeSurface.
struct SurfaceDeleter {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;
SurfacePtr NewSurface(int width, int height);  // 32-bit, black

// Positions and sizes are pixels relative to the parent's top-left corner.
class Control {
 public:
  virtual ~Control() = default;

  SDL_Rect Bounds{0, 0, 0, 0};
  bool Visible = true;
  std::function<void()> OnClick;
  std::function<void()> OnDoubleClick;
  // Press and release of any mouse button (SDL_BUTTON_LEFT, ...), with the pointer position
  // relative to the control's top-left corner. The release goes to the control that took the
  // press, wherever the pointer is by then.
  std::function<void(int button, SDL_Point local)> OnMouseDown;
  std::function<void(int button, SDL_Point local)> OnMouseUp;
  // The pointer moved over the control, or anywhere while the control holds a press it took.
  std::function<void(SDL_Point local)> OnMouseMove;
  // The wheel turned while the pointer was over the control: notches away from the player
  // (upwards) are positive.
  std::function<void(int notches)> OnWheel;
  // Mouse presses on it are its own even without a handler (the window is not dragged by it).
  bool CatchesMouse = false;
  // Shown in a small box when the pointer rests on the control.
  std::string ToolTip;

  // Draws the control with its top-left corner at origin of target, touching only clip.
  virtual void Draw(SDL_Surface* target, SDL_Point origin, const SDL_Rect& clip) = 0;
  // A digest of everything its own drawing depends on besides its place (caption, colours,
  // picture, press): the window redraws a control whose digest or place changed since the last
  // frame, and nothing else. A canvas's pixels are not in it: whoever draws on a canvas tells
  // the window which rectangle changed.
  virtual uint64_t Look() const;
  // The innermost visible control at p (parent's coordinates) that takes the mouse, or null.
  virtual Control* ControlAt(SDL_Point p);
  // The control as a box of other controls, or null.
  // Whether drawing the control at origin paints every pixel of r (target coordinates) with
  // nothing showing through, so what lies under it there need not be drawn first.
  virtual bool Covers(SDL_Point origin, const SDL_Rect& r) const {
    (void)origin;
    (void)r;
    return false;
  }
  virtual class PictureBox* AsBox() { return nullptr; }
  virtual const class PictureBox* AsBox() const { return nullptr; }
  // Whether the second press of a double-click is a click too (a push button), or only a
  // double-click (labels and pictures).
  virtual bool EveryPressClicks() const { return false; }
  bool TakesMouse() const {
    return CatchesMouse || OnClick || OnDoubleClick || OnMouseDown || OnMouseUp || OnMouseMove ||
           !ToolTip.empty();
  }
  bool Contains(SDL_Point p) const;
  // A press that went down on this control and has not been released yet.
  bool Pressed = false;
};

// A rectangle that clips its children, with a background colour and an optional canvas: a
// retained surface drawn at its top-left corner, whose pixels stay until drawn over.
class PictureBox : public Control {
 public:
  std::optional<Colour> Background;
  // Not owned; may be larger than the box (the box shows its top-left part).
  const SDL_Surface* Canvas = nullptr;
  std::vector<Control*> Children;  // not owned, drawn in order, the last on top

  void Draw(SDL_Surface* target, SDL_Point origin, const SDL_Rect& clip) override;
  uint64_t Look() const override;
  bool Covers(SDL_Point origin, const SDL_Rect& r) const override;
  PictureBox* AsBox() override { return this; }
  const PictureBox* AsBox() const override { return this; }
  Control* ControlAt(SDL_Point p) override;
  // The top-left corner of a control inside this box in this box's parent's coordinates, or
  // nullopt when the control is not in it.
  std::optional<SDL_Point> OriginOf(const Control* c) const;
};

// Text in one font and colour, left-aligned or centred, on its background or transparent.
class Label : public Control {
 public:
  explicit Label(Fonts& fonts) : fonts_(fonts) {}
  enum class Align { Left, Centre, Right };

  std::string Caption;
  FontSpec Font;
  Colour Fore{255, 255, 255};
  std::optional<Colour> Background;  // none = transparent
  Align Alignment = Align::Left;
  bool WordWrap = false;

  void Draw(SDL_Surface* target, SDL_Point origin, const SDL_Rect& clip) override;
  uint64_t Look() const override;
  // The lines the caption is broken into: at every line feed, and with WordWrap at spaces when a
  // word would pass the right edge; the spaces at a break are dropped, as the system's word
  // break does.
  std::vector<std::string> Lines();

 private:
  // The caption as drawn last time, kept until anything that shapes it changes.
  struct Rendered {
    SurfacePtr Text;
    int X = 0, Y = 0;  // offset inside the label
  };
  void Render();
  std::vector<std::string> WrapLine(const std::string& text);
  std::string renderedKey_;
  std::vector<Rendered> rendered_;
  Fonts& fonts_;
};

// A picture stretched to the control's size (nearest pixel).
class Image : public Control {
 public:
  const SDL_Surface* Picture = nullptr;  // not owned
  std::optional<SDL_Rect> Source;        // a part of the picture, or all of it

  void Draw(SDL_Surface* target, SDL_Point origin, const SDL_Rect& clip) override;
  uint64_t Look() const override;
};

// A frame Thickness pixels wide inside its bounds, or a filled rectangle (a line is a filled
// rectangle one pixel thick).
class Shape : public Control {
 public:
  Colour Ink{0, 0, 255};
  bool Filled = false;
  int Thickness = 1;

  void Draw(SDL_Surface* target, SDL_Point origin, const SDL_Rect& clip) override;
  uint64_t Look() const override;
};

// A grey push button with a caption.
class Button : public Control {
 public:
  explicit Button(Fonts& fonts) : fonts_(fonts) {}
  std::string Caption;
  FontSpec Font{"Arial", 8.25, true};

  bool EveryPressClicks() const override { return true; }
  void Draw(SDL_Surface* target, SDL_Point origin, const SDL_Rect& clip) override;
  uint64_t Look() const override;

 private:
  Fonts& fonts_;
};

// A list of texts with one selected entry (or none), in the screens' colours. It scrolls to keep
// the selection in view; a press selects the entry under the pointer; the arrow keys, Home, End,
// Page Up and Page Down move the selection. Rows are the font's line height; only whole rows show.
class ListBox : public Control {
 public:
  explicit ListBox(Fonts& fonts);
  // Its mouse handlers point at it: a copy would answer for the list it was copied from.
  ListBox(const ListBox&) = delete;
  ListBox& operator=(const ListBox&) = delete;
  FontSpec Font{"Arial", 9.75, true};
  Colour Fore{255, 255, 255};
  Colour Back{0, 0, 128};
  Colour SelectedFore{0, 0, 128};
  Colour SelectedBack{0, 255, 255};
  Colour Border{0, 0, 192};
  // The frame drawn inside the bounds; the text area lies inside it.
  static constexpr int BorderWidth = 1;
  static constexpr int ScrollBarWidth = 12;

  // Headings are drawn in HeaderFore and are never selected: the selection steps over them.
  Colour HeaderFore{255, 255, 0};

  void Clear();
  void AddItem(std::string text);
  void AddHeader(std::string text);
  void SetItemText(int i, std::string text);
  bool IsHeader(int i) const { return i >= 0 && i < Count() && headers_[static_cast<size_t>(i)]; }
  const std::vector<std::string>& Items() const { return items_; }
  int Count() const { return static_cast<int>(items_.size()); }
  // The selected position, -1 for none.
  int ListIndex() const { return listIndex_; }
  // Selects position i, clamped to the list (-1 only when the list is empty, or when asked), and
  // scrolls so that it shows. A heading is stepped over in the direction step (+1 or -1), then
  // the other way when no entry lies that way; a heading just above the selection shows too.
  void SetListIndex(int i, int step = 1);
  // The first position shown.
  int TopIndex() const { return topIndex_; }
  void SetTopIndex(int i);
  int RowHeight();
  // Whole rows that fit, at least one.
  int VisibleRows();
  // A key pressed while the list has the keyboard (a virtual-key code); true when it was one of
  // the list's keys.
  bool KeyDown(int virtualKey);

  // A left press at p (the list's own pixels): the entry there is selected; on the scroll bar,
  // a page is turned.
  void Press(SDL_Point p);

  void Draw(SDL_Surface* target, SDL_Point origin, const SDL_Rect& clip) override;
  uint64_t Look() const override;

 private:
  bool HasScrollBar() { return Count() > VisibleRows(); }
  Fonts& fonts_;
  std::vector<std::string> items_;
  std::vector<bool> headers_;
  int listIndex_ = -1;
  int topIndex_ = 0;
};

// Small drawing helpers shared by the controls and the screens.
SDL_Rect Intersect(const SDL_Rect& a, const SDL_Rect& b);
void FillRect(SDL_Surface* target, const SDL_Rect& rect, const SDL_Rect& clip, Colour c);
// Copies the part of src at from to target with its top-left corner at to, one to one, clipped
// to both surfaces; a canvas or frame of the same 32-bit format is copied by rows.
void CopyPixels(const SDL_Surface* src, SDL_Rect from, SDL_Surface* target, SDL_Point to);
// Copies src (or a part of it) scaled into dst on target, nearest pixel, clipped to clip.
void BlitScaled(const SDL_Surface* src, const SDL_Rect* srcRect, SDL_Surface* target, SDL_Rect dst,
                const SDL_Rect& clip);
// Draws one line of text with its top-left corner at (x, y), clipped to clip.
void DrawText(Fonts& fonts, const FontSpec& font, const std::string& text, Colour colour,
              SDL_Surface* target, int x, int y, const SDL_Rect& clip);

}  // namespace quarn::platform
