// Fonts.h — the screens' fonts by family name and point size, found through fontconfig.
#pragma once

#include <SDL_ttf.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>

namespace quarn::platform {

struct FontSpec {
  std::string Family;  // as the screens name it: "Arial", "Comic Sans MS"
  double Points = 9.75;
  bool Bold = true;
};

// Points at 96 dots per inch, the resolution the screens were laid out at.
int PixelSizeOf(double points);

// The installed family that stands in for one the screens name: metric-compatible where there is
// one (Arial → Liberation Sans), else the nearest free look-alike (Comic Sans MS → Comic Neue).
std::string StandInFamily(const std::string& family);

// Opened fonts, each kept for the life of the program. Needs TTF_Init.
class Fonts {
 public:
  Fonts() = default;
  ~Fonts();
  Fonts(const Fonts&) = delete;
  Fonts& operator=(const Fonts&) = delete;

  // Never null for an installed system: falls back to any sans-serif face fontconfig offers.
  // Null only when no font can be opened at all.
  TTF_Font* Get(const FontSpec& wanted);
  // Width and height in pixels of one line of UTF-8 text; (0, 0) without a font.
  SDL_Point Measure(const FontSpec& wanted, const std::string& text);
  // The font file fontconfig chooses for a family (after the stand-in) and weight; empty if none.
  std::string FileFor(const std::string& family, bool bold) const;

 private:
  std::map<std::tuple<std::string, int, bool>, TTF_Font*> open_;
};

}  // namespace quarn::platform
