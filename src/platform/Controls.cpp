// Controls.cpp — drawing and mouse hit-testing of the screens' controls.
#include "Controls.h"

#include <algorithm>

namespace quarn::platform {

SDL_Rect Intersect(const SDL_Rect& a, const SDL_Rect& b) {
  SDL_Rect r{0, 0, 0, 0};
  if (!SDL_IntersectRect(&a, &b, &r)) return SDL_Rect{0, 0, 0, 0};
  return r;
}

SurfacePtr NewSurface(int width, int height) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, std::max(width, 1), std::max(height, 1), 32,
                                                  SDL_PIXELFORMAT_XRGB8888);
  if (s) SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 0, 0, 0));
  return SurfacePtr(s);
}

namespace {

// Whether a surface's pixels can be written directly as 32-bit words.
bool Plain(const SDL_Surface* s) { return s->format->BytesPerPixel == 4 && !SDL_MUSTLOCK(s); }

Uint32* RowOf(SDL_Surface* s, int y) {
  return reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) +
                                   static_cast<ptrdiff_t>(y) * s->pitch);
}

}  // namespace

// SDL fills and copies with streaming stores that go around the cache; for the small
// rectangles a changed frame is made of, plain stores cost a fraction of that.
void FillRect(SDL_Surface* target, const SDL_Rect& rect, const SDL_Rect& clip, Colour c) {
  SDL_Rect r = Intersect(Intersect(rect, clip), target->clip_rect);
  if (r.w <= 0 || r.h <= 0) return;
  const Uint32 pixel = SDL_MapRGB(target->format, c.R, c.G, c.B);
  if (!Plain(target)) {
    SDL_FillRect(target, &r, pixel);
    return;
  }
  for (int y = r.y; y < r.y + r.h; ++y) std::fill_n(RowOf(target, y) + r.x, r.w, pixel);
}

void CopyPixels(const SDL_Surface* picture, SDL_Rect from, SDL_Surface* target, SDL_Point to) {
  SDL_Surface* src = const_cast<SDL_Surface*>(picture);
  Uint32 key = 0;
  SDL_BlendMode blend = SDL_BLENDMODE_NONE;
  SDL_GetSurfaceBlendMode(src, &blend);
  const bool same = Plain(src) && Plain(target) &&
                    src->format->format == target->format->format &&
                    SDL_GetColorKey(src, &key) != 0 && blend == SDL_BLENDMODE_NONE;
  if (!same) {
    SDL_Rect dst{to.x, to.y, from.w, from.h};
    SDL_BlitSurface(src, &from, target, &dst);
    return;
  }
  // The source part inside the picture, then its place inside the target's clip.
  const SDL_Rect inside = Intersect(from, SDL_Rect{0, 0, src->w, src->h});
  const SDL_Rect placed{to.x + inside.x - from.x, to.y + inside.y - from.y, inside.w, inside.h};
  const SDL_Rect out = Intersect(placed, target->clip_rect);
  if (out.w <= 0 || out.h <= 0) return;
  const int sx = inside.x + out.x - placed.x, sy = inside.y + out.y - placed.y;
  for (int y = 0; y < out.h; ++y) {
    const Uint32* in = RowOf(src, sy + y) + sx;
    std::copy_n(in, out.w, RowOf(target, out.y + y) + out.x);
  }
}

// SDL's blits take the source as non-const only to cache a blit map in it; its pixels are read.
static SDL_Surface* Source(const SDL_Surface* s) { return const_cast<SDL_Surface*>(s); }

void BlitScaled(const SDL_Surface* picture, const SDL_Rect* srcRect, SDL_Surface* target,
                SDL_Rect dst, const SDL_Rect& clip) {
  if (!picture || dst.w <= 0 || dst.h <= 0) return;
  SDL_Surface* src = Source(picture);
  SDL_Rect visible = Intersect(dst, clip);
  if (visible.w <= 0 || visible.h <= 0) return;
  SDL_Rect source = srcRect ? *srcRect : SDL_Rect{0, 0, src->w, src->h};
  // A part of the source beyond the picture shows nothing rather than failing the copy.
  SDL_Rect inside = Intersect(source, SDL_Rect{0, 0, src->w, src->h});
  if (inside.w <= 0 || inside.h <= 0) return;
  if (inside.w != source.w || inside.h != source.h) {
    const double sx = static_cast<double>(dst.w) / source.w;
    const double sy = static_cast<double>(dst.h) / source.h;
    dst = SDL_Rect{dst.x + static_cast<int>((inside.x - source.x) * sx),
                   dst.y + static_cast<int>((inside.y - source.y) * sy),
                   static_cast<int>(inside.w * sx), static_cast<int>(inside.h * sy)};
    source = inside;
  }
  SDL_SetClipRect(target, &visible);
  if (source.w == dst.w && source.h == dst.h) {
    SDL_BlitSurface(src, &source, target, &dst);
  } else {
    SDL_BlitScaled(src, &source, target, &dst);
  }
  SDL_SetClipRect(target, nullptr);
}

void DrawText(Fonts& fonts, const FontSpec& font, const std::string& text, Colour colour,
              SDL_Surface* target, int x, int y, const SDL_Rect& clip) {
  TTF_Font* f = fonts.Get(font);
  if (!f || text.empty()) return;
  SDL_Surface* rendered =
      TTF_RenderUTF8_Blended(f, text.c_str(), SDL_Color{colour.R, colour.G, colour.B, 255});
  if (!rendered) return;
  SDL_Rect dst{x, y, rendered->w, rendered->h};
  SDL_Rect visible = Intersect(dst, clip);
  if (visible.w > 0 && visible.h > 0) {
    SDL_SetClipRect(target, &visible);
    SDL_BlitSurface(rendered, nullptr, target, &dst);
    SDL_SetClipRect(target, nullptr);
  }
  SDL_FreeSurface(rendered);
}

namespace {

// FNV-1a over the pieces of a control's look.
class Digest {
 public:
  Digest& Add(uint64_t v) {
    for (int i = 0; i < 8; ++i) {
      h_ ^= (v >> (8 * i)) & 0xFF;
      h_ *= 1099511628211ULL;
    }
    return *this;
  }
  Digest& Add(const std::string& s) {
    for (unsigned char c : s) {
      h_ ^= c;
      h_ *= 1099511628211ULL;
    }
    return Add(static_cast<uint64_t>(s.size()));
  }
  Digest& Add(Colour c) { return Add((uint64_t{c.R} << 16) | (uint64_t{c.G} << 8) | c.B); }
  Digest& Add(bool b) { return Add(uint64_t{b ? 1u : 0u}); }
  Digest& Add(const std::optional<Colour>& c) { return c ? Add(true).Add(*c) : Add(false); }
  Digest& Add(const void* p) { return Add(static_cast<uint64_t>(reinterpret_cast<uintptr_t>(p))); }
  Digest& Add(const SDL_Rect& r) {
    return Add(static_cast<uint64_t>(static_cast<uint32_t>(r.x))).Add(static_cast<uint64_t>(static_cast<uint32_t>(r.y)))
        .Add(static_cast<uint64_t>(static_cast<uint32_t>(r.w))).Add(static_cast<uint64_t>(static_cast<uint32_t>(r.h)));
  }
  Digest& Add(const FontSpec& f) {
    return Add(f.Family).Add(static_cast<uint64_t>(f.Points * 1000)).Add(f.Bold);
  }
  uint64_t Value() const { return h_; }

 private:
  uint64_t h_ = 14695981039346656037ULL;
};

}  // namespace

uint64_t Control::Look() const {
  // A control that cannot describe its look is drawn again at every frame.
  static uint64_t counter = 0;
  return ++counter;
}

uint64_t PictureBox::Look() const { return Digest().Add(Background).Add(Canvas).Value(); }

uint64_t Label::Look() const {
  return Digest()
      .Add(Caption)
      .Add(Font)
      .Add(Fore)
      .Add(Background)
      .Add(static_cast<uint64_t>(Alignment))
      .Add(WordWrap)
      .Value();
}

uint64_t Image::Look() const {
  return Digest().Add(Picture).Add(Source.has_value()).Add(Source.value_or(SDL_Rect{})).Value();
}

uint64_t Shape::Look() const {
  return Digest().Add(Ink).Add(Filled).Add(static_cast<uint64_t>(Thickness)).Value();
}

uint64_t Button::Look() const {
  return Digest().Add(Caption).Add(Font).Add(Pressed).Value();
}

uint64_t ListBox::Look() const {
  Digest d;
  d.Add(Font).Add(Fore).Add(Back).Add(SelectedFore).Add(SelectedBack).Add(Border);
  d.Add(static_cast<uint64_t>(listIndex_)).Add(static_cast<uint64_t>(topIndex_));
  d.Add(HeaderFore);
  for (size_t i = 0; i < items_.size(); ++i) d.Add(items_[i]).Add(static_cast<bool>(headers_[i]));
  return d.Value();
}

bool Control::Contains(SDL_Point p) const { return SDL_PointInRect(&p, &Bounds); }

Control* Control::ControlAt(SDL_Point p) {
  return Visible && Contains(p) && TakesMouse() ? this : nullptr;
}

namespace {

bool Within(const SDL_Rect& inner, const SDL_Rect& outer) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
         inner.y + inner.h <= outer.y + outer.h;
}

// A canvas copied as it is: no colour key and no blending, so nothing under it shows through.
bool CopiedOpaquely(const SDL_Surface* canvas) {
  SDL_Surface* s = const_cast<SDL_Surface*>(canvas);
  Uint32 key = 0;
  SDL_BlendMode blend = SDL_BLENDMODE_NONE;
  SDL_GetSurfaceBlendMode(s, &blend);
  return SDL_GetColorKey(s, &key) != 0 && blend == SDL_BLENDMODE_NONE;
}

}  // namespace

bool PictureBox::Covers(SDL_Point origin, const SDL_Rect& r) const {
  if (!Visible || !Within(r, SDL_Rect{origin.x, origin.y, Bounds.w, Bounds.h})) return false;
  if (Background) return true;
  if (Canvas && CopiedOpaquely(Canvas) &&
      Within(r, SDL_Rect{origin.x, origin.y, Canvas->w, Canvas->h})) {
    return true;
  }
  for (const Control* child : Children) {
    if (child->Covers(SDL_Point{origin.x + child->Bounds.x, origin.y + child->Bounds.y}, r)) {
      return true;
    }
  }
  return false;
}

void PictureBox::Draw(SDL_Surface* target, SDL_Point origin, const SDL_Rect& clip) {
  if (!Visible) return;
  const SDL_Rect area{origin.x, origin.y, Bounds.w, Bounds.h};
  const SDL_Rect inner = Intersect(area, clip);
  if (inner.w <= 0 || inner.h <= 0) return;
  // Where a child hides all of the area (the board inside its view, the view inside the
  // window), the background and the canvas under it are not drawn only to be drawn over: a
  // changed cell of the board is then painted once, not filled two or three times first.
  bool hidden = false;
  for (const Control* child : Children) {
    if (child->Covers(SDL_Point{origin.x + child->Bounds.x, origin.y + child->Bounds.y}, inner)) {
      hidden = true;
      break;
    }
  }
  if (!hidden) {
    const bool canvasHides = Canvas && CopiedOpaquely(Canvas) &&
                             Within(inner, SDL_Rect{origin.x, origin.y, Canvas->w, Canvas->h});
    if (Background && !canvasHides) FillRect(target, inner, inner, *Background);
    if (Canvas) {
      CopyPixels(Canvas, SDL_Rect{inner.x - origin.x, inner.y - origin.y, inner.w, inner.h},
                 target, SDL_Point{inner.x, inner.y});
    }
  }
  for (Control* child : Children) {
    child->Draw(target, SDL_Point{origin.x + child->Bounds.x, origin.y + child->Bounds.y}, inner);
  }
}

Control* PictureBox::ControlAt(SDL_Point p) {
  if (!Visible || !Contains(p)) return nullptr;
  const SDL_Point local{p.x - Bounds.x, p.y - Bounds.y};
  for (auto it = Children.rbegin(); it != Children.rend(); ++it) {
    if (Control* hit = (*it)->ControlAt(local)) return hit;
  }
  return TakesMouse() ? this : nullptr;
}

std::optional<SDL_Point> PictureBox::OriginOf(const Control* c) const {
  const SDL_Point mine{Bounds.x, Bounds.y};
  if (c == this) return mine;
  for (const Control* child : Children) {
    SDL_Point at{mine.x + child->Bounds.x, mine.y + child->Bounds.y};
    if (child == c) return at;
    if (const PictureBox* box = child->AsBox()) {
      if (auto inner = box->OriginOf(c)) return SDL_Point{mine.x + inner->x, mine.y + inner->y};
    }
  }
  return std::nullopt;
}

std::vector<std::string> Label::Lines() {
  std::vector<std::string> lines;
  size_t start = 0;
  while (true) {
    const size_t end = Caption.find('\n', start);
    const std::string paragraph =
        Caption.substr(start, end == std::string::npos ? end : end - start);
    if (WordWrap) {
      for (std::string& line : WrapLine(paragraph)) lines.push_back(std::move(line));
    } else {
      lines.push_back(paragraph);
    }
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

std::vector<std::string> Label::WrapLine(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  size_t i = 0;
  while (i < text.size()) {
    // The next word with the spaces before it.
    size_t spacesEnd = text.find_first_not_of(' ', i);
    if (spacesEnd == std::string::npos) break;
    size_t wordEnd = text.find(' ', spacesEnd);
    if (wordEnd == std::string::npos) wordEnd = text.size();
    const std::string spaces = text.substr(i, spacesEnd - i);
    const std::string word = text.substr(spacesEnd, wordEnd - spacesEnd);
    const std::string candidate = line + spaces + word;
    if (lines.empty() && line.empty()) {
      line = candidate;
    } else if (fonts_.Measure(Font, candidate).x <= Bounds.w) {
      line = candidate;
    } else {
      lines.push_back(line);
      line = word;
    }
    i = wordEnd;
  }
  if (!line.empty() || lines.empty()) lines.push_back(line);
  return lines;
}

void Label::Render() {
  const std::string key =
      Caption + '\x01' + Font.Family + std::to_string(Font.Points) + (Font.Bold ? "b" : "") +
      std::to_string(Fore.R) + ',' + std::to_string(Fore.G) + ',' + std::to_string(Fore.B) + ',' +
      std::to_string(Bounds.w) + (WordWrap ? "w" : "") + (Alignment == Align::Centre ? "c" : "");
  if (key == renderedKey_) return;
  renderedKey_ = key;
  rendered_.clear();
  TTF_Font* f = fonts_.Get(Font);
  if (!f) return;
  int y = 0;
  for (const std::string& line : Lines()) {
    if (!line.empty()) {
      SDL_Surface* text =
          TTF_RenderUTF8_Blended(f, line.c_str(), SDL_Color{Fore.R, Fore.G, Fore.B, 255});
      if (text) {
        int x = 0;
        if (Alignment == Align::Centre) x = (Bounds.w - text->w) / 2;
        if (Alignment == Align::Right) x = Bounds.w - text->w;
        rendered_.push_back(Rendered{SurfacePtr(text), x, y});
      }
    }
    y += TTF_FontLineSkip(f);
  }
}

void Label::Draw(SDL_Surface* target, SDL_Point origin, const SDL_Rect& clip) {
  if (!Visible) return;
  const SDL_Rect area{origin.x, origin.y, Bounds.w, Bounds.h};
  const SDL_Rect inner = Intersect(area, clip);
  if (inner.w <= 0 || inner.h <= 0) return;
  if (Background) FillRect(target, inner, inner, *Background);
  Render();
  SDL_SetClipRect(target, &inner);
  for (const Rendered& r : rendered_) {
    SDL_Rect dst{origin.x + r.X, origin.y + r.Y, r.Text->w, r.Text->h};
    SDL_BlitSurface(r.Text.get(), nullptr, target, &dst);
  }
  SDL_SetClipRect(target, nullptr);
}

void Image::Draw(SDL_Surface* target, SDL_Point origin, const SDL_Rect& clip) {
  if (!Visible || !Picture) return;
  BlitScaled(Picture, Source ? &*Source : nullptr, target,
             SDL_Rect{origin.x, origin.y, Bounds.w, Bounds.h}, clip);
}

void Shape::Draw(SDL_Surface* target, SDL_Point origin, const SDL_Rect& clip) {
  if (!Visible) return;
  const SDL_Rect r{origin.x, origin.y, Bounds.w, Bounds.h};
  if (Filled) {
    FillRect(target, r, clip, Ink);
    return;
  }
  const int t = Thickness;
  FillRect(target, SDL_Rect{r.x, r.y, r.w, t}, clip, Ink);
  FillRect(target, SDL_Rect{r.x, r.y + r.h - t, r.w, t}, clip, Ink);
  FillRect(target, SDL_Rect{r.x, r.y, t, r.h}, clip, Ink);
  FillRect(target, SDL_Rect{r.x + r.w - t, r.y, t, r.h}, clip, Ink);
}

ListBox::ListBox(Fonts& fonts) : fonts_(fonts) {
  OnMouseDown = [this](int button, SDL_Point p) {
    if (button == SDL_BUTTON_LEFT) Press(p);
  };
  OnWheel = [this](int notches) { SetTopIndex(topIndex_ - 3 * notches); };
}

void ListBox::Clear() {
  items_.clear();
  headers_.clear();
  listIndex_ = -1;
  topIndex_ = 0;
}

void ListBox::AddItem(std::string text) {
  items_.push_back(std::move(text));
  headers_.push_back(false);
}

void ListBox::AddHeader(std::string text) {
  items_.push_back(std::move(text));
  headers_.push_back(true);
}

void ListBox::SetItemText(int i, std::string text) {
  if (i >= 0 && i < Count()) items_[static_cast<size_t>(i)] = std::move(text);
}

int ListBox::RowHeight() {
  TTF_Font* f = fonts_.Get(Font);
  return f ? std::max(1, TTF_FontLineSkip(f)) : 16;
}

int ListBox::VisibleRows() { return std::max(1, (Bounds.h - 2 * BorderWidth) / RowHeight()); }

void ListBox::SetTopIndex(int i) {
  topIndex_ = std::clamp(i, 0, std::max(0, Count() - VisibleRows()));
}

void ListBox::SetListIndex(int i, int step) {
  if (items_.empty()) {
    listIndex_ = -1;
    topIndex_ = 0;
    return;
  }
  int at = std::clamp(i, 0, Count() - 1);
  step = step < 0 ? -1 : 1;
  while (IsHeader(at) && at + step >= 0 && at + step < Count()) at += step;
  while (IsHeader(at) && at - step >= 0 && at - step < Count()) at -= step;
  if (IsHeader(at)) {
    // Nothing but headings: nothing to select.
    listIndex_ = -1;
    SetTopIndex(0);
    return;
  }
  listIndex_ = at;
  const int rows = VisibleRows();
  // The heading of the selected entry's group shows with it when it lies just above.
  const int shownFrom = IsHeader(listIndex_ - 1) && rows > 1 ? listIndex_ - 1 : listIndex_;
  if (shownFrom < topIndex_) SetTopIndex(shownFrom);
  if (listIndex_ >= topIndex_ + rows) SetTopIndex(listIndex_ - rows + 1);
  SetTopIndex(topIndex_);  // a shorter list may leave rows empty below its end
}

bool ListBox::KeyDown(int virtualKey) {
  const int page = std::max(1, VisibleRows() - 1);
  const int at = listIndex_;
  switch (virtualKey) {
    case 38:  // Up
      SetListIndex(at - 1, -1);
      return true;
    case 40:  // Down
      SetListIndex(at + 1, +1);
      return true;
    case 36:  // Home
      SetListIndex(0, +1);
      return true;
    case 35:  // End
      SetListIndex(Count() - 1, -1);
      return true;
    case 33:  // Page Up
      SetListIndex(at - page, -1);
      return true;
    case 34:  // Page Down
      SetListIndex(at + page, +1);
      return true;
    default:
      return false;
  }
}

void ListBox::Press(SDL_Point p) {
  const int rows = VisibleRows();
  if (HasScrollBar() && p.x >= Bounds.w - BorderWidth - ScrollBarWidth) {
    // A press on the bar above or below its thumb turns a page.
    const int track = Bounds.h - 2 * BorderWidth;
    const int thumbTop = BorderWidth + track * topIndex_ / Count();
    SetTopIndex(p.y < thumbTop ? topIndex_ - rows : topIndex_ + rows);
    return;
  }
  if (p.y < BorderWidth) return;
  const int row = topIndex_ + (p.y - BorderWidth) / RowHeight();
  if (row < Count() && row < topIndex_ + rows && !IsHeader(row)) SetListIndex(row);
}

void ListBox::Draw(SDL_Surface* target, SDL_Point origin, const SDL_Rect& clip) {
  if (!Visible) return;
  const SDL_Rect r{origin.x, origin.y, Bounds.w, Bounds.h};
  const SDL_Rect inner = Intersect(r, clip);
  if (inner.w <= 0 || inner.h <= 0) return;
  FillRect(target, r, inner, Back);
  const int b = BorderWidth;
  FillRect(target, SDL_Rect{r.x, r.y, r.w, b}, inner, Border);
  FillRect(target, SDL_Rect{r.x, r.y + r.h - b, r.w, b}, inner, Border);
  FillRect(target, SDL_Rect{r.x, r.y, b, r.h}, inner, Border);
  FillRect(target, SDL_Rect{r.x + r.w - b, r.y, b, r.h}, inner, Border);

  const bool bar = HasScrollBar();
  const int rows = VisibleRows(), rowHeight = RowHeight();
  const SDL_Rect text{r.x + b, r.y + b, r.w - 2 * b - (bar ? ScrollBarWidth : 0), rows * rowHeight};
  const SDL_Rect textClip = Intersect(text, inner);
  for (int i = topIndex_; i < Count() && i < topIndex_ + rows; ++i) {
    const int y = text.y + (i - topIndex_) * rowHeight;
    const bool selected = i == listIndex_;
    if (selected) FillRect(target, SDL_Rect{text.x, y, text.w, rowHeight}, textClip, SelectedBack);
    DrawText(fonts_, Font, items_[static_cast<size_t>(i)],
             selected ? SelectedFore : IsHeader(i) ? HeaderFore : Fore, target,
             text.x + 2, y, textClip);
  }
  if (bar) {
    const int track = r.h - 2 * b;
    const SDL_Rect barRect{r.x + r.w - b - ScrollBarWidth, r.y + b, ScrollBarWidth, track};
    FillRect(target, barRect, inner, Colour{0, 0, 80});
    const int thumbTop = track * topIndex_ / Count();
    const int thumbHeight = std::max(6, track * rows / Count());
    FillRect(target,
             SDL_Rect{barRect.x + 2, barRect.y + thumbTop, ScrollBarWidth - 4,
                      std::min(thumbHeight, track - thumbTop)},
             inner, Border);
  }
}

void Button::Draw(SDL_Surface* target, SDL_Point origin, const SDL_Rect& clip) {
  if (!Visible) return;
  const SDL_Rect r{origin.x, origin.y, Bounds.w, Bounds.h};
  const SDL_Rect inner = Intersect(r, clip);
  if (inner.w <= 0 || inner.h <= 0) return;
  const Colour face{192, 192, 192}, light{255, 255, 255}, shade{128, 128, 128}, dark{0, 0, 0};
  FillRect(target, r, inner, face);
  const Colour topLeft = Pressed ? dark : light;
  const Colour bottomRight = Pressed ? light : dark;
  FillRect(target, SDL_Rect{r.x, r.y, r.w, 1}, inner, topLeft);
  FillRect(target, SDL_Rect{r.x, r.y, 1, r.h}, inner, topLeft);
  FillRect(target, SDL_Rect{r.x, r.y + r.h - 1, r.w, 1}, inner, bottomRight);
  FillRect(target, SDL_Rect{r.x + r.w - 1, r.y, 1, r.h}, inner, bottomRight);
  FillRect(target, SDL_Rect{r.x + 1, r.y + r.h - 2, r.w - 2, 1}, inner, shade);
  FillRect(target, SDL_Rect{r.x + r.w - 2, r.y + 1, 1, r.h - 2}, inner, shade);
  const SDL_Point size = fonts_.Measure(Font, Caption);
  const int shift = Pressed ? 1 : 0;
  DrawText(fonts_, Font, Caption, dark, target, r.x + (r.w - size.x) / 2 + shift,
           r.y + (r.h - size.y) / 2 + shift,
           Intersect(SDL_Rect{r.x + 2, r.y + 2, r.w - 4, r.h - 4}, inner));
}

}  // namespace quarn::platform
