#pragma once

#include <span>
#include <string>

namespace platform {

enum class PictureFormat { kGif, kJpeg, kBmp, kIcon, kCursor, kPng };

// No picture of the program comes near this on either side; a damaged header that claims
// more would have the decoder allocate gigabytes.
constexpr int kLargestPictureSide = 4096;

// Tells the format from the first bytes and reads the sizes the headers declare, before any
// decoder sees the data. Raises RuntimeError for data in no format the layer reads, a
// declared size that is empty or beyond kLargestPictureSide, and GIF image data whose
// compression codes (read from the sub-blocks joined) are ones no sound encoder writes, and
// an icon or cursor with any entry whose header, palette or colour rows are cut short, that
// declares more than 256 colours, or whose pixels use colours past those it declares.
// What passes may still be truncated or damaged further on; the decoder turns that into a
// failure or a partial picture.
PictureFormat CheckPictureData(std::span<const unsigned char> bytes, const std::string& name);

}  // namespace platform
