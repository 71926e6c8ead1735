// Fonts.cpp — fontconfig matching and the cache of opened TrueType faces.
#include "Fonts.h"

#ifndef __EMSCRIPTEN__
#include <fontconfig/fontconfig.h>
#endif

#include <cmath>
#include <cstdio>

namespace quarn::platform {

#ifdef __EMSCRIPTEN__
// The font file in the page's data for a family and weight (WebDesktop.cpp).
std::string WebFontFile(const std::string& family, bool bold);
#endif

int PixelSizeOf(double points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

std::string StandInFamily(const std::string& family) {
  if (family == "Arial") return "Liberation Sans";
  if (family == "Comic Sans MS") return "Comic Neue";
  return family;
}

std::string Fonts::FileFor(const std::string& family, bool bold) const {
  const std::string wanted = StandInFamily(family);
#ifdef __EMSCRIPTEN__
  // A browser has no fontconfig: the page's data holds the two families, under /fonts.
  return WebFontFile(wanted, bold);
#else
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(wanted.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  std::string file;
  FcChar8* path = nullptr;
  if (match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path) {
    file = reinterpret_cast<const char*>(path);
  }
  if (match) FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  return file;
#endif
}

Fonts::~Fonts() {
  for (auto& [key, font] : open_) {
    if (font) TTF_CloseFont(font);
  }
  // We keep nothing of fontconfig's but file names: its configuration can go (and is read again
  // should another set of fonts be made).
#ifndef __EMSCRIPTEN__
  FcFini();
#endif
}

TTF_Font* Fonts::Get(const FontSpec& wanted) {
  const int px = PixelSizeOf(wanted.Points);
  const auto key = std::make_tuple(wanted.Family, px, wanted.Bold);
  if (auto it = open_.find(key); it != open_.end()) return it->second;

  TTF_Font* font = nullptr;
  std::string file = FileFor(wanted.Family, wanted.Bold);
  if (!file.empty()) font = TTF_OpenFont(file.c_str(), px);
  if (!font) {
    std::fprintf(stderr, "quarn: chybí písmo „%s“; místo něj sans-serif\n", wanted.Family.c_str());
    file = FileFor("sans-serif", wanted.Bold);
    if (!file.empty()) font = TTF_OpenFont(file.c_str(), px);
  }
  // A family without a bold face is emboldened rather than shown thin.
  if (font && wanted.Bold && !(TTF_GetFontStyle(font) & TTF_STYLE_BOLD)) {
    const char* style = TTF_FontFaceStyleName(font);
    if (style && std::string(style).find("Bold") == std::string::npos) {
      TTF_SetFontStyle(font, TTF_STYLE_BOLD);
    }
  }
  open_[key] = font;
  return font;
}

SDL_Point Fonts::Measure(const FontSpec& wanted, const std::string& text) {
  TTF_Font* font = Get(wanted);
  SDL_Point size{0, 0};
  if (!font) return size;
  if (text.empty()) return SDL_Point{0, TTF_FontHeight(font)};
  TTF_SizeUTF8(font, text.c_str(), &size.x, &size.y);
  return size;
}

}  // namespace quarn::platform
