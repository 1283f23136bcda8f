#pragma once

#include <cstdint>
#include <vector>

namespace datagen {

constexpr int kDrawingWidth = 750;
constexpr int kDrawingHeight = 600;
constexpr int kDrawingCount = 26;

// Black-on-white line drawing number n: 0 is the canvas's start drawing, 1 to 25 the
// gallery's. One byte a pixel, row by row: 0 black, 1 white. Throws std::out_of_range for
// any other n.
std::vector<std::uint8_t> DrawLineArt(int n);

}  // namespace datagen
