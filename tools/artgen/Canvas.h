// Canvas.h — the small pixel-art toolkit every picture of the generator is painted with.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quarn::art {

struct Col {
  uint8_t r = 0, g = 0, b = 0;
};

// Mixes a toward b by t (0..1).
Col Mix(Col a, Col b, double t);
// Scales the brightness; above 1 moves toward white so highlights keep their hue.
Col Shade(Col c, double f);

class Image {
 public:
  Image(int w, int h, Col fill = {});
  int W() const { return w_; }
  int H() const { return h_; }
  bool In(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
  Col Get(int x, int y) const { return px_[y * w_ + x]; }
  void Set(int x, int y, Col c) {
    if (In(x, y)) px_[y * w_ + x] = c;
  }
  // Mixes c over the pixel with opacity a (0..1).
  void Blend(int x, int y, Col c, double a);
  // Copies other with its top-left corner at (x, y).
  void Paste(const Image& other, int x, int y);
  // Writes a 24-bit uncompressed Windows bitmap; false when the file cannot be written.
  bool SaveBmp(const std::string& path) const;

 private:
  int w_, h_;
  std::vector<Col> px_;
};

// A point test at pixel centres, and a colour for the pixels inside.
using Inside = std::function<bool(double x, double y)>;
using Paint = std::function<Col(int x, int y)>;

// Fills every pixel whose centre is inside, then rings the shape with a one-pixel outline
// (pass outline = false to skip it). The outline is what keeps small tiles readable.
void FillShape(Image& img, const Inside& inside, const Paint& paint, bool outline = true,
               Col outlineCol = {16, 14, 22});

void Rect(Image& img, int x, int y, int w, int h, Col c);
void Line(Image& img, int x0, int y0, int x1, int y1, Col c);

// Deterministic value noise in 0..1 for texture.
double Noise(int x, int y, int seed);
// 4x4 ordered dither threshold in 0..1.
double Bayer(int x, int y);

// Quantised lighting of a sphere-like shape: the normal comes from (nx, ny) in -1..1 across the
// shape; the light falls from the top left. Four tones with ordered dithering between them.
Col Lit(Col base, double nx, double ny, int x, int y);

// The floor every object stands on: fine grain only, so that scaled trail strips leave no seams.
Col FloorAt(int x, int y);
Image Floor(int w, int h);

}  // namespace quarn::art
