#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "raster.h"

namespace datagen {

std::vector<std::uint8_t> EncodeJpeg(const Image& image, int quality);

// Adds comment segments after the start-of-image marker until the file is exactly `size`
// bytes: every decoder skips them, so the pixels stay the same. A gap of 1 to 3 bytes is too
// small for a segment: throws std::runtime_error, as for a file already larger.
std::vector<std::uint8_t> PadJpeg(std::vector<std::uint8_t> jpeg, std::size_t size);

// The best quality that fits in `size` bytes, padded to exactly `size`. Throws
// std::runtime_error naming the file and both sizes when even the lowest quality is too big.
std::vector<std::uint8_t> EncodeJpegExactly(const Image& image, std::size_t size,
                                            std::string_view name);

}  // namespace datagen
