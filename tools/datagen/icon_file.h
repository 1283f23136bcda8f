#pragma once

#include <cstdint>
#include <vector>

#include "raster.h"

// Windows icon and cursor files (one bitmap image each, with its transparency mask).
namespace datagen {

// 16 colours: each pixel takes the nearest colour of `palette` (at most 16 entries).
// Pixels under half covered are transparent.
std::vector<std::uint8_t> EncodeIcon16(const Image& image, const std::vector<Colour>& palette);
std::vector<std::uint8_t> EncodeCursor16(const Image& image, const std::vector<Colour>& palette,
                                         int hot_x, int hot_y);
// 24 bits per pixel, true colour.
std::vector<std::uint8_t> EncodeIcon24(const Image& image);

}  // namespace datagen
