#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace datagen {

// GIF89a with a two-entry global colour table (black, white), one image, LZW via giflib.
// `pixels` holds one byte a pixel, row by row: 0 black, 1 white.
std::vector<std::uint8_t> EncodeTwoColourGif(const std::vector<std::uint8_t>& pixels, int width,
                                             int height);

// Pads a GIF to exactly `size` bytes so that every decoder reads the same pixels: a comment
// extension for gaps of 5 bytes and more, and for smaller ones image-data sub-blocks split in
// two, one byte each. Throws std::runtime_error if the GIF is already larger than `size` or
// cannot be read.
std::vector<std::uint8_t> PadGif(std::vector<std::uint8_t> gif, std::size_t size);

}  // namespace datagen
