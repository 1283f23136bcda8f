#pragma once

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "platform/picture.h"

namespace test_support {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};
std::string ToString(Rgb c);
inline std::ostream& operator<<(std::ostream& out, Rgb c) { return out << ToString(c); }
// The colour of a 0xAARRGGBB (or 0xRRGGBB) value; the screen has no alpha.
Rgb RgbOf(std::uint32_t argb);

// An 8-bit RGB picture, such as a screenshot.
struct Image {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;

  Rgb At(int x, int y) const;
  Image Part(int left, int top, int w, int h) const;
  bool operator==(const Image&) const = default;
};

// A binary PPM (P6, 8 bits) as the image tools write it.
Image ParsePpm(const std::string& bytes);
// Any picture file the image tools read (GIF, JPEG, BMP, PDF pages excepted), decoded by a
// tool of its own rather than by the program's code, so that a decoding fault of the program
// shows as a difference.
Image ReadPicture(const std::filesystem::path& file);
// A picture as the program decoded it.
Image ImageOf(const platform::PictureData& picture);

// A picture of one colour (0xAARRGGBB), for forms and controls that tests build themselves.
platform::Picture Solid(int width, int height, std::uint32_t argb);

// The share of `want`'s pixels that `shown` has at (left, top), each channel within the
// tolerance; 0 when `want` does not fit there.
double Likeness(const Image& shown, int left, int top, const Image& want, int tolerance = 8);
// How many pixels of the two equal-sized pictures differ at all.
int Differences(const Image& a, const Image& b);

}  // namespace test_support
