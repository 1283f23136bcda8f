#include <algorithm>
#include <string_view>

#include "pictures.h"
#include "style.h"
#include "text.h"

namespace datagen {
namespace {

using namespace style;

struct WordLook {
  std::string_view words;
  Colour colour;
};

WordLook LookOf(WordButton button) {
  switch (button) {
    case WordButton::kBack:
      return {"Back", {255, 120, 40}};
    case WordButton::kYes:
      return {"Yes", {60, 190, 80}};
    case WordButton::kNo:
      return {"No", {240, 70, 70}};
    case WordButton::kClose:
      return {"Close", {80, 140, 240}};
    case WordButton::kVisit:
      return {"Visit our web site", {150, 80, 230}};
    case WordButton::kAbout:
      return {"About us", {20, 180, 180}};
  }
  return {};
}

// A left-pointing arrow head and shaft, for the Back button.
Shape BackArrow(float cx, float cy, float size) {
  const Shape head = Polygon({{cx - size, cy}, {cx, cy - size * 0.8f}, {cx, cy + size * 0.8f}});
  return Union(head, Box(cx - 2, cy - size * 0.35f, cx + size * 0.9f, cy + size * 0.35f, 2));
}

}  // namespace

Image DrawWordButton(WordButton button, Look look, int width, int height) {
  Image img(width, height, kCream);
  const WordLook word_look = LookOf(button);
  const bool small = height < 32;
  const float margin = small ? 3.0f : 5.0f, lift = look == Look::kResting ? 0.0f : 1.0f;
  const float bottom = height - margin - lift - (small ? 1.0f : 2.0f);
  const Shape pill = Box(margin, margin - lift, width - margin, bottom, (bottom - margin) / 2);
  DropShadow(img, pill, small ? 1.5f : 2.5f + lift, 2, 0.35f);
  Colour top = Lighter(word_look.colour, 0.35f), low = word_look.colour;
  if (look != Look::kResting) {
    top = Lighter(top, 0.35f);
    low = Lighter(low, 0.2f);
    Glow(img, pill, small ? 2.5f : 4.0f);
  }
  FillOutlined(img, pill, VerticalGradient(pill.top, pill.bottom, top, low), kInk,
               small ? 1.5f : 2.5f);
  // A shine along the top makes the button look round and pressable.
  const float inset = (bottom - margin) * 0.3f;
  Fill(img,
       Box(margin + inset, margin - lift + 2, width - margin - inset,
           margin - lift + 2 + (bottom - margin) * 0.3f, (bottom - margin) * 0.15f),
       kWhite, 0.35f);

  const float text_height = bottom - margin;
  TextStyle text{static_cast<int>(text_height * 0.55f), kWhite, kInk, small ? 1 : 2};
  float cx = width / 2.0f;
  if (button == WordButton::kBack) {
    const float arrow = text_height * 0.38f;
    const float arrow_x = margin + text_height * 0.45f + arrow;
    FillOutlined(img, BackArrow(arrow_x, (margin + bottom) / 2 - lift, arrow), kWhite, kInk, 2);
    cx = (arrow_x + arrow + width - margin) / 2;
  }
  // Long words shrink to fit inside the pill.
  while (TextWidth(word_look.words, text) > width - 2 * margin - text_height * 0.6f) {
    --text.point_size;
  }
  DrawText(img, word_look.words, cx, (margin + bottom) / 2 - lift, text);
  return img;
}

}  // namespace datagen
