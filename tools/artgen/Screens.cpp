// Screens.cpp — button strips, dialog icons, the title picture and the logo, with their lettering.
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "Pictures.h"

namespace quarn::art {

namespace {

constexpr Col WindowBlue{0, 0, 128};  // background of the start screen and the dialog
constexpr Col Ink{16, 14, 22};

std::string boldFontFile;

struct Mask {
  int w = 0, h = 0;
  std::vector<uint8_t> a;  // coverage 0..255
  uint8_t At(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h ? a[y * w + x] : 0; }
};

Mask Text(const std::string& text, int sizePx) {
  Mask m;
  TTF_Font* font = TTF_OpenFont(boldFontFile.c_str(), sizePx);
  if (!font) return m;
  SDL_Surface* s = TTF_RenderUTF8_Blended(font, text.c_str(), SDL_Color{255, 255, 255, 255});
  TTF_CloseFont(font);
  if (!s) return m;
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(s);
  if (!argb) return m;
  m.w = argb->w;
  m.h = argb->h;
  m.a.resize(static_cast<size_t>(m.w * m.h));
  for (int y = 0; y < m.h; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(argb->pixels) +
                                                        y * argb->pitch);
    for (int x = 0; x < m.w; ++x) m.a[y * m.w + x] = static_cast<uint8_t>(row[x] >> 24);
  }
  SDL_FreeSurface(argb);
  // Trim empty rows so the caller can centre on the ink, not on the font's line box.
  int top = 0, bottom = m.h;
  auto rowEmpty = [&](int y) {
    return std::all_of(m.a.begin() + y * m.w, m.a.begin() + (y + 1) * m.w,
                       [](uint8_t v) { return v < 40; });
  };
  while (top < bottom && rowEmpty(top)) ++top;
  while (bottom > top && rowEmpty(bottom - 1)) --bottom;
  Mask t;
  t.w = m.w;
  t.h = bottom - top;
  t.a.assign(m.a.begin() + top * m.w, m.a.begin() + bottom * m.w);
  return t;
}

// Smooth lettering for small captions.
void DrawText(Image& img, const Mask& m, int x0, int y0, Col c) {
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x)
      if (m.At(x, y)) img.Blend(x0 + x, y0 + y, c, m.At(x, y) / 255.0);
}

// Hard-edged lettering with a dark outline and a drop shadow, filled top to bottom from `top`
// to `bottom` with dithered bands: the pixel-art headline.
void Headline(Image& img, const Mask& m, int x0, int y0, Col top, Col bottom, int shadow) {
  auto ink = [&](int x, int y) { return m.At(x, y) >= 128; };
  auto near = [&](int x, int y, int r) {
    for (int j = -r; j <= r; ++j)
      for (int i = -r; i <= r; ++i)
        if (i * i + j * j <= r * r + 1 && ink(x + i, y + j)) return true;
    return false;
  };
  for (int y = -3; y < m.h + 3; ++y)
    for (int x = -3; x < m.w + 3; ++x)
      if (near(x - shadow, y - shadow, 2)) img.Blend(x0 + x, y0 + y, {0, 0, 30}, 0.7);
  for (int y = -3; y < m.h + 3; ++y)
    for (int x = -3; x < m.w + 3; ++x) {
      if (ink(x, y)) {
        const double t = static_cast<double>(y) / std::max(1, m.h - 1);
        const double q = std::floor((t + (Bayer(x, y) - 0.5) * 0.16) * 5) / 4;
        Col c = Mix(top, bottom, std::clamp(q, 0.0, 1.0));
        if (!ink(x - 1, y - 1)) c = Shade(c, 1.3);  // lit upper-left rims
        img.Set(x0 + x, y0 + y, c);
      } else if (near(x, y, 2)) {
        img.Set(x0 + x, y0 + y, Ink);
      }
    }
}

// Copies a sprite painted on the floor, leaving out the untouched floor, scaled up by `scale`.
void PasteSprite(Image& img, const Image& sprite, int x0, int y0, int scale, int rows = 40) {
  for (int y = 0; y < rows * scale; ++y)
    for (int x = 0; x < sprite.W() * scale; ++x) {
      const int sx = x / scale, sy = y / scale;
      const Col c = sprite.Get(sx, sy), f = FloorAt(sx, sy);
      if (c.r != f.r || c.g != f.g || c.b != f.b) img.Set(x0 + x, y0 + y, c);
    }
}

}  // namespace

std::optional<std::string> OpenFonts() {
  if (TTF_Init() != 0) return std::string("cannot start SDL_ttf: ") + TTF_GetError();
  FcConfig* config = FcInitLoadConfigAndFonts();
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("Liberation Sans:bold"));
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  FcChar8* file = nullptr;
  if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file)
    boldFontFile = reinterpret_cast<const char*>(file);
  if (match) FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  FcConfigDestroy(config);
  if (boldFontFile.empty()) return std::string("no bold sans-serif font found by fontconfig");
  TTF_Font* probe = TTF_OpenFont(boldFontFile.c_str(), 12);
  if (!probe) return "cannot open font " + boldFontFile;
  TTF_CloseFont(probe);
  return std::nullopt;
}

void CloseFonts() { TTF_Quit(); }

Image ButtonStrip(int width, const std::string& caption) {
  Image img(width, 120, WindowBlue);
  const Mask text = Text(caption, caption == "×" ? 22 : 16);
  for (int look = 0; look < 4; ++look) {
    const int y0 = look * 30;
    const bool pointed = look == 1 || look == 3;
    const bool pressed = look >= 2;
    const Col hi = pointed ? Col{96, 150, 255} : Col{60, 96, 214};
    const Col lo = pointed ? Col{40, 72, 190} : Col{26, 42, 140};
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < width; ++x) {
        const bool corner = (x == 0 || x == width - 1) && (y == 0 || y == 29);
        if (corner) continue;
        if (x == 0 || y == 0 || x == width - 1 || y == 29) {
          img.Set(x, y0 + y, {6, 6, 40});
          continue;
        }
        double t = (y - 1) / 27.0;
        if (pressed) t = 1 - t;
        t = std::floor((t + (Bayer(x, y) - 0.5) * 0.2) * 4) / 3;
        Col c = Mix(hi, lo, std::clamp(t, 0.0, 1.0));
        const bool lightEdge = pressed ? (x == width - 2 || y == 28) : (x == 1 || y == 1);
        const bool darkEdge = pressed ? (x == 1 || y == 1) : (x == width - 2 || y == 28);
        if (lightEdge) c = Shade(c, 1.45);
        if (darkEdge) c = Shade(c, 0.55);
        img.Set(x, y0 + y, c);
      }
    const int shift = pressed ? 1 : 0;
    const int tx = (width - text.w) / 2 + shift, ty = y0 + (30 - text.h) / 2 + shift;
    DrawText(img, text, tx + 1, ty + 1, {4, 4, 40});
    DrawText(img, text, tx, ty, pointed ? Col{255, 236, 110} : Col{255, 255, 255});
  }
  return img;
}

Image Icon(int kind) {
  Image img(32, 32, WindowBlue);
  static constexpr Col Body[4] = {{50, 120, 255}, {40, 178, 110}, {250, 200, 40}, {226, 40, 40}};
  static const char* Glyph[4] = {"i", "?", "!", "×"};
  const Col body = Body[kind];
  if (kind == 2) {
    FillShape(
        img,
        [](double x, double y) { return y > 3 && y < 29 && std::abs(x - 16) < (y - 3) * 0.58; },
        [&](int x, int y) { return Shade(body, 0.92 + 0.25 * (y < 12) + Noise(x, y, 81) * 0.06); });
  } else {
    FillShape(
        img, [](double x, double y) { return std::hypot(x - 16, y - 16) < 13.5; },
        [&](int x, int y) {
          return Lit(body, (x + 0.5 - 16) / 13.5, (y + 0.5 - 16) / 13.5, x, y);
        });
  }
  const Mask g = Text(Glyph[kind], kind == 3 ? 24 : kind == 2 ? 17 : 20);
  const int gy = kind == 2 ? 11 : (32 - g.h) / 2;
  const Col ink = kind == 2 ? Col{20, 16, 10} : Col{255, 255, 255};
  DrawText(img, g, (32 - g.w) / 2, gy, ink);
  return img;
}

Image TitlePicture() {
  Image img(495, 152, WindowBlue);
  // A faint lattice and a scatter of stars behind the name.
  for (int y = 0; y < 152; ++y)
    for (int x = 0; x < 495; ++x) {
      const double t = y / 151.0;
      Col c = Mix(WindowBlue, {0, 0, 76}, std::floor((t + (Bayer(x, y) - 0.5) * 0.2) * 4) / 3);
      if (y > 40 && (x % 24 == 0 || y % 24 == 0)) c = Mix(c, {40, 60, 200}, 0.35);
      if (Noise(x, y, 91) > 0.996) c = {200, 210, 255};
      img.Set(x, y, c);
    }
  // The three laser colours as a stripe under the name.
  static constexpr Col Beam[3] = {{255, 64, 52}, {80, 244, 96}, {200, 100, 255}};
  for (int k = 0; k < 3; ++k) Rect(img, 100, 128 + k * 3, 300, 2, Beam[k]);
  const Mask name = Text("QUARN", 92);
  Headline(img, name, (495 - name.w) / 2, 42, {255, 246, 150}, {236, 104, 20}, 4);
  PasteSprite(img, QuarnFigure(), 8, 58, 2);
  PasteSprite(img, Enemy(3), 408, 62, 2);
  return img;
}

Image Logo() {
  Image img(233, 72, {0, 0, 0});
  const Mask name = Text("QUARN", 46);
  Headline(img, name, 64, 22, {255, 246, 150}, {236, 104, 20}, 3);
  PasteSprite(img, HotPotato(), 4, 12, 1, 40);
  static constexpr Col Beam[3] = {{255, 64, 52}, {80, 244, 96}, {200, 100, 255}};
  for (int k = 0; k < 3; ++k) Rect(img, 4, 60 + k * 3, 225, 2, Shade(Beam[k], 0.8));
  return img;
}

}  // namespace quarn::art
