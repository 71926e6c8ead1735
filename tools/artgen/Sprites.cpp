// Sprites.cpp — the pictures that move or animate: the player, potato, target and enemies.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "Pictures.h"

namespace quarn::art {

namespace {

constexpr double Pi = std::numbers::pi;

double Sq(double v) { return v * v; }

// Two round eyes looking toward (lookX, lookY).
void Eyes(Image& img, double cx, double cy, double gap, double r, double lookX, double lookY,
          Col white = {250, 250, 250}) {
  for (int side = -1; side <= 1; side += 2) {
    const double ex = cx + side * gap;
    FillShape(
        img, [&](double x, double y) { return Sq(x - ex) + Sq(y - cy) < r * r; },
        [&](int x, int y) {
          const double px = ex + lookX * r * 0.45, py = cy + lookY * r * 0.45;
          if (Sq(x + 0.5 - px) + Sq(y + 0.5 - py) < r * r * 0.3) return Col{20, 20, 30};
          return white;
        });
  }
}

}  // namespace

Image QuarnFigure() {
  Image img = Floor(40, 40);
  const Col body{255, 204, 44};
  const Col feet{214, 96, 30};
  for (int side = -1; side <= 1; side += 2)
    FillShape(
        img, [&](double x, double y) { return Sq((x - 20 - side * 7) / 5) + Sq((y - 34) / 3) < 1; },
        [&](int x, int y) {
          return Lit(feet, (x + 0.5 - 20 - side * 7) / 5, (y + 0.5 - 34) / 3, x, y);
        });
  // Antenna with a glowing cyan tip.
  Line(img, 20, 9, 23, 3, {30, 30, 40});
  FillShape(
      img, [](double x, double y) { return Sq(x - 24) + Sq(y - 3) < 5; },
      [](int x, int y) {
        return Lit({90, 230, 255}, (x + 0.5 - 24) / 2.3, (y + 0.5 - 3) / 2.3, x, y);
      });
  FillShape(
      img, [](double x, double y) { return Sq((x - 20) / 13.5) + Sq((y - 20) / 12.5) < 1; },
      [&](int x, int y) { return Lit(body, (x + 0.5 - 20) / 13.5, (y + 0.5 - 20) / 12.5, x, y); });
  Eyes(img, 20, 17, 5, 3.6, 0.5, 0.1);
  // A smile.
  for (int x = 16; x <= 24; ++x)
    img.Set(x, static_cast<int>(std::lround(25 + 0.06 * Sq(x - 20))), {120, 50, 20});
  return img;
}

Image HotPotato() {
  Image img(40, 80);
  for (int frame = 0; frame < 2; ++frame) {
    Image f = Floor(40, 40);
    const Col skin{196, 118, 52};
    auto potato = [](double x, double y) {
      const double a = std::atan2(y - 27, x - 20);
      const double wob = 1 + 0.07 * std::sin(3 * a + 1) + 0.04 * std::sin(5 * a);
      return Sq((x - 20) / (14 * wob)) + Sq((y - 27) / (9.5 * wob)) < 1;
    };
    FillShape(f, potato, [&](int x, int y) {
      const double nx = (x + 0.5 - 20) / 14, ny = (y + 0.5 - 27) / 9.5;
      const double heat = std::max(0.0, 1 - std::hypot(nx + 0.2, ny - 0.3) * 1.1);
      Col c = Mix(skin, {255, 84, 30}, heat * (frame == 0 ? 0.75 : 0.95));
      return Lit(c, nx, ny, x, y);
    });
    // The potato's eyes: dark dimples.
    for (auto [dx, dy] : {std::pair{13, 24}, {25, 30}, {21, 22}, {28, 25}}) {
      f.Set(dx, dy, {90, 46, 20});
      f.Set(dx + 1, dy, {120, 60, 26});
    }
    // Steam: three wisps rising and swaying, each ending in a puff; the other frame sways the
    // other way and has risen further.
    for (int k = 0; k < 3; ++k) {
      const double baseX = 12 + k * 8;
      const double phase = frame * Pi + k * 1.3;
      const int lift = frame * 2 + (k == 1 ? 2 : 0);
      double topX = baseX;
      for (int y = 19; y >= 7; --y) {
        const double t = (19 - y) / 12.0;
        const double x = baseX + 2.4 * std::sin(t * 4.5 + phase) * (0.3 + t);
        const double a = 0.95 * (1 - t * 0.55);
        const int px = static_cast<int>(std::lround(x));
        f.Blend(px, y - lift, {240, 244, 252}, a);
        f.Blend(px + 1, y - lift, {240, 244, 252}, a * 0.5);
        topX = x;
      }
      const double puffY = 6 - lift;
      for (int j = -2; j <= 2; ++j)
        for (int i = -2; i <= 2; ++i) {
          const double d = std::hypot(i, j) / (frame == 0 ? 1.6 : 2.2);
          if (d < 1)
            f.Blend(static_cast<int>(std::lround(topX)) + i, static_cast<int>(puffY) + j,
                    {236, 240, 250}, 0.55 * (1 - d * 0.6));
        }
    }
    img.Paste(f, 0, frame * 40);
  }
  return img;
}

Image TargetTile() {
  Image img(40, 80);
  for (int frame = 0; frame < 2; ++frame) {
    Image f = Floor(40, 40);
    const bool bright = frame == 1;
    // A dark pad with four corner lamps that light up on the bright frame.
    FillShape(
        f, [](double x, double y) { return x >= 3 && y >= 3 && x < 37 && y < 37; },
        [](int x, int y) {
          const double e = (x == 3 || y == 3) ? 1.3 : (x == 36 || y == 36) ? 0.65 : 1;
          return Shade({58, 62, 76}, e * (0.96 + Noise(x, y, 71) * 0.06));
        });
    for (auto [lx, ly] : {std::pair{6, 6}, {32, 6}, {6, 32}, {32, 32}})
      for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i)
          f.Set(lx + i, ly + j, bright ? Col{255, 236, 120} : Col{110, 90, 50});
    static constexpr Col Red{230, 40, 40}, White{245, 240, 235};
    const double grow = bright ? 1.5 : 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x) {
        const double d = std::hypot(x + 0.5 - 20, y + 0.5 - 20);
        const double outer = 12 + grow;
        if (d >= outer + 2.5) continue;
        if (d >= outer) {
          if (bright) f.Blend(x, y, {255, 120, 90}, 0.55);
          continue;
        }
        const int ring = static_cast<int>(d / (outer / 4));
        Col c = ring % 2 == 0 ? White : Red;
        if (ring == 3) c = Red;
        if (ring == 2) c = White;
        if (ring == 1) c = Red;
        if (ring == 0) c = White;
        if (bright) c = Shade(c, 1.12);
        f.Set(x, y, Lit(c, (x + 0.5 - 20) / (outer * 1.6), (y + 0.5 - 20) / (outer * 1.6), x, y));
      }
    img.Paste(f, 0, frame * 40);
  }
  return img;
}

Image Enemy(int kind) {
  Image img(40, 160);
  for (int frame = 0; frame < 4; ++frame) {
    Image f = Floor(40, 40);
    if (kind == 1) {
      // A spiked mine that turns as it rolls.
      const double turn = frame * Pi / 16;
      auto spikes = [&](double x, double y) {
        const double r = std::hypot(x - 20, y - 20);
        if (r >= 17) return false;
        double a = std::atan2(y - 20, x - 20) - turn;
        a = std::remainder(a, Pi / 4);
        return std::abs(a) < (17 - r) / 8 * 0.42;
      };
      FillShape(f, spikes, [&](int x, int y) {
        return Lit({176, 180, 192}, (x + 0.5 - 20) / 17, (y + 0.5 - 20) / 17, x, y);
      });
      FillShape(
          f, [](double x, double y) { return Sq(x - 20) + Sq(y - 20) < 10.5 * 10.5; },
          [](int x, int y) {
            return Lit({214, 40, 36}, (x + 0.5 - 20) / 10.5, (y + 0.5 - 20) / 10.5, x, y);
          });
      // Angry slanted eyes.
      for (int side = -1; side <= 1; side += 2)
        for (int i = 0; i < 4; ++i) {
          const int x = 20 + side * (2 + i), y = 18 + (i > 1 ? 0 : 1) - (i == 3);
          f.Set(x, y, {255, 236, 80});
          f.Set(x, y + 1, {255, 236, 80});
        }
    } else if (kind == 2) {
      // A slime that squashes and stretches as it hops.
      static constexpr double Rx[4] = {14.5, 13, 12, 13.5};
      static constexpr double Ry[4] = {11, 13, 14.5, 12};
      const double rx = Rx[frame], ry = Ry[frame];
      const double cy = 35 - ry;
      auto slime = [&](double x, double y) {
        if (y > 35) return false;
        if (y > cy) return std::abs(x - 20) < rx * (1 - 0.15 * Sq((y - cy) / ry));
        return Sq((x - 20) / rx) + Sq((y - cy) / ry) < 1;
      };
      FillShape(f, slime, [&](int x, int y) {
        const Col c = Mix({80, 210, 70}, {40, 140, 50}, std::clamp((y - cy) / (ry + 1), 0.0, 1.0));
        return Lit(c, (x + 0.5 - 20) / rx, std::min(0.6, (y + 0.5 - cy) / ry), x, y);
      });
      Eyes(f, 20, cy + 1, 5, 3.2, 0, 0.4, {240, 255, 230});
      f.Set(13, static_cast<int>(cy) - 4, {220, 255, 210});
      f.Set(14, static_cast<int>(cy) - 5, {220, 255, 210});
    } else {
      // A floating ghost with a rippling hem.
      const double bob = frame == 1 ? -1 : frame == 3 ? 1 : 0;
      const double phase = frame * Pi / 2;
      auto ghost = [&](double x, double y) {
        y -= bob;
        if (std::abs(x - 20) >= 13) return false;
        if (y < 17) return Sq(x - 20) + Sq(y - 17) < 13 * 13;
        const double hem = 33 + 2.2 * std::sin((x - 7) * 0.75 + phase);
        return y < hem;
      };
      FillShape(f, ghost, [&](int x, int y) {
        return Lit({110, 176, 255}, (x + 0.5 - 20) / 14, std::min(0.5, (y + 0.5 - bob - 17) / 14),
                   x, y);
      });
      // One large eye that glances around.
      const double lookX = std::cos(phase) * 0.6, lookY = std::sin(phase) * 0.4;
      FillShape(
          f, [&](double x, double y) { return Sq((x - 20) / 6) + Sq((y - 17 - bob) / 5) < 1; },
          [&](int x, int y) {
            if (Sq(x + 0.5 - 20 - lookX * 3) + Sq(y + 0.5 - 17 - bob - lookY * 2.5) < 7.5)
              return Col{170, 20, 60};
            return Col{250, 250, 255};
          });
    }
    img.Paste(f, 0, frame * 40);
  }
  return img;
}

}  // namespace quarn::art
