#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace e2e {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};
std::string ToString(Rgb c);

// An 8-bit RGB picture, decoded by an image tool of its own rather than by the program's code,
// so that a decoding fault of the program shows as a difference.
struct Image {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;

  Rgb At(int x, int y) const;
  Image Part(int left, int top, int w, int h) const;
  bool operator==(const Image&) const = default;
};

// A binary PPM (P6, 8 bits) as the image tools write it.
Image ParsePpm(const std::string& bytes);
// Any picture file the image tools read (GIF, JPEG, BMP, PDF pages excepted).
Image ReadPicture(const std::filesystem::path& file);

// The share of `want`'s pixels that `shown` has at (left, top), each channel within the
// tolerance; 0 when `want` does not fit there.
double Likeness(const Image& shown, int left, int top, const Image& want, int tolerance = 8);
// How many pixels of the two equal-sized pictures differ at all.
int Differences(const Image& a, const Image& b);

}  // namespace e2e
