#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/picture.h"

namespace platform {

// No picture of the program covers more than 1024 x 768, not half of this; a file that would
// decode to more is refused before its pixels are decoded, which keeps every load, good or
// crafted, short.
constexpr long kLargestPictureArea = 2L * 1024 * 1024;
// A picture file longer than this is refused by its length, before it is read. The program's
// largest is under 200 KB, and even a picture of the largest area as an uncompressed 32-bit
// bitmap takes 8 MB; past this a file can only be padded to make every load slow.
constexpr std::uintmax_t kLargestPictureFile = 16u << 20;
// The program's JPEGs are baseline, one scan each; a progressive one needs about ten.
constexpr int kMostJpegScans = 32;

// Checks the bytes of a picture file (CheckPictureData) and decodes them: GIF through
// giflib, JPEG through libjpeg-turbo with the number of scans bounded, the other formats
// through SDL_image. Raises RuntimeError for anything refused or unreadable; `name` only
// names the picture in the message and in the result.
Picture DecodePicture(std::span<const unsigned char> bytes, std::string name);

}  // namespace platform
