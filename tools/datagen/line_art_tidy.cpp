#include "line_art_tidy.h"

#include <array>

namespace datagen::art {
namespace {

// Labels 4-connected white areas and blackens those that are too small; true if any was.
bool FillSpecks(Bitmap& picture) {
  std::vector<std::uint8_t> seen(picture.pixels.size(), 0);
  std::vector<int> area;
  std::vector<int> stack;
  bool changed = false;
  for (std::size_t start = 0; start < picture.pixels.size(); ++start) {
    if (seen[start] || picture.pixels[start] != kWhite) continue;
    area.clear();
    stack.assign(1, static_cast<int>(start));
    seen[start] = 1;
    while (!stack.empty()) {
      const int i = stack.back();
      stack.pop_back();
      area.push_back(i);
      const int x = i % picture.width;
      const int y = i / picture.width;
      const std::array<std::array<int, 2>, 4> next = {
          {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}}};
      for (const auto& [nx, ny] : next) {
        if (!picture.Inside(nx, ny)) continue;
        const int j = ny * picture.width + nx;
        if (!seen[j] && picture.pixels[j] == kWhite) {
          seen[j] = 1;
          stack.push_back(j);
        }
      }
    }
    if (area.size() < static_cast<std::size_t>(kSmallestArea)) {
      for (int i : area) picture.pixels[i] = kBlack;
      changed = true;
    }
  }
  return changed;
}

// Gives every thin black pixel the 3x3 square around it that needs the least new ink.
bool ThickenThinInk(Bitmap& picture) {
  bool changed = false;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      if (picture.At(x, y) != kBlack) continue;
      int best_x = -1;
      int best_y = -1;
      int best_white = 10;
      bool covered = false;
      for (int cy = y - 1; cy <= y + 1 && !covered; ++cy) {
        for (int cx = x - 1; cx <= x + 1 && !covered; ++cx) {
          if (cx < 1 || cy < 1 || cx > picture.width - 2 || cy > picture.height - 2) continue;
          int white = 0;
          for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) white += picture.At(cx + dx, cy + dy) == kWhite;
          }
          covered = white == 0;
          if (white < best_white) {
            best_white = white;
            best_x = cx;
            best_y = cy;
          }
        }
      }
      if (covered || best_x < 0) continue;
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) picture.At(best_x + dx, best_y + dy) = kBlack;
      }
      changed = true;
    }
  }
  return changed;
}

}  // namespace

void Tidy(Bitmap& picture) {
  bool changed = true;
  while (changed) {
    changed = FillSpecks(picture);
    changed = ThickenThinInk(picture) || changed;
  }
}

}  // namespace datagen::art
