#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// A small vector-drawing toolkit for the colour artwork: shapes are signed distance
// functions, so one shape gives its fill, its outline and its soft shadow alike, all
// anti-aliased.
namespace datagen {

struct Colour {
  std::uint8_t r = 0, g = 0, b = 0;
};

Colour Mix(Colour from, Colour to, float amount);
inline Colour Lighter(Colour c, float amount) { return Mix(c, {255, 255, 255}, amount); }
inline Colour Darker(Colour c, float amount) { return Mix(c, {0, 0, 0}, amount); }

// Straight (not premultiplied) colour with coverage, so that pointer pictures keep their
// transparent parts; an image made with a background colour is opaque throughout.
class Image {
 public:
  Image(int width, int height);  // fully transparent
  Image(int width, int height, Colour background);

  int width() const { return width_; }
  int height() const { return height_; }
  Colour At(int x, int y) const { return colour_[Index(x, y)]; }
  float AlphaAt(int x, int y) const { return alpha_[Index(x, y)]; }
  void Set(int x, int y, Colour c) {
    colour_[Index(x, y)] = c;
    alpha_[Index(x, y)] = 1.0f;
  }
  // Lays colour c over the pixel with the given coverage (0 to 1).
  void Blend(int x, int y, Colour c, float coverage);

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }
  int width_, height_;
  std::vector<Colour> colour_;
  std::vector<float> alpha_;
};

struct Point {
  float x = 0, y = 0;
};

// Distance in pixels from a point to the shape's edge: negative inside. The box bounds the
// inside, so drawing never has to visit the whole image.
struct Shape {
  std::function<float(float x, float y)> distance;
  float left = 0, top = 0, right = 0, bottom = 0;
};

Shape Circle(float cx, float cy, float radius);
Shape Ellipse(float cx, float cy, float rx, float ry);
Shape Box(float left, float top, float right, float bottom, float corner_radius = 0);
Shape Capsule(Point from, Point to, float radius);  // a thick line with round ends
Shape Polygon(std::vector<Point> corners);
// A curve made of thick round-ended pieces through a quadratic Bezier curve.
Shape Curve(Point from, Point control, Point to, float radius);
// The part of a circle's ring from one angle to the other (degrees, clockwise from east,
// since y grows downwards), with round ends.
Shape Arc(float cx, float cy, float radius, float from_degrees, float to_degrees, float width);

Shape Union(Shape a, Shape b);
Shape Intersection(Shape a, Shape b);
Shape Subtract(Shape a, Shape cut);
Shape Grown(Shape s, float by);    // negative shrinks
Shape Band(Shape s, float width);  // the outline ring of a shape, centred on its edge
Shape Moved(Shape s, float dx, float dy);
Shape Rotated(Shape s, float cx, float cy, float degrees);

using Paint = std::function<Colour(float x, float y)>;
Paint VerticalGradient(float top, float bottom, Colour top_colour, Colour bottom_colour);
Paint RadialGradient(float cx, float cy, float radius, Colour inner, Colour outer);

// `softness` widens the anti-aliased edge into a blur (shadows, glows).
void Fill(Image& image, const Shape& shape, const Paint& paint, float opacity = 1,
          float softness = 1);
void Fill(Image& image, const Shape& shape, Colour colour, float opacity = 1, float softness = 1);
// The house style: a thick dark outline all round a filled shape.
void FillOutlined(Image& image, const Shape& shape, const Paint& paint, Colour outline,
                  float outline_width);
void FillOutlined(Image& image, const Shape& shape, Colour colour, Colour outline,
                  float outline_width);
// A soft dark shadow of the shape, offset down and to the right.
void DropShadow(Image& image, const Shape& shape, float offset, float blur, float opacity);

// Area-averaged copy at another size, for thumbnails and the contact sheet.
Image Scaled(const Image& source, int width, int height);
void Paste(Image& target, const Image& source, int left, int top);

}  // namespace datagen
