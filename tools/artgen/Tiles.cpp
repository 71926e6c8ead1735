// Tiles.cpp — the still board tiles: floor, walls, doors, keys, boxes, time and laser doors.
#include <algorithm>
#include <cmath>

#include "Pictures.h"

namespace quarn::art {

namespace {

constexpr Col Ink{16, 14, 22};
constexpr Col Steel{112, 122, 140};

bool InRect(double x, double y, double x0, double y0, double x1, double y1) {
  return x >= x0 && x < x1 && y >= y0 && y < y1;
}

// A bevelled metal or wooden plate: light top and left edge, dark bottom and right.
void Plate(Image& img, int x0, int y0, int w, int h, Col base, int seed) {
  FillShape(
      img, [&](double x, double y) { return InRect(x, y, x0, y0, x0 + w, y0 + h); },
      [&](int x, int y) {
        double f = 0.95 + Noise(x, y, seed) * 0.1;
        if (y == y0 || x == x0) f = 1.3;
        if (y == y0 + h - 1 || x == x0 + w - 1) f = 0.7;
        return Shade(base, f);
      });
}

void Rivet(Image& img, int x, int y) {
  img.Set(x, y, Shade(Steel, 1.5));
  img.Set(x + 1, y + 1, Shade(Steel, 0.5));
}

// A wooden crate with a diagonal brace.
void Crate(Image& img, int x0, int y0, int w, int h) {
  const Col wood{178, 122, 62};
  FillShape(
      img, [&](double x, double y) { return InRect(x, y, x0, y0, x0 + w, y0 + h); },
      [&](int x, int y) {
        const int lx = x - x0, ly = y - y0;
        const bool rim = lx < 2 || ly < 2 || lx >= w - 2 || ly >= h - 2;
        const double diag = std::abs(lx * (h - 1.0) / (w - 1.0) - ly);
        if (rim)
          return Shade(wood, (lx == 0 || ly == 0) ? 1.3 : (lx >= w - 1 || ly >= h - 1) ? 0.6 : 1.1);
        if (diag < 1.5) return Shade(wood, diag < 0.75 ? 1.2 : 0.85);
        const double grain = ((ly % 4) == 0) ? 0.78 : 0.93 + Noise(x, y / 4, 5) * 0.1;
        return Shade(wood, grain);
      });
}

}  // namespace

Image SpaceTile() { return Floor(40, 40); }

Image WallTile() {
  Image img(40, 40);
  const Col stone{96, 108, 134};
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      const int row = y / 10, ly = y % 10;
      const int sx = x + (row % 2) * 10, lx = sx % 20;
      if (ly == 9 || lx == 19) {
        img.Set(x, y, {36, 40, 54});
        continue;
      }
      const double brick = 0.9 + Noise(sx / 20 % 2, row, 3) * 0.16;
      double f = brick * (0.94 + Noise(x, y, 4) * 0.1);
      if (ly == 0)
        f *= 1.3;
      else if (lx == 0)
        f *= 1.14;
      else if (ly == 8)
        f *= 0.72;
      else if (lx == 18)
        f *= 0.8;
      img.Set(x, y, Shade(stone, f));
    }
  return img;
}

Image AirDoorTile() {
  Image img = Floor(40, 40);
  const Col rim{176, 214, 236};
  const Col air{120, 220, 255};
  FillShape(
      img, [](double x, double y) { return InRect(x, y, 3, 3, 37, 37); },
      [&](int x, int y) {
        if (x < 5 || y < 5 || x > 34 || y > 34) return Shade(rim, (x < 5 || y < 5) ? 1.15 : 0.75);
        return Mix(FloorAt(x, y), air, 0.28 + 0.1 * (y - 5) / 30.0);
      });
  // Three gusts of wind blowing across the doorway.
  for (int k = 0; k < 3; ++k) {
    const double cy = 12 + k * 8;
    for (int x = 8; x <= 31; ++x) {
      const double y = cy + 2.4 * std::sin(x * 0.42 + k * 1.7);
      const double fade = 1 - std::abs(x - 19.5) / 16.0;
      img.Blend(x, static_cast<int>(std::lround(y)), {240, 252, 255}, 0.55 + 0.45 * fade);
    }
  }
  return img;
}

namespace {

// The frame both slam-door pictures share: hazard-striped posts and a lintel with a lamp.
void SlamFrame(Image& img, Col lamp) {
  for (int side = 0; side < 2; ++side) {
    const int x0 = side == 0 ? 1 : 32;
    FillShape(
        img, [&](double x, double y) { return InRect(x, y, x0, 1, x0 + 7, 39); },
        [&](int x, int y) {
          const bool stripe = ((x + y) / 4) % 2 == 0;
          const Col c = stripe ? Col{236, 190, 40} : Col{40, 36, 40};
          const int lx = x - x0;
          return Shade(c, lx == 0 ? 1.2 : lx == 6 ? 0.7 : 1.0);
        });
  }
  Plate(img, 1, 1, 38, 6, Steel, 21);
  FillShape(
      img, [](double x, double y) { return (x - 20) * (x - 20) + (y - 4) * (y - 4) < 6.5; },
      [&](int x, int y) { return Lit(lamp, (x + 0.5 - 20) / 2.6, (y + 0.5 - 4) / 2.6, x, y); });
}

}  // namespace

Image SlamDoorTile() {
  Image img = Floor(40, 40);
  // The leaves stand folded into the posts: only their edges show.
  Rect(img, 8, 7, 2, 32, Shade(Steel, 0.7));
  Rect(img, 30, 7, 2, 32, Shade(Steel, 0.7));
  SlamFrame(img, {70, 240, 90});
  // A floor arrow: the way through.
  for (int i = 0; i < 5; ++i) {
    Rect(img, 16 + i, 18 + i, 1, 11 - 2 * i, {120, 220, 140});
  }
  return img;
}

Image SlamLockTile() {
  Image img = Floor(40, 40);
  for (int side = 0; side < 2; ++side) {
    const int x0 = side == 0 ? 8 : 20;
    Plate(img, x0, 7, 12, 32, Shade(Steel, 0.85), 22 + side);
    for (int y = 11; y < 38; y += 8) Rivet(img, x0 + (side == 0 ? 2 : 8), y);
  }
  Rect(img, 19, 7, 2, 32, {20, 20, 28});
  Rect(img, 12, 20, 16, 3, {150, 40, 36});
  SlamFrame(img, {255, 60, 50});
  return img;
}

Image ExitTile() {
  Image img(40, 40);
  const Col frame{96, 108, 134};
  auto arch = [](double x, double y, double inset) {
    const double cx = 20, r = 14 - inset;
    if (y >= 20) return x >= cx - r && x < cx + r && y < 40 - inset * 0.2;
    return (x - cx) * (x - cx) + (y - 20) * (y - 20) < r * r;
  };
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) img.Set(x, y, Shade(frame, 0.8 + Noise(x, y, 31) * 0.12));
  FillShape(
      img, [&](double x, double y) { return arch(x, y, -2); },
      [&](int x, int y) {
        return Shade({200, 210, 226}, 0.85 + 0.25 * (x < 20) + Noise(x, y, 9) * 0.05);
      });
  FillShape(
      img, [&](double x, double y) { return arch(x, y, 0.5); },
      [&](int x, int y) {
        const double t = std::clamp((y - 6) / 34.0, 0.0, 1.0);
        const Col c = Mix({20, 90, 40}, {150, 255, 120}, t + (Bayer(x, y) - 0.5) * 0.15);
        return c;
      },
      false);
  // A white arrow up: out of the zone.
  for (int i = 0; i < 7; ++i) Rect(img, 20 - i, 12 + i, 2 * i + 1, 1, {250, 255, 240});
  Rect(img, 17, 19, 7, 12, {250, 255, 240});
  Rect(img, 17, 31, 7, 1, {60, 150, 70});
  return img;
}

Image LockedDoorTile() {
  Image img(40, 40);
  const Col wood{132, 78, 40};
  Plate(img, 0, 0, 40, 40, {96, 108, 134}, 41);
  FillShape(
      img, [](double x, double y) { return InRect(x, y, 4, 3, 36, 39); },
      [&](int x, int y) {
        const int plank = (x - 4) / 8;
        if ((x - 4) % 8 == 0) return Shade(wood, 0.6);
        return Shade(wood, 0.9 + Noise(plank, y / 3, 42) * 0.2 + ((x - 4) % 8 == 1 ? 0.2 : 0));
      });
  for (int band : {8, 30}) {
    Plate(img, 4, band, 32, 3, {70, 72, 84}, 43);
    Rivet(img, 7, band + 1);
    Rivet(img, 31, band + 1);
  }
  const Col gold{240, 190, 40};
  FillShape(
      img, [](double x, double y) { return InRect(x, y, 15, 15, 25, 27); },
      [&](int x, int y) { return Lit(gold, (x + 0.5 - 20) / 6, (y + 0.5 - 21) / 7, x, y); });
  FillShape(
      img,
      [](double x, double y) {
        return (x - 20) * (x - 20) + (y - 19.5) * (y - 19.5) < 4 || InRect(x, y, 19, 19, 21, 25);
      },
      [](int, int) {
        return Col{20, 14, 10};
      },
      false);
  return img;
}

Image KeyTile() {
  Image img = Floor(40, 40);
  const Col gold{246, 196, 48};
  auto key = [](double x, double y) {
    const double d = std::hypot(x - 12, y - 20);
    if (d < 7.5 && d > 3) return true;
    if (InRect(x, y, 18, 18, 35, 22)) return true;
    return InRect(x, y, 27, 22, 30, 27) || InRect(x, y, 32, 22, 35, 29);
  };
  FillShape(img, key, [&](int x, int y) {
    const double ny = (y + 0.5 - 20) / 8;
    const double nx = x < 19 ? (x + 0.5 - 12) / 8 : -0.2;
    return Lit(gold, nx, x < 19 ? ny : ny * 2.5, x, y);
  });
  return img;
}

Image BoxesTile() {
  Image img = Floor(40, 40);
  Crate(img, 2, 21, 18, 17);
  Crate(img, 20, 21, 18, 17);
  Crate(img, 11, 4, 18, 17);
  return img;
}

Image BoxTile() {
  Image img = Floor(40, 40);
  Crate(img, 5, 5, 30, 30);
  return img;
}

Image TimeTile() {
  Image img = Floor(40, 40);
  const Col glass{170, 230, 255};
  const Col sand{250, 200, 70};
  auto bulb = [](double x, double y) {
    if (y < 7 || y >= 33) return false;
    const double half = 3 + std::abs(y - 20) * 0.72;
    return std::abs(x - 20) < std::min(half, 10.0);
  };
  FillShape(img, bulb, [&](int x, int y) {
    const double half = 3 + std::abs(y + 0.5 - 20) * 0.72;
    const bool sandTop = y >= 13 && y < 19 && std::abs(x + 0.5 - 20) < half - 1.5;
    const bool sandBottom = y >= 26 && std::abs(x + 0.5 - 20) < half - 1.5;
    const bool stream = x >= 19 && x < 21 && y >= 19 && y < 26;
    if (sandTop || sandBottom || stream) return Lit(sand, (x + 0.5 - 20) / 10, 0.1, x, y);
    Col c = Mix(FloorAt(x, y), glass, 0.45);
    if (x + 0.5 < 20 - half + 3 && (y < 16 || y > 24)) c = Mix(c, {255, 255, 255}, 0.5);
    return c;
  });
  Plate(img, 7, 4, 26, 4, {150, 96, 50}, 51);
  Plate(img, 7, 32, 26, 4, {150, 96, 50}, 52);
  return img;
}

Image LaserDoors(int group) {
  static constexpr Col Beam[3] = {{255, 64, 52}, {80, 244, 96}, {200, 100, 255}};
  const Col beam = Beam[group];
  Image img(40, 60);
  img.Paste(Floor(40, 40), 0, 10);
  // The emitter under the wall above (rows 0..9) and the one on the wall below (rows 50..59).
  for (int cap = 0; cap < 2; ++cap) {
    const int y0 = cap == 0 ? 0 : 50;
    for (int y = y0; y < y0 + 10; ++y)
      for (int x = 0; x < 40; ++x) {
        const int ly = y - y0;
        double f = 0.95 + Noise(x, y, 61) * 0.08;
        if (ly == 0) f = 1.25;
        if (ly == 9) f = 0.6;
        img.Set(x, y, Shade({84, 90, 104}, f));
      }
    // The lens faces the beam: at the bottom of the upper cap, at the top of the lower one.
    const int lensY = cap == 0 ? 5 : 50;
    FillShape(
        img, [&](double x, double y) { return InRect(x, y, 12, lensY, 28, lensY + 5); },
        [&](int x, int) {
          const double edge = std::abs(x + 0.5 - 20) / 8;
          return Mix(Shade(beam, 1.45), beam, edge);
        },
        false);
    Rect(img, 10, lensY + (cap == 0 ? -1 : 5), 20, 1, {30, 30, 40});
    Rivet(img, 3, y0 + 3);
    Rivet(img, 35, y0 + 3);
  }
  for (int y = 10; y < 50; ++y)
    for (int x = 0; x < 40; ++x) {
      const double d = std::abs(x + 0.5 - 20);
      const double wobble = 0.5 + 0.5 * std::sin(y * 0.9 + group);
      if (d < 1.5)
        img.Set(x, y, Shade(beam, 1.7));
      else if (d < 3.5)
        img.Set(x, y, Shade(beam, 1.15));
      else if (d < 10)
        img.Blend(x, y, beam, (10 - d) / 6.5 * (0.55 + 0.25 * wobble) - (Bayer(x, y) - 0.5) * 0.2);
    }
  return img;
}

}  // namespace quarn::art
