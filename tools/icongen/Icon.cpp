// Icon.cpp — paints the icon from shapes in a unit square, smoothed by sampling each pixel
// many times, so every size is drawn afresh rather than scaled from another.
#include "Icon.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quarn::icon {

namespace {

struct Rgba {
  double r = 0, g = 0, b = 0, a = 0;
};

double Sq(double v) { return v * v; }

// Inside the ellipse around (cx, cy) with radii rx, ry: the normalised offsets, or false.
bool InEllipse(double x, double y, double cx, double cy, double rx, double ry, double& nx,
               double& ny) {
  nx = (x - cx) / rx;
  ny = (y - cy) / ry;
  return nx * nx + ny * ny < 1;
}

// A rounded shape lit from the top left: base colour dimmed away from the light, with a sheen.
Rgba Lit(double r, double g, double b, double nx, double ny) {
  const double nz = std::sqrt(std::max(0.0, 1 - nx * nx - ny * ny));
  const double lambert = std::max(0.0, -0.45 * nx - 0.55 * ny + 0.70 * nz);
  const double sheen = std::pow(std::max(0.0, lambert), 24) * 0.6;
  const double f = 0.35 + 0.75 * lambert;
  auto c = [&](double v) { return std::min(255.0, v * f + 255 * sheen); };
  return {c(r), c(g), c(b), 1};
}

bool InRoundedSquare(double x, double y, double inset, double radius) {
  const double lo = inset + radius, hi = 1 - inset - radius;
  const double dx = std::max({lo - x, 0.0, x - hi}), dy = std::max({lo - y, 0.0, y - hi});
  return x >= inset && y >= inset && x <= 1 - inset && y <= 1 - inset &&
         dx * dx + dy * dy <= radius * radius;
}

double DistanceToSegment(double x, double y, double x0, double y0, double x1, double y1) {
  const double vx = x1 - x0, vy = y1 - y0;
  const double t = std::clamp(((x - x0) * vx + (y - y0) * vy) / (vx * vx + vy * vy), 0.0, 1.0);
  return std::hypot(x - x0 - t * vx, y - y0 - t * vy);
}

// The colour at a point of the unit square, y downwards.
Rgba SceneAt(double x, double y) {
  Rgba c;
  // The tile: the start screen's deep blue with its brighter frame.
  if (InRoundedSquare(x, y, 0.03, 0.17)) {
    c = InRoundedSquare(x, y, 0.065, 0.135)
            ? Rgba{10 + 20 * (1 - y), 10 + 20 * (1 - y), 100 + 70 * (1 - y), 1}
            : Rgba{50, 80, 220, 1};
  }
  double nx = 0, ny = 0;
  // Feet, behind the body.
  for (int side = -1; side <= 1; side += 2) {
    if (InEllipse(x, y, 0.5 + side * 0.15, 0.80, 0.11, 0.065, nx, ny)) {
      c = nx * nx + ny * ny > 0.72 ? Rgba{16, 14, 22, 1} : Lit(214, 96, 30, nx, ny);
    }
  }
  // Antenna with its glowing tip.
  if (DistanceToSegment(x, y, 0.5, 0.30, 0.60, 0.14) < 0.022) c = {30, 30, 40, 1};
  if (InEllipse(x, y, 0.615, 0.125, 0.06, 0.06, nx, ny)) {
    c = nx * nx + ny * ny > 0.7 ? Rgba{16, 14, 22, 1} : Lit(90, 230, 255, nx, ny);
  }
  // The body, outlined so that it reads at 16 pixels.
  if (InEllipse(x, y, 0.5, 0.55, 0.335, 0.305, nx, ny)) {
    c = nx * nx + ny * ny > 0.85 ? Rgba{16, 14, 22, 1} : Lit(255, 204, 44, nx, ny);
    // Eyes looking to the right, as the figure does on the board.
    for (int side = -1; side <= 1; side += 2) {
      const double ex = 0.5 + side * 0.12, ey = 0.49;
      if (Sq(x - ex) + Sq(y - ey) < Sq(0.08)) {
        c = Sq(x - ex - 0.035) + Sq(y - ey - 0.008) < Sq(0.042) ? Rgba{20, 20, 30, 1}
                                                                : Rgba{250, 250, 250, 1};
      }
    }
    // The smile: part of a ring below the eyes.
    const double ring = std::hypot(x - 0.5, y - 0.55);
    if (y > 0.64 && std::abs(ring - 0.15) < 0.02) c = {120, 50, 20, 1};
  }
  return c;
}

}  // namespace

std::vector<uint8_t> PaintIcon(int size) {
  constexpr int Samples = 6;  // per axis
  std::vector<uint8_t> out(static_cast<size_t>(size) * size * 4);
  for (int py = 0; py < size; ++py) {
    for (int px = 0; px < size; ++px) {
      double r = 0, g = 0, b = 0, a = 0;
      for (int sy = 0; sy < Samples; ++sy) {
        for (int sx = 0; sx < Samples; ++sx) {
          const Rgba s =
              SceneAt((px + (sx + 0.5) / Samples) / size, (py + (sy + 0.5) / Samples) / size);
          r += s.r * s.a, g += s.g * s.a, b += s.b * s.a, a += s.a;
        }
      }
      uint8_t* p = &out[(static_cast<size_t>(py) * size + px) * 4];
      auto byte = [](double v) {
        return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
      };
      p[0] = byte(a > 0 ? r / a : 0);
      p[1] = byte(a > 0 ? g / a : 0);
      p[2] = byte(a > 0 ? b / a : 0);
      p[3] = byte(255 * a / (Samples * Samples));
    }
  }
  return out;
}

bool SavePng(const std::string& path, const std::vector<uint8_t>& rgba, int size,
             std::string& why) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    why = "cannot create " + path;
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  bool ok = png && info;
  if (ok && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(size), static_cast<png_uint_32>(size), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < size; ++y) {
      png_write_row(png, &rgba[static_cast<size_t>(y) * size * 4]);
    }
    png_write_end(png, nullptr);
  } else {
    ok = false;
  }
  png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
  if (std::fclose(file) != 0) ok = false;
  if (!ok) why = "cannot write " + path;
  return ok;
}

}  // namespace quarn::icon
