#include <algorithm>

#include "pictures.h"
#include "style.h"
#include "text.h"

namespace datagen {
namespace {

using namespace style;

constexpr float kLine = 2.5f;  // outline width of the little icons, in pixels

void Paper(Image& img, const Frame& f) {
  const Shape sheet =
      f.Turned(f.Polygon({{-24, -34}, {12, -34}, {26, -20}, {26, 34}, {-24, 34}}), -8);
  DropShadow(img, sheet, f.L(3), 3, 0.35f);
  FillOutlined(img, sheet, kWhite, kInk, kLine);
  const Shape fold = f.Turned(f.Polygon({{12, -34}, {12, -20}, {26, -20}}), -8);
  FillOutlined(img, fold, Colour{215, 225, 240}, kInk, kLine * 0.8f);
}

void Eraser(Image& img, const Frame& f) {
  const Shape rubber = f.Turned(f.Box(-44, -17, 2, 17, 7), -18);
  const Shape sleeve = f.Turned(f.Box(-4, -19, 44, 19, 6), -18);
  DropShadow(img, Union(rubber, sleeve), f.L(3), 3, 0.35f);
  FillOutlined(img, rubber, Colour{255, 130, 170}, kInk, kLine);
  FillOutlined(img, sleeve,
               VerticalGradient(f.cy - f.L(20), f.cy + f.L(20), {90, 170, 255}, {40, 100, 220}),
               kInk, kLine);
  Fill(img, f.Turned(f.Capsule(-36, -9, -10, -9, 3), -18), Colour{255, 200, 220});
  Fill(img, f.Turned(f.Capsule(4, -10, 36, -10, 2.5f), -18), Colour{170, 215, 255});
}

void Pencil(Image& img, const Frame& f) {
  const float turn = 22;
  const Shape body = f.Turned(f.Box(-11, -30, 11, 22, 2), turn);
  const Shape cap = f.Turned(f.Box(-11, -46, 11, -30, 6), turn);
  const Shape wood = f.Turned(f.Polygon({{-11, 22}, {11, 22}, {0, 46}}), turn);
  const Shape lead = f.Turned(f.Polygon({{-4.5f, 36}, {4.5f, 36}, {0, 46}}), turn);
  DropShadow(img, Union(Union(body, cap), wood), f.L(3), 3, 0.35f);
  FillOutlined(img, cap, Colour{255, 140, 170}, kInk, kLine);
  FillOutlined(img, wood, Colour{250, 205, 150}, kInk, kLine);
  Fill(img, lead, Colour{60, 50, 70});
  FillOutlined(img, body, Colour{255, 200, 30}, kInk, kLine);
  Fill(img, f.Turned(f.Capsule(-4, -27, -4, 19, 2.2f), turn), Colour{255, 235, 120});
  Fill(img, f.Turned(f.Box(-11, -33, 11, -27, 0), turn), Colour{180, 185, 200});
  Fill(img, f.Turned(f.Capsule(-11, -30, 11, -30, 1), turn), kInk);
}

Shape DropShape(const Frame& f) {
  return Union(f.Circle(0, 14, 26), f.Polygon({{-22.5f, 0}, {22.5f, 0}, {0, -44}}));
}

void Drop(Image& img, const Frame& f) {
  const Shape drop = DropShape(f);
  DropShadow(img, drop, f.L(3), 3, 0.35f);
  FillOutlined(img, drop,
               RadialGradient(f.cx - f.L(8), f.cy + f.L(4), f.L(40), {80, 190, 255}, {20, 90, 230}),
               kInk, kLine);
  Fill(img, f.Turned(f.Ellipse(-10, 10, 5, 10), 20), kWhite, 0.85f);
  Fill(img, f.Circle(-3, -10, 3), kWhite, 0.7f);
}

// A little framed picture of a sunny hill, for the gallery button's stack.
void Card(Image& img, const Frame& f, float turn, Colour sky) {
  const Shape card = f.Turned(f.Box(-30, -24, 30, 24, 3), turn);
  DropShadow(img, card, f.L(2), 3, 0.3f);
  FillOutlined(img, card, kWhite, kInk, kLine);
  Fill(img, f.Turned(f.Box(-25, -19, 25, 19, 1), turn), sky);
  Fill(img,
       Intersection(f.Turned(f.Circle(-6, 40, 34), turn),
                    f.Turned(f.Box(-25, -19, 25, 19, 1), turn)),
       Colour{90, 200, 80});
  Fill(img, f.Turned(f.Circle(13, -8, 6), turn), Colour{255, 215, 40});
}

void Pictures(Image& img, const Frame& f) {
  Card(img, Frame{f.cx - f.L(14), f.cy - f.L(18), f.scale}, -14, {170, 140, 255});
  Card(img, Frame{f.cx + f.L(14), f.cy - f.L(14), f.scale}, 10, {255, 170, 120});
  Card(img, Frame{f.cx, f.cy - f.L(2), f.scale}, 0, {130, 210, 255});
  DrawText(img, "Pictures", f.cx, f.cy + f.L(40),
           {static_cast<int>(f.L(17)), {255, 255, 255}, kInk, 2});
}

void Speaker(Image& img, const Frame& f, bool waves) {
  const float x = waves ? -12 : 0;
  const Shape box = f.Box(x - 24, -11, x - 8, 11, 2);
  const Shape cone = f.Polygon({{x - 10, -11}, {x + 8, -27}, {x + 8, 27}, {x - 10, 11}});
  const Colour body{120, 120, 240};
  DropShadow(img, Union(box, cone), f.L(3), 3, 0.35f);
  FillOutlined(img, Union(box, cone), body, kInk, kLine);
  Fill(img, f.Capsule(x + 3, -16, x + 3, 16, 1.5f), Lighter(body, 0.4f));
  if (!waves) return;
  for (const float r : {12.0f, 25.0f}) {
    const Shape wave = Arc(f.cx + f.L(x + 10), f.cy, f.L(r), -45, 45, f.L(6));
    FillOutlined(img, wave, Colour{70, 200, 90}, kInk, kLine * 0.8f);
  }
}

void Notes(Image& img, const Frame& f) {
  const Colour note{170, 60, 220};
  const Shape heads = Union(f.Ellipse(-18, 26, 12, 9), f.Ellipse(20, 18, 12, 9));
  const Shape stems = Union(f.Capsule(-7, 24, -7, -24, 3), f.Capsule(31, 16, 31, -32, 3));
  const Shape beam = f.Polygon({{-10, -32}, {34, -42}, {34, -28}, {-10, -18}});
  const Shape all = Union(Union(heads, stems), beam);
  DropShadow(img, all, f.L(3), 3, 0.35f);
  FillOutlined(img, all, note, kInk, kLine);
  Fill(img, f.Ellipse(-21, 23, 4, 3), Lighter(note, 0.6f));
  Fill(img, f.Ellipse(17, 15, 4, 3), Lighter(note, 0.6f));
}

// The red stroke across a switched-off sound or music button.
void CrossedOut(Image& img, const Frame& f) {
  const Shape stroke = f.Capsule(-34, -34, 34, 34, 5);
  FillOutlined(img, stroke, Colour{235, 40, 40}, kInk, kLine);
}

struct ToolLook {
  Colour tile;  // the tile's colour at rest
  void (*draw)(Image&, const Frame&);
  float design_width = 100, design_height = 100;  // the part of the design square it uses
};

ToolLook LookOf(Tool tool) {
  switch (tool) {
    case Tool::kPaper:
      return {{150, 220, 255}, Paper, 78, 84};
    case Tool::kEraser:
      return {{255, 200, 120}, Eraser, 104, 62};
    case Tool::kPencil:
      return {{170, 230, 150}, Pencil, 66, 100};
    case Tool::kFill:
      return {{255, 190, 220}, Drop, 62, 98};
    case Tool::kPictures:
      return {{255, 160, 90}, Pictures};
    case Tool::kSound:
      return {{255, 230, 120}, [](Image& i, const Frame& f) { Speaker(i, f, true); }};
    case Tool::kSoundOff:
      return {{220, 215, 235},
              [](Image& i, const Frame& f) { Speaker(i, f, false), CrossedOut(i, f); }};
    case Tool::kMusic:
      return {{190, 240, 255}, Notes};
    case Tool::kMusicOff:
      return {{220, 215, 235}, [](Image& i, const Frame& f) { Notes(i, f), CrossedOut(i, f); }};
  }
  return {};
}

}  // namespace

Image DrawToolButton(Tool tool, Look look, int width, int height) {
  Image img(width, height, kCream);
  const ToolLook tool_look = LookOf(tool);
  const float margin = 5, lift = look == Look::kResting ? 0.0f : 1.5f;
  const Shape tile = Box(margin, margin - lift, width - margin, height - margin - lift,
                         std::min(width, height) * 0.22f);
  DropShadow(img, tile, 2 + 2 * lift, 3, 0.3f);
  Colour top = Lighter(tool_look.tile, 0.45f), bottom = tool_look.tile;
  if (look == Look::kHover) top = Lighter(top, 0.5f), bottom = Lighter(bottom, 0.3f);
  if (look == Look::kChosen) top = kWhite, bottom = Lighter(tool_look.tile, 0.2f);
  if (look != Look::kResting) Glow(img, tile, look == Look::kChosen ? 5.0f : 4.0f);
  FillOutlined(img, tile, VerticalGradient(tile.top, tile.bottom, top, bottom), kInk,
               look == Look::kChosen ? 3.0f : 2.0f);
  // The chosen tool's ring is orange, the one under the mouse yellow like its halo.
  if (look == Look::kChosen) Fill(img, Band(Grown(tile, -3.5f), 3), Colour{255, 150, 0});
  if (look == Look::kHover) Fill(img, Band(Grown(tile, -3), 2.5f), kGlow);
  const float scale = std::min((width - 2 * margin) / tool_look.design_width,
                               (height - 2 * margin) / tool_look.design_height);
  tool_look.draw(img, Frame{width / 2.0f, height / 2.0f - lift, scale});
  return img;
}

}  // namespace datagen
