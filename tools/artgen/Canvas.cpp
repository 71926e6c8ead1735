// Canvas.cpp — pixels, shapes, lighting and the bitmap writer of the picture generator.
#include "Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quarn::art {

namespace {

uint8_t Clamp8(double v) { return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

uint32_t Hash(int x, int y, int seed) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
               static_cast<uint32_t>(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}

void PutLe(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

Col Mix(Col a, Col b, double t) {
  return {Clamp8(a.r + (b.r - a.r) * t), Clamp8(a.g + (b.g - a.g) * t),
          Clamp8(a.b + (b.b - a.b) * t)};
}

Col Shade(Col c, double f) {
  if (f <= 1) return {Clamp8(c.r * f), Clamp8(c.g * f), Clamp8(c.b * f)};
  return Mix(c, {255, 255, 255}, std::min(1.0, (f - 1) * 0.8));
}

Image::Image(int w, int h, Col fill) : w_(w), h_(h), px_(static_cast<size_t>(w * h), fill) {}

void Image::Blend(int x, int y, Col c, double a) {
  if (In(x, y)) Set(x, y, Mix(Get(x, y), c, std::clamp(a, 0.0, 1.0)));
}

void Image::Paste(const Image& other, int x, int y) {
  for (int j = 0; j < other.H(); ++j)
    for (int i = 0; i < other.W(); ++i) Set(x + i, y + j, other.Get(i, j));
}

bool Image::SaveBmp(const std::string& path) const {
  const int stride = (w_ * 3 + 3) / 4 * 4;
  const uint32_t dataSize = static_cast<uint32_t>(stride * h_);
  std::vector<uint8_t> out;
  out.reserve(54 + dataSize);
  out.push_back('B');
  out.push_back('M');
  PutLe(out, 54 + dataSize, 4);
  PutLe(out, 0, 4);
  PutLe(out, 54, 4);
  PutLe(out, 40, 4);  // BITMAPINFOHEADER
  PutLe(out, static_cast<uint32_t>(w_), 4);
  PutLe(out, static_cast<uint32_t>(h_), 4);  // positive: rows stored bottom-up
  PutLe(out, 1, 2);
  PutLe(out, 24, 2);
  PutLe(out, 0, 4);  // BI_RGB, no compression
  PutLe(out, dataSize, 4);
  PutLe(out, 2835, 4);  // 72 dpi
  PutLe(out, 2835, 4);
  PutLe(out, 0, 4);
  PutLe(out, 0, 4);
  for (int y = h_ - 1; y >= 0; --y) {
    for (int x = 0; x < w_; ++x) {
      const Col c = Get(x, y);
      out.push_back(c.b);
      out.push_back(c.g);
      out.push_back(c.r);
    }
    for (int p = w_ * 3; p < stride; ++p) out.push_back(0);
  }
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
  return std::fclose(f) == 0 && ok;
}

void FillShape(Image& img, const Inside& inside, const Paint& paint, bool outline, Col outlineCol) {
  std::vector<uint8_t> mask(static_cast<size_t>(img.W() * img.H()), 0);
  for (int y = 0; y < img.H(); ++y)
    for (int x = 0; x < img.W(); ++x)
      if (inside(x + 0.5, y + 0.5)) {
        mask[y * img.W() + x] = 1;
        img.Set(x, y, paint(x, y));
      }
  if (!outline) return;
  auto at = [&](int x, int y) { return img.In(x, y) && mask[y * img.W() + x]; };
  for (int y = 0; y < img.H(); ++y)
    for (int x = 0; x < img.W(); ++x)
      if (!at(x, y) && (at(x - 1, y) || at(x + 1, y) || at(x, y - 1) || at(x, y + 1)))
        img.Set(x, y, outlineCol);
}

void Rect(Image& img, int x, int y, int w, int h, Col c) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) img.Set(i, j, c);
}

void Line(Image& img, int x0, int y0, int x1, int y1, Col c) {
  const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    img.Set(x0, y0, c);
    if (x0 == x1 && y0 == y1) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

double Noise(int x, int y, int seed) { return (Hash(x, y, seed) & 0xffff) / 65535.0; }

double Bayer(int x, int y) {
  static constexpr int M[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  return (M[y & 3][x & 3] + 0.5) / 16.0;
}

Col Lit(Col base, double nx, double ny, int x, int y) {
  const double nz = std::sqrt(std::max(0.0, 1 - nx * nx - ny * ny));
  const double lx = -0.5, ly = -0.62, lz = 0.6;
  const double d = (nx * lx + ny * ly + nz * lz) / std::sqrt(lx * lx + ly * ly + lz * lz);
  if (d > 0.94) return Shade(base, 1.75);  // the glint
  static constexpr double Tones[4] = {0.52, 0.74, 1.0, 1.28};
  const double v = std::clamp((d + 0.35) / 1.25, 0.0, 1.0) * 3;
  const int level = std::clamp(static_cast<int>(std::floor(v + (Bayer(x, y) - 0.5) * 0.9)), 0, 3);
  return Shade(base, Tones[level]);
}

Col FloorAt(int, int) {
  // One flat colour. A trail strip is the whole floor picture squeezed into a few rows or
  // columns, so any texture, however faint, would be repeated along a sprite's path as streaks;
  // only a picture that is the same everywhere looks the same squeezed.
  return {40, 46, 60};
}

Image Floor(int w, int h) {
  Image img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.Set(x, y, FloorAt(x, y));
  return img;
}

}  // namespace quarn::art
