#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "frame/data_files.h"
#include "line_art.h"
#include "platform/picture.h"

namespace {

namespace fs = std::filesystem;

const fs::path kPictureDir = fs::path(COLOURING_APP_DIR) / "PICTURE";

std::string BareName(std::string_view literal) {
  return std::string(literal.substr(literal.rfind('\\') + 1));
}

std::string TwoDigits(int n) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", n);
  return text;
}

struct Size {
  int width, height;
};

// Where the program places each picture, by file name without its state digit and ending.
std::map<std::string, Size> ExpectedSizes() {
  std::map<std::string, Size> sizes = {
      {"PAPIR", {63, 61}},     {"GUMICA", {112, 61}},      {"OLOVKA", {62, 81}},
      {"KAPLJICA", {58, 81}},  {"MOREIMAGES", {160, 169}}, {"ZVUCNIK", {78, 79}},
      {"SOUNDOFF", {78, 79}},  {"MUZIKA", {78, 79}},       {"MUSICOFF", {78, 79}},
      {"BACK", {192, 40}},     {"YES", {107, 50}},         {"NO", {85, 50}},
      {"CLOSE", {73, 27}},     {"VISIT", {330, 62}},       {"CTRLR582", {110, 35}},
      {"CTRLX", {400, 250}},   {"CTRL-R", {400, 250}},     {"PRINTING", {400, 250}},
      {"GLAVNA", {1024, 768}}, {"GALERIJA", {1024, 768}},
  };
  constexpr std::array<int, 12> kBlotWidths = {85, 84, 84, 84, 83, 85, 83, 84, 84, 84, 84, 86};
  for (int i = 0; i < 12; ++i) {
    for (int state = 1; state <= 3; ++state) {
      sizes["BOJE" + std::to_string(state) + "_" + TwoDigits(i + 1)] = {kBlotWidths[i], 85};
    }
  }
  return sizes;
}

Size ExpectedSize(const std::string& name) {
  static const std::map<std::string, Size> sizes = ExpectedSizes();
  const std::string stem = name.substr(0, name.find('.'));
  if (name.ends_with(".GIF")) return {750, 600};
  if (stem.starts_with("GALERIJA1")) return {131, 122};
  if (const auto exact = sizes.find(stem); exact != sizes.end()) return exact->second;
  const auto pair = sizes.find(stem.substr(0, stem.size() - 1));  // "PAPIR1" -> "PAPIR"
  if (pair == sizes.end()) ADD_FAILURE() << "no expected size for " << name;
  return pair == sizes.end() ? Size{0, 0} : pair->second;
}

platform::Picture Load(const std::string& name) {
  return platform::LoadPicture((kPictureDir / name).string());
}

std::uint32_t At(const platform::Picture& p, int x, int y) {
  return p->pixels[static_cast<std::size_t>(y) * p->width + x];
}

int Channel(std::uint32_t argb, int shift) { return static_cast<int>((argb >> shift) & 0xFF); }

// The mean difference of two equally sized pictures, per channel, 0 to 255.
double MeanDifference(const platform::Picture& a, const platform::Picture& b) {
  double sum = 0;
  for (std::size_t i = 0; i < a->pixels.size(); ++i) {
    for (const int shift : {0, 8, 16}) {
      sum += std::abs(Channel(a->pixels[i], shift) - Channel(b->pixels[i], shift));
    }
  }
  return sum / (3.0 * static_cast<double>(a->pixels.size()));
}

TEST(PictureFiles, EveryTableEntryHasExactlyItsSizeAndDecodesAtItsDimensions) {
  for (const data_files::SizedFile& entry : data_files::kPictureSizes) {
    const std::string name = BareName(entry.literal);
    SCOPED_TRACE(name);
    const fs::path path = kPictureDir / name;
    ASSERT_TRUE(fs::is_regular_file(path));
    EXPECT_EQ(fs::file_size(path), static_cast<std::uintmax_t>(entry.size));
    const platform::Picture picture = Load(name);
    const Size expected = ExpectedSize(name);
    EXPECT_EQ(picture->width, expected.width);
    EXPECT_EQ(picture->height, expected.height);
  }
}

TEST(PictureFiles, ToolPointersAreThirtyTwoPixelIcons) {
  for (const char* name : {"KANTICA8.ICO", "CETKA.ICO"}) {
    SCOPED_TRACE(name);
    const platform::Picture icon = Load(name);
    EXPECT_EQ(icon->width, 32);
    EXPECT_EQ(icon->height, 32);
    // Transparent round the tool, and the tool itself covering the working point (centre).
    EXPECT_EQ(At(icon, 0, 31) >> 24, 0u);
    const bool centre_drawn = (At(icon, 16, 16) >> 24) != 0 || (At(icon, 15, 15) >> 24) != 0;
    EXPECT_TRUE(centre_drawn);
  }
}

struct PaletteCase {
  int number;
  int r, g, b;
};
constexpr std::array<PaletteCase, 12> kPalette = {{{1, 255, 0, 0},
                                                   {2, 52, 204, 103},
                                                   {3, 255, 255, 0},
                                                   {4, 0, 204, 255},
                                                   {5, 255, 102, 0},
                                                   {6, 204, 51, 255},
                                                   {7, 178, 178, 178},
                                                   {8, 255, 255, 255},
                                                   {9, 204, 103, 51},
                                                   {10, 0, 0, 255},
                                                   {11, 30, 30, 30},
                                                   {12, 255, 0, 255}}};

TEST(PictureFiles, PaletteBlotsHoldTheirExactColourAcrossTheirMiddle) {
  constexpr int kTolerance = 6;  // what JPEG may shift a flat area
  for (const PaletteCase& c : kPalette) {
    for (int state = 1; state <= 3; ++state) {
      const std::string name = "BOJE" + std::to_string(state) + "_" + TwoDigits(c.number) + ".JPG";
      SCOPED_TRACE(name);
      const platform::Picture blot = Load(name);
      for (int dy = -5; dy <= 5; dy += 5) {
        for (int dx = -5; dx <= 5; dx += 5) {
          const std::uint32_t p = At(blot, blot->width / 2 + dx, blot->height / 2 + dy);
          EXPECT_NEAR(Channel(p, 16), c.r, kTolerance);
          EXPECT_NEAR(Channel(p, 8), c.g, kTolerance);
          EXPECT_NEAR(Channel(p, 0), c.b, kTolerance);
        }
      }
    }
  }
}

TEST(PictureFiles, EveryButtonStateLooksPlainlyDifferent) {
  std::vector<std::pair<std::string, std::string>> pairs;
  for (const char* stem :
       {"PAPIR", "GUMICA", "OLOVKA", "KAPLJICA", "MOREIMAGES", "ZVUCNIK", "SOUNDOFF", "MUZIKA",
        "MUSICOFF", "BACK", "YES", "NO", "CLOSE", "VISIT", "CTRLR582"}) {
    pairs.emplace_back(std::string(stem) + "1.JPG", std::string(stem) + "2.JPG");
  }
  for (int i = 1; i <= 12; ++i) {
    const std::string nn = TwoDigits(i);
    pairs.emplace_back("BOJE1_" + nn + ".JPG", "BOJE2_" + nn + ".JPG");
    pairs.emplace_back("BOJE1_" + nn + ".JPG", "BOJE3_" + nn + ".JPG");
    pairs.emplace_back("BOJE2_" + nn + ".JPG", "BOJE3_" + nn + ".JPG");
  }
  for (const auto& [first, second] : pairs) {
    SCOPED_TRACE(first + " / " + second);
    EXPECT_GT(MeanDifference(Load(first), Load(second)), 10.0);
  }
}

// Darkness of the drawn part of a picture on a coarse grid, from its inked bounding box, so
// that a thumbnail and its full-size drawing compare whatever their margins.
std::vector<double> InkGrid(int width, int height, const std::function<double(int, int)>& ink) {
  int left = width, right = -1, top = height, bottom = -1;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (ink(x, y) > 0.5) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
    }
  }
  constexpr int kCells = 12;
  std::vector<double> grid(kCells * kCells, 0.0), count(kCells * kCells, 0.0);
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      const int gx = (x - left) * kCells / (right - left + 1);
      const int gy = (y - top) * kCells / (bottom - top + 1);
      grid[gy * kCells + gx] += ink(x, y);
      count[gy * kCells + gx] += 1;
    }
  }
  for (std::size_t i = 0; i < grid.size(); ++i) grid[i] /= std::max(1.0, count[i]);
  return grid;
}

TEST(PictureFiles, EachThumbnailShowsItsOwnDrawingOnItsOwnBackground) {
  std::vector<std::vector<double>> drawings;
  for (int n = 1; n <= 25; ++n) {
    const std::vector<std::uint8_t> art = datagen::DrawLineArt(n);
    drawings.push_back(InkGrid(datagen::kDrawingWidth, datagen::kDrawingHeight, [&](int x, int y) {
      return art[static_cast<std::size_t>(y) * datagen::kDrawingWidth + x] == 0 ? 1.0 : 0.0;
    }));
  }
  for (int place = 1; place <= 25; ++place) {
    const int r = (place - 1) / 5, c = (place - 1) % 5;
    const std::string nn = TwoDigits(18 * r + 2 * c + 1);
    for (const bool highlighted : {false, true}) {
      const std::string name = (highlighted ? "GALERIJA1ZUTE_" : "GALERIJA1BELE_") + nn + ".JPG";
      SCOPED_TRACE(name);
      const platform::Picture thumb = Load(name);
      // The background: white at rest, yellow when highlighted.
      const std::uint32_t corner = At(thumb, 2, 2);
      EXPECT_GT(Channel(corner, 16), 230);
      EXPECT_GT(Channel(corner, 8), 130);
      if (highlighted) {
        EXPECT_LT(Channel(corner, 0), 120);
      } else {
        EXPECT_GT(Channel(corner, 0), 230);
      }
      const std::uint32_t paper = At(thumb, 10, 10);
      const std::vector<double> grid =
          InkGrid(thumb->width - 20, thumb->height - 20, [&](int x, int y) {
            const int dark = Channel(paper, 8) - Channel(At(thumb, x + 10, y + 10), 8);
            return std::clamp(dark / 120.0, 0.0, 1.0);
          });
      std::size_t nearest = 0;
      double best = 1e9;
      for (std::size_t d = 0; d < drawings.size(); ++d) {
        double distance = 0;
        for (std::size_t i = 0; i < grid.size(); ++i)
          distance += std::abs(grid[i] - drawings[d][i]);
        if (distance < best) best = distance, nearest = d;
      }
      EXPECT_EQ(nearest + 1, static_cast<std::size_t>(place));
    }
  }
}

}  // namespace
