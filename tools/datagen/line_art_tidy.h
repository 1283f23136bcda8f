#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Clean-up of a finished black-on-white picture, so that it suits a child with a flood fill.
namespace datagen::art {

inline constexpr std::uint8_t kBlack = 0;
inline constexpr std::uint8_t kWhite = 1;
inline constexpr int kSmallestArea = 100;  // white areas below this many pixels become black

struct Bitmap {
  int width;
  int height;
  std::vector<std::uint8_t> pixels;

  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  std::uint8_t& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
  std::uint8_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Fills white specks under kSmallestArea pixels and thickens any black pixel that is not part
// of a 3x3 black square, until neither rule finds anything more to change.
void Tidy(Bitmap& picture);

}  // namespace datagen::art
