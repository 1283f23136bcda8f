#include "pictures.h"
#include "style.h"
#include "text.h"

namespace datagen {
namespace {

using namespace style;

constexpr int kWidth = 400, kHeight = 250;
constexpr Colour kWords{90, 40, 160};

// A 400 x 250 panel: a coloured border round a cream inside, where the buttons sit.
Image Panel(Colour border) {
  Image img(kWidth, kHeight);
  Fill(img, Box(0, 0, kWidth, kHeight),
       VerticalGradient(0, kHeight, Lighter(border, 0.25f), Darker(border, 0.15f)));
  FillOutlined(img, Box(6, 6, kWidth - 6, kHeight - 6, 18), kCream, kInk, 2.5f);
  return img;
}

void Sparkle(Image& img, float x, float y, Colour c) {
  FillOutlined(img,
               Union(Capsule({x - 8, y}, {x + 8, y}, 2.5f), Capsule({x, y - 8}, {x, y + 8}, 2.5f)),
               c, kInk, 1.5f);
}

}  // namespace

Image DrawExitPanel() {
  Image img = Panel({120, 90, 230});
  const TextStyle words{26, kWords, kWhite, 0};
  DrawText(img, "Do you want to", 200, 62, words);
  DrawText(img, "stop colouring?", 200, 102, words);
  Sparkle(img, 36, 36, {255, 200, 40});
  Sparkle(img, 364, 36, {255, 120, 160});
  Sparkle(img, 205, 178, {80, 200, 255});
  return img;
}

Image DrawAboutPanel() {
  Image img = Panel({40, 170, 200});
  DrawText(img, "My Colouring Book", 165, 46, {25, {255, 140, 30}, kInk, 2});
  DrawText(img, "Colour, paint and print", 200, 88, {18, kWords, kWhite, 0});
  DrawText(img, "your very own pictures!", 200, 114, {18, kWords, kWhite, 0});
  return img;
}

Image DrawPrintingPanel() {
  Image img = Panel({255, 140, 60});
  // Paper going in at the top, the printer, and the printed page coming out in front.
  const Shape paper_in = Box(150, 26, 250, 90, 3);
  FillOutlined(img, paper_in, kWhite, kInk, 2.5f);
  const Shape printer = Box(110, 70, 290, 150, 16);
  DropShadow(img, printer, 4, 4, 0.35f);
  FillOutlined(img, printer, VerticalGradient(70, 150, {150, 200, 255}, {70, 130, 230}), kInk, 3);
  Fill(img, Box(130, 118, 270, 128, 5), kInk);
  FillOutlined(img, Circle(268, 88, 6), {80, 220, 90}, kInk, 2);
  const Shape page = Box(140, 122, 260, 178, 3);
  FillOutlined(img, page, kWhite, kInk, 2.5f);
  FillOutlined(img, Circle(170, 145, 10), {255, 210, 40}, kInk, 2);
  FillOutlined(img, Box(195, 140, 240, 168, 2), {255, 110, 110}, kInk, 2);
  FillOutlined(img, Polygon({{190, 142}, {217.5f, 126}, {245, 142}}), {120, 90, 230}, kInk, 2);
  DrawText(img, "Printing...", 200, 212, {30, {255, 140, 30}, kInk, 2});
  return img;
}

}  // namespace datagen
