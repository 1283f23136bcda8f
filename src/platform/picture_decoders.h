#pragma once

#include <span>
#include <string>

#include "platform/picture.h"

namespace platform {

// No picture of the program covers more than 1024 x 768, not half of this; a file that would
// decode to more is refused before its pixels are decoded, which keeps every load, good or
// crafted, short.
constexpr long kLargestPictureArea = 2L * 1024 * 1024;
// The program's JPEGs are baseline, one scan each; a progressive one needs about ten.
constexpr int kMostJpegScans = 32;

// Checks the bytes of a picture file (CheckPictureData) and decodes them: GIF through
// giflib, JPEG through libjpeg-turbo with the number of scans bounded, the other formats
// through SDL_image. Raises RuntimeError for anything refused or unreadable; `name` only
// names the picture in the message and in the result.
Picture DecodePicture(std::span<const unsigned char> bytes, std::string name);

}  // namespace platform
