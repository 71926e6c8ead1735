// Surface.cpp — scaled copies, exclusive-or lines and circles, and bitmap output on SDL surfaces.
#include "Surface.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <vector>

#include "MappedPixels.h"

namespace quarn {

namespace {

Uint32* Row(SDL_Surface& s, int y) {
  return reinterpret_cast<Uint32*>(static_cast<Uint8*>(s.pixels) +
                                   static_cast<ptrdiff_t>(y) * s.pitch);
}
const Uint32* Row(const SDL_Surface& s, int y) {
  return reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s.pixels) +
                                         static_cast<ptrdiff_t>(y) * s.pitch);
}

void XorPixel(SDL_Surface& s, int x, int y, Uint32 rgb) {
  if (x >= 0 && y >= 0 && x < s.w && y < s.h) Row(s, y)[x] ^= rgb;
}

// The first pixel whose centre lies at or past the coordinate, kept in range of an int however
// far off the surface the coordinate lies.
// A surface of this many bytes or more has mapped pixels (a board of about 30 x 20 cells); the
// pictures and small boards are allocated as SDL allocates them.
constexpr size_t MappedFrom = size_t{4} << 20;
// What userdata of a surface with mapped pixels points at.
char MappedMark;

int FirstCentreAtOrAfter(double v) {
  return static_cast<int>(std::clamp(std::ceil(v - 0.5), -1e9, 1e9));
}

}  // namespace

SurfacePtr MakeSurface(int width, int height) {
  // A zone's board surface is up to 6000 x 5200 pixels (120 MB), of which a viewport of about
  // 800 x 480 shows. Allocated and cleared, every page of it would be taken at the opening.
  const size_t pitch = static_cast<size_t>(std::max(width, 0)) * 4;
  const size_t bytes = pitch * static_cast<size_t>(std::max(height, 0));
  if (bytes >= MappedFrom && pitch <= static_cast<size_t>(INT32_MAX)) {
    if (void* pixels = MapPixels(bytes)) {
      SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(pixels, width, height, 32,
                                                          static_cast<int>(pitch), BoardPixelFormat);
      if (s) {
        s->userdata = &MappedMark;
        return SurfacePtr(s);
      }
      UnmapPixels(pixels, bytes);
    }
  }
  SurfacePtr s(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, BoardPixelFormat));
  if (s) SDL_FillRect(s.get(), nullptr, 0);
  return s;
}

void FreeSurface(SDL_Surface* s) {
  if (!s) return;
  if (s->userdata == &MappedMark) {
    void* pixels = s->pixels;
    const size_t bytes = static_cast<size_t>(s->pitch) * static_cast<size_t>(s->h);
    SDL_FreeSurface(s);  // the pixels are the mapping's, which SDL leaves alone
    UnmapPixels(pixels, bytes);
    return;
  }
  SDL_FreeSurface(s);
}

void BlackenSurface(SDL_Surface& s) {
  if (s.userdata == &MappedMark &&
      ZeroMappedPixels(s.pixels, static_cast<size_t>(s.pitch) * static_cast<size_t>(s.h))) {
    return;
  }
  SDL_FillRect(&s, nullptr, 0);
}

SurfacePtr ToBoardFormat(SDL_Surface* picture) {
  return SurfacePtr(SDL_ConvertSurfaceFormat(picture, BoardPixelFormat, 0));
}

// A fractional destination becomes pixels by their centres: the copy covers exactly the pixels
// whose centre (i + 0.5) lies in [X, X + W) across and [Y, Y + H) down, and each takes the source
// pixel under its centre. Two copies that meet at a fractional edge therefore never overlap or
// leave a gap, and a 40 x 40 copy at a whole position is one to one.
PixelBox CoveredPixels(DestRect to) {
  return PixelBox{FirstCentreAtOrAfter(to.X), FirstCentreAtOrAfter(to.Y),
                  FirstCentreAtOrAfter(to.X + to.W), FirstCentreAtOrAfter(to.Y + to.H)};
}

void ScaledCopy(const SDL_Surface& src, SourceRect from, SDL_Surface& dst, DestRect to) {
  ScaledCopy(src, from, dst, to, PixelBox{0, 0, dst.w, dst.h});
}

void ScaledCopy(const SDL_Surface& src, SourceRect from, SDL_Surface& dst, DestRect to,
                const PixelBox& clip) {
  if (from.W <= 0 || from.H <= 0 || to.W <= 0 || to.H <= 0) return;
  const PixelBox covered = CoveredPixels(to);
  const int x0 = std::max({0, clip.X0, covered.X0});
  const int x1 = std::min({dst.w, clip.X1, covered.X1});
  const int y0 = std::max({0, clip.Y0, covered.Y0});
  const int y1 = std::min({dst.h, clip.Y1, covered.Y1});
  if (x0 >= x1 || y0 >= y1) return;
  const double sx = from.W / to.W, sy = from.H / to.H;
  // A one-to-one copy at a whole position (every cell of the board) moves whole rows.
  const int firstX = from.X + x0 - static_cast<int>(to.X);
  const int firstY = from.Y + y0 - static_cast<int>(to.Y);
  if (sx == 1 && sy == 1 && to.X == std::floor(to.X) && to.Y == std::floor(to.Y) && firstX >= 0 &&
      firstY >= 0 && firstX + (x1 - x0) <= src.w && firstY + (y1 - y0) <= src.h) {
    for (int y = y0; y < y1; ++y) {
      const Uint32* in = Row(src, firstY + (y - y0)) + firstX;
      Uint32* out = Row(dst, y) + x0;
      for (int i = 0; i < x1 - x0; ++i) out[i] = in[i] & 0xFFFFFFu;
    }
    return;
  }
  // The column map is kept between copies: figures are copied at fractional places every tick.
  thread_local std::vector<int> columns;
  columns.resize(static_cast<size_t>(x1 - x0));
  for (int x = x0; x < x1; ++x) {
    const int c = std::clamp(static_cast<int>(std::floor((x + 0.5 - to.X) * sx)), 0, from.W - 1);
    columns[static_cast<size_t>(x - x0)] = from.X + c;
  }
  for (int y = y0; y < y1; ++y) {
    const int r = std::clamp(static_cast<int>(std::floor((y + 0.5 - to.Y) * sy)), 0, from.H - 1);
    const int srcY = from.Y + r;
    Uint32* out = Row(dst, y);
    if (srcY < 0 || srcY >= src.h) {
      std::fill(out + x0, out + x1, 0u);
      continue;
    }
    const Uint32* in = Row(src, srcY);
    for (int x = x0; x < x1; ++x) {
      const int srcX = columns[static_cast<size_t>(x - x0)];
      out[x] = (srcX >= 0 && srcX < src.w) ? (in[srcX] & 0xFFFFFFu) : 0u;
    }
  }
}

void ScaledCopy(const SDL_Surface& src, SDL_Surface& dst, DestRect to) {
  ScaledCopy(src, SourceRect{0, 0, src.w, src.h}, dst, to);
}

void XorLine(SDL_Surface& dst, double x1, double y1, double x2, double y2, Uint32 rgb) {
  // Clip to a band one pixel around the surface first, so a far-flung line costs nothing; the
  // same figure is clipped the same way both times, so the second drawing still undoes the first.
  const double minX = -1, minY = -1, maxX = dst.w, maxY = dst.h;
  double t0 = 0, t1 = 1;
  const double dx = x2 - x1, dy = y2 - y1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x1 - minX, maxX - x1, y1 - minY, maxY - y1};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0)
      t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
  }
  if (t0 > t1) return;
  int ax = static_cast<int>(std::floor(x1 + t0 * dx)),
      ay = static_cast<int>(std::floor(y1 + t0 * dy));
  const int bx = static_cast<int>(std::floor(x1 + t1 * dx)),
            by = static_cast<int>(std::floor(y1 + t1 * dy));
  // Bresenham visits every pixel once, which the exclusive-or needs.
  const int ex = std::abs(bx - ax), ey = -std::abs(by - ay);
  const int stepX = ax < bx ? 1 : -1, stepY = ay < by ? 1 : -1;
  int err = ex + ey;
  for (;;) {
    XorPixel(dst, ax, ay, rgb);
    if (ax == bx && ay == by) break;
    const int e2 = 2 * err;
    if (e2 >= ey) {
      err += ey;
      ax += stepX;
    }
    if (e2 <= ex) {
      err += ex;
      ay += stepY;
    }
  }
}

void XorCircle(SDL_Surface& dst, double cx, double cy, double radius, Uint32 rgb) {
  const int x0 = static_cast<int>(std::floor(cx)), y0 = static_cast<int>(std::floor(cy));
  const int r = static_cast<int>(std::lround(std::max(0.0, radius)));
  if (r == 0) {
    XorPixel(dst, x0, y0, rgb);
    return;
  }
  // Wholly off the surface: nothing to draw.
  if (x0 + r < 0 || y0 + r < 0 || x0 - r >= dst.w || y0 - r >= dst.h) return;
  // Midpoint circle over one octant, mirrored eight ways. Where mirrors coincide (on the axes and
  // the diagonals) each pixel is XORed once only, or the two would cancel out.
  int x = 0, y = r, d = 1 - r;
  while (x <= y) {
    if (x == 0) {
      XorPixel(dst, x0, y0 + y, rgb);
      XorPixel(dst, x0, y0 - y, rgb);
      XorPixel(dst, x0 + y, y0, rgb);
      XorPixel(dst, x0 - y, y0, rgb);
    } else if (x == y) {
      XorPixel(dst, x0 + x, y0 + y, rgb);
      XorPixel(dst, x0 - x, y0 + y, rgb);
      XorPixel(dst, x0 + x, y0 - y, rgb);
      XorPixel(dst, x0 - x, y0 - y, rgb);
    } else {
      for (int sx : {-1, 1})
        for (int sy : {-1, 1}) {
          XorPixel(dst, x0 + sx * x, y0 + sy * y, rgb);
          XorPixel(dst, x0 + sx * y, y0 + sy * x, rgb);
        }
    }
    ++x;
    if (d < 0) {
      d += 2 * x + 1;
    } else {
      --y;
      d += 2 * (x - y) + 1;
    }
  }
}

std::optional<std::string> SaveBmp24(const SDL_Surface& surface, const std::string& path) {
  SurfacePtr rgb(
      SDL_ConvertSurfaceFormat(const_cast<SDL_Surface*>(&surface), SDL_PIXELFORMAT_BGR24, 0));
  if (!rgb) return path + ": " + SDL_GetError();
  if (SDL_SaveBMP(rgb.get(), path.c_str()) != 0)
    return path + ": cannot write (" + SDL_GetError() + ")";
  return std::nullopt;
}

}  // namespace quarn
