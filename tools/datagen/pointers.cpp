#include "pointers.h"

#include "icon_file.h"
#include "raster.h"

namespace datagen {
namespace {

constexpr Colour kBlack{0, 0, 0}, kWhite{255, 255, 255};
constexpr Colour kRed{220, 30, 30}, kGlass{190, 230, 255};
constexpr Colour kBlue{30, 100, 240}, kLightBlue{120, 190, 255}, kGrey{150, 150, 160};
constexpr Colour kYellow{255, 210, 0}, kWood{240, 190, 130}, kPink{255, 130, 170};
constexpr Colour kMetal{200, 200, 210};

// Pointers are small: a one-pixel black edge keeps them readable on any picture.
void Outlined(Image& img, const Shape& s, Colour c, float edge = 1.2f) {
  Fill(img, Grown(s, edge), kBlack);
  Fill(img, s, c);
}

}  // namespace

std::vector<std::uint8_t> MakeArrowCursor() {
  Image img(32, 32);
  const Shape arrow = Polygon({{0.5f, 0.5f},
                               {0.5f, 19.5f},
                               {5, 15.5f},
                               {8.5f, 23},
                               {11.5f, 21.5f},
                               {8.5f, 14.5f},
                               {14, 14.5f}});
  Fill(img, Grown(arrow, 1.3f), kWhite);
  Fill(img, arrow, kBlack);
  return EncodeCursor16(img, {kBlack, kWhite}, 0, 0);
}

std::vector<std::uint8_t> MakeHandCursor() {
  Image img(32, 32);
  Shape hand = Capsule({12.5f, 3.8f}, {12.5f, 15}, 2.7f);
  hand = Union(hand, Capsule({17.5f, 12}, {17.5f, 17}, 2.5f));
  hand = Union(hand, Capsule({22, 13}, {22, 18}, 2.4f));
  hand = Union(hand, Capsule({26, 15}, {26, 20}, 2.2f));
  hand = Union(hand, Capsule({9.5f, 21}, {6, 16.5f}, 2.4f));
  hand = Union(hand, Box(9.5f, 14, 28, 28.5f, 4.5f));
  Outlined(img, hand, kWhite);
  for (const float x : {15.1f, 19.9f, 24.2f})
    Fill(img, Capsule({x, 14}, {x, 18.5f}, 0.55f), kBlack);
  return EncodeCursor16(img, {kBlack, kWhite}, 12, 1);
}

std::vector<std::uint8_t> MakeDropperIcon() {
  Image img(64, 64);
  // It lies along the diagonal, its tip on the centre (32, 32).
  const Shape tip = Polygon({{32, 32}, {39.5f, 36.5f}, {36.5f, 39.5f}});
  const Shape tube = Capsule({38, 38}, {47, 47}, 4.5f);
  const Shape collar = Rotated(Box(46, 41.5f, 50, 54.5f, 1), 48, 48, 45);
  const Shape bulb = Capsule({53, 53}, {56, 56}, 5.5f);
  Outlined(img, tip, kGlass);
  Outlined(img, tube, kGlass);
  Fill(img, Capsule({37, 37}, {43, 43}, 2.5f), kBlue);
  Fill(img, Capsule({33.5f, 33.5f}, {37, 37}, 1), kBlue);
  Fill(img, Capsule({41.5f, 39}, {45.5f, 43}, 1), kWhite);
  Outlined(img, bulb, kRed);
  Outlined(img, collar, kGrey);
  Fill(img, Circle(56, 54, 1.6f), Colour{255, 150, 150});
  return EncodeIcon16(img, {kBlack, kWhite, kRed, kGlass, kBlue, kGrey, Colour{255, 150, 150}});
}

std::vector<std::uint8_t> MakeDropIcon() {
  Image img(32, 32);
  // The tip on the centre (16, 16), the round body below and to the right.
  const Shape drop =
      Union(Circle(24, 24, 5.5f), Polygon({{16, 16}, {27.9f, 20.1f}, {20.1f, 27.9f}}));
  Outlined(img, drop, kBlue);
  Fill(img, Circle(22.5f, 23.5f, 1.5f), kLightBlue);
  return EncodeIcon16(img, {kBlack, kWhite, kBlue, kLightBlue});
}

std::vector<std::uint8_t> MakeFillPointer() {
  Image img(32, 32);
  // The bucket up to the right, tipped over; its paint runs down onto the centre.
  const Shape bucket = Rotated(Polygon({{18, 2}, {30, 2}, {28.5f, 14}, {19.5f, 14}}), 24, 8, -50);
  const Shape paint = Union(Curve({20.5f, 11}, {15.5f, 11}, {16, 15}, 1.6f), Circle(16, 16, 2));
  Outlined(img, paint, kBlue);
  Outlined(img, bucket, kGrey);
  Fill(img, Rotated(Box(18.5f, 2, 29.5f, 4.5f), 24, 8, -50), kBlue);
  Fill(img, Rotated(Capsule({22, 6}, {22, 12}, 0.8f), 24, 8, -50), kMetal);
  return EncodeIcon16(img, {kBlack, kWhite, kBlue, kGrey, kMetal});
}

std::vector<std::uint8_t> MakePencilPointer() {
  Image img(32, 32);
  // Tip on the centre (16, 16), the pencil running up to the right.
  const Shape body = Capsule({21.5f, 10.5f}, {27.5f, 4.5f}, 2.6f);
  const Shape wood = Polygon({{16, 16}, {19, 9.5f}, {22.5f, 13}});
  const Shape eraser = Capsule({28, 4}, {29.5f, 2.5f}, 2.6f);
  Outlined(img, wood, kWood);
  Fill(img, Polygon({{16, 16}, {17, 13.5f}, {18.5f, 15}}), kBlack);
  Outlined(img, body, kYellow);
  Outlined(img, eraser, kPink);
  return EncodeIcon16(img, {kBlack, kWhite, kWood, kYellow, kPink});
}

std::vector<std::uint8_t> MakeWindowIcon() {
  Image img(32, 32);
  const Shape board = Subtract(Ellipse(15, 17, 14, 11.5f), Circle(10, 23, 3));
  Outlined(img, board, Colour{245, 205, 150}, 1.3f);
  const Colour dots[] = {{240, 40, 40}, {255, 210, 0}, {40, 190, 80}, {40, 120, 240}};
  const Point at[] = {{8, 13}, {14, 9.5f}, {21, 11}, {23, 18}};
  for (int i = 0; i < 4; ++i) Outlined(img, Circle(at[i].x, at[i].y, 2.6f), dots[i], 0.9f);
  // The crayon across the front.
  const Shape crayon = Capsule({12, 28}, {24, 16}, 3);
  const Shape point = Polygon({{22, 14}, {28.5f, 9.5f}, {26, 18}});
  Outlined(img, point, Colour{170, 60, 220}, 1);
  Outlined(img, crayon, Colour{170, 60, 220}, 1.1f);
  Fill(img, Capsule({13.5f, 24.5f}, {22, 16}, 0.9f), Colour{220, 170, 255});
  return EncodeIcon24(img);
}

}  // namespace datagen
