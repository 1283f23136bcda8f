#include <algorithm>

#include "line_art.h"
#include "pictures.h"
#include "style.h"

namespace datagen {
namespace {

constexpr int kThumbWidth = 131, kThumbHeight = 122;
constexpr int kFrame = 6;  // the highlight frame's width
constexpr datagen::Colour kHighlight{255, 236, 100};
constexpr datagen::Colour kHighlightFrame{255, 160, 20};

}  // namespace

Image DrawThumbnail(const std::vector<std::uint8_t>& drawing, bool highlighted) {
  const Colour paper = highlighted ? kHighlight : style::kWhite;
  Image img(kThumbWidth, kThumbHeight, paper);
  // Reduce at the drawing's own shape, leaving room for the highlight frame.
  const float room_w = kThumbWidth - 2.0f * (kFrame + 2),
              room_h = kThumbHeight - 2.0f * (kFrame + 2);
  const float scale = std::min(room_w / kDrawingWidth, room_h / kDrawingHeight);
  const int w = static_cast<int>(kDrawingWidth * scale),
            h = static_cast<int>(kDrawingHeight * scale);
  Image full(kDrawingWidth, kDrawingHeight, style::kWhite);
  for (int y = 0; y < kDrawingHeight; ++y) {
    for (int x = 0; x < kDrawingWidth; ++x) {
      if (drawing[static_cast<std::size_t>(y) * kDrawingWidth + x] == 0) full.Set(x, y, {0, 0, 0});
    }
  }
  const Image small = Scaled(full, w, h);
  const int left = (kThumbWidth - w) / 2, top = (kThumbHeight - h) / 2;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      // Thin lines reduce to grey: darken them back so the outline reads at this size.
      const float ink = std::min(1.0f, (255 - small.At(x, y).r) / 255.0f * 2.2f);
      img.Set(left + x, top + y, Mix(paper, style::kInk, ink));
    }
  }
  if (highlighted) {
    Fill(img, Band(Box(0, 0, kThumbWidth, kThumbHeight), 2.0f * kFrame), kHighlightFrame);
  }
  return img;
}

}  // namespace datagen
