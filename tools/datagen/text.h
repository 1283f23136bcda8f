#pragma once

#include <string_view>

#include "raster.h"

// Words on pictures, in the one bold rounded-looking font of the artwork.
namespace datagen {

struct TextStyle {
  int point_size = 20;
  Colour fill{255, 255, 255};
  Colour outline{40, 30, 60};
  int outline_width = 2;  // 0 for none
};

// Draws the text centred on (cx, cy). Throws std::runtime_error if the font is missing.
void DrawText(Image& image, std::string_view text, float cx, float cy, const TextStyle& style);
// The width of the text as DrawText lays it out, outline included.
int TextWidth(std::string_view text, const TextStyle& style);

}  // namespace datagen
