// The line drawings as a child meets them in the flood fill, and the GIF files that hold them.
#include "line_art.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "frame/data_files.h"
#include "gif.h"
#include "line_art_sketch.h"

namespace {

using Pixels = std::vector<std::uint8_t>;
using datagen::kDrawingHeight;
using datagen::kDrawingWidth;

constexpr std::uint8_t kBlack = 0;
constexpr std::uint8_t kWhite = 1;
constexpr std::size_t kStartDrawingBytes = 8558;  // the canvas's start drawing

// Drawings 1 to 25 are the gallery's files 01.GIF to 25.GIF, the first entries of the table.
std::size_t Budget(int n) {
  return n == 0 ? kStartDrawingBytes
                : static_cast<std::size_t>(data_files::kPictureSizes[n - 1].size);
}

const Pixels& Drawing(int n) {
  static std::map<int, Pixels> drawings;
  auto it = drawings.find(n);
  if (it == drawings.end()) it = drawings.emplace(n, datagen::DrawLineArt(n)).first;
  return it->second;
}

// Sizes of the 4-connected white areas, the ones a flood fill colours one at a time.
std::vector<int> WhiteAreas(const Pixels& pixels, int width, int height) {
  std::vector<int> label(pixels.size(), -1);
  std::vector<int> sizes;
  std::vector<int> stack;
  for (std::size_t start = 0; start < pixels.size(); ++start) {
    if (pixels[start] != kWhite || label[start] >= 0) continue;
    const int id = static_cast<int>(sizes.size());
    sizes.push_back(0);
    label[start] = id;
    stack.assign(1, static_cast<int>(start));
    while (!stack.empty()) {
      const int i = stack.back();
      stack.pop_back();
      ++sizes[id];
      const int x = i % width;
      const int y = i / width;
      const std::array<std::array<int, 2>, 4> next = {
          {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}}};
      for (const auto& [nx, ny] : next) {
        if (nx < 0 || ny < 0 || nx >= width || ny >= height) continue;
        const int j = ny * width + nx;
        if (pixels[j] == kWhite && label[j] < 0) {
          label[j] = id;
          stack.push_back(j);
        }
      }
    }
  }
  return sizes;
}

// Black pixels that no 3x3 all-black square covers: ink too thin to stop a fill reliably.
int ThinInkPixels(const Pixels& pixels, int width, int height) {
  auto black = [&](int x, int y) {
    return pixels[static_cast<std::size_t>(y) * width + x] == kBlack;
  };
  std::vector<std::uint8_t> covered(pixels.size(), 0);
  for (int y = 1; y + 1 < height; ++y) {
    for (int x = 1; x + 1 < width; ++x) {
      bool full = true;
      for (int dy = -1; dy <= 1 && full; ++dy) {
        for (int dx = -1; dx <= 1 && full; ++dx) full = black(x + dx, y + dy);
      }
      if (!full) continue;
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx)
          covered[static_cast<std::size_t>(y + dy) * width + x + dx] = 1;
      }
    }
  }
  int thin = 0;
  for (std::size_t i = 0; i < pixels.size(); ++i) thin += pixels[i] == kBlack && !covered[i];
  return thin;
}

struct Picture {
  int width = 0;
  int height = 0;
  Pixels pixels;  // 0 black, 1 white, as read through the file's own colour table
};

bool IsWhite(const GifColorType& c) { return c.Red + c.Green + c.Blue > 3 * 128; }

Picture DecodeWithGiflib(const std::vector<std::uint8_t>& gif) {
  struct Reader {
    const std::vector<std::uint8_t>* bytes;
    std::size_t at;
  } reader{&gif, 0};
  auto read = [](GifFileType* file, GifByteType* out, int length) {
    auto* r = static_cast<Reader*>(file->UserData);
    const int n = static_cast<int>(std::min<std::size_t>(length, r->bytes->size() - r->at));
    std::copy_n(r->bytes->data() + r->at, n, out);
    r->at += n;
    return n;
  };
  int error = 0;
  GifFileType* file = DGifOpen(&reader, read, &error);
  if (!file) throw std::runtime_error(GifErrorString(error));
  std::unique_ptr<GifFileType, void (*)(GifFileType*)> owner(file, [](GifFileType* f) {
    int ignored = 0;
    DGifCloseFile(f, &ignored);
  });
  if (DGifSlurp(file) != GIF_OK || file->ImageCount < 1) throw std::runtime_error("bad GIF");
  const SavedImage& image = file->SavedImages[0];
  const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : file->SColorMap;
  Picture picture{image.ImageDesc.Width, image.ImageDesc.Height, {}};
  const std::size_t count = static_cast<std::size_t>(picture.width) * picture.height;
  for (std::size_t i = 0; i < count; ++i) {
    picture.pixels.push_back(IsWhite(map->Colors[image.RasterBits[i]]) ? kWhite : kBlack);
  }
  return picture;
}

// A second, unrelated decoder: what the program itself loads pictures with.
Picture DecodeWithSdlImage(const std::vector<std::uint8_t>& gif) {
  SDL_RWops* rw = SDL_RWFromConstMem(gif.data(), static_cast<int>(gif.size()));
  SDL_Surface* loaded = IMG_LoadGIF_RW(rw);
  SDL_RWclose(rw);
  if (!loaded) throw std::runtime_error(IMG_GetError());
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
  SDL_FreeSurface(loaded);
  if (!rgb) throw std::runtime_error(SDL_GetError());
  Picture picture{rgb->w, rgb->h, {}};
  for (int y = 0; y < rgb->h; ++y) {
    const auto* row = static_cast<const std::uint8_t*>(rgb->pixels) + y * rgb->pitch;
    for (int x = 0; x < rgb->w; ++x) {
      const std::uint8_t* p = row + 4 * x;
      picture.pixels.push_back(p[0] + p[1] + p[2] > 3 * 128 ? kWhite : kBlack);
    }
  }
  SDL_FreeSurface(rgb);
  return picture;
}

void ExpectReadsAs(const std::vector<std::uint8_t>& gif, const Pixels& expected) {
  for (const Picture& decoded : {DecodeWithGiflib(gif), DecodeWithSdlImage(gif)}) {
    EXPECT_EQ(decoded.width, kDrawingWidth);
    EXPECT_EQ(decoded.height, kDrawingHeight);
    EXPECT_TRUE(decoded.pixels == expected) << "the decoded pixels differ";
  }
}

class EveryDrawing : public testing::TestWithParam<int> {};

TEST_P(EveryDrawing, IsBoldBlackOnWhiteWithAreasAChildCanHit) {
  const Pixels& pixels = Drawing(GetParam());
  ASSERT_EQ(pixels.size(), static_cast<std::size_t>(kDrawingWidth) * kDrawingHeight);
  EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(), [](auto p) { return p <= kWhite; }));
  EXPECT_EQ(ThinInkPixels(pixels, kDrawingWidth, kDrawingHeight), 0);
  const std::vector<int> areas = WhiteAreas(pixels, kDrawingWidth, kDrawingHeight);
  EXPECT_GE(areas.size(), 8u);
  EXPECT_GE(*std::min_element(areas.begin(), areas.end()), 100);
  EXPECT_TRUE(datagen::DrawLineArt(GetParam()) == pixels) << "drawing is not deterministic";
}

TEST_P(EveryDrawing, FitsItsFileAndDecodesBackExactly) {
  const Pixels& pixels = Drawing(GetParam());
  const std::vector<std::uint8_t> gif =
      datagen::EncodeTwoColourGif(pixels, kDrawingWidth, kDrawingHeight);
  EXPECT_LE(gif.size(), Budget(GetParam()));
  EXPECT_TRUE(DecodeWithGiflib(gif).pixels == pixels);
  const std::vector<std::uint8_t> padded = datagen::PadGif(gif, Budget(GetParam()));
  EXPECT_EQ(padded.size(), Budget(GetParam()));
  ExpectReadsAs(padded, pixels);
}

INSTANTIATE_TEST_SUITE_P(Drawings, EveryDrawing, testing::Range(0, datagen::kDrawingCount));

TEST(LineArt, DrawingsDifferFromEachOther) {
  for (int a = 0; a < datagen::kDrawingCount; ++a) {
    for (int b = a + 1; b < datagen::kDrawingCount; ++b) {
      const Pixels& pa = Drawing(a);
      const Pixels& pb = Drawing(b);
      std::size_t differing = 0;
      for (std::size_t i = 0; i < pa.size(); ++i) differing += pa[i] != pb[i];
      EXPECT_GT(differing, pa.size() / 100) << "drawings " << a << " and " << b;
    }
  }
}

TEST(LineArt, RefusesNumbersOutsideTheSet) {
  EXPECT_THROW(datagen::DrawLineArt(-1), std::out_of_range);
  EXPECT_THROW(datagen::DrawLineArt(datagen::kDrawingCount), std::out_of_range);
}

// With the thinnest pen, outlines at every slope must still hold a 4-connected fill inside.
TEST(LineArtSketch, ThinnestClosedOutlinesDoNotLeak) {
  using datagen::art::Point;
  constexpr int kSize = 200;
  for (int shape = 0; shape < 12; ++shape) {
    datagen::art::Sketch sketch(kSize, kSize, 3);
    const double tilt = 7.5 * shape;
    if (shape % 2 == 0) {
      sketch.Ellipse({100, 100}, 80, 35, tilt);
    } else {
      sketch.Polygon(datagen::art::StarPoints({100, 100}, 85, 40, 3 + shape / 2));
    }
    const Pixels pixels = sketch.Finish();
    const std::vector<int> areas = WhiteAreas(pixels, kSize, kSize);
    EXPECT_EQ(areas.size(), 2u) << "shape " << shape << " leaks or breaks apart";
    EXPECT_EQ(ThinInkPixels(pixels, kSize, kSize), 0) << "shape " << shape;
  }
}

TEST(TwoColourGif, IsGif89aWithABlackAndWhiteTable) {
  const Pixels pixels(static_cast<std::size_t>(kDrawingWidth) * kDrawingHeight, kWhite);
  const std::vector<std::uint8_t> gif =
      datagen::EncodeTwoColourGif(pixels, kDrawingWidth, kDrawingHeight);
  ASSERT_GT(gif.size(), 19u);
  EXPECT_EQ(std::string(gif.begin(), gif.begin() + 6), "GIF89a");
  EXPECT_EQ(gif[10] & 0x87, 0x80);  // a global table of two entries
  EXPECT_EQ(std::vector<std::uint8_t>(gif.begin() + 13, gif.begin() + 19),
            (std::vector<std::uint8_t>{0, 0, 0, 255, 255, 255}));
  EXPECT_EQ(gif.back(), 0x3B);
  EXPECT_THROW(datagen::EncodeTwoColourGif(pixels, kDrawingWidth, kDrawingHeight - 1),
               std::invalid_argument);
}

class PadGifGap : public testing::TestWithParam<std::size_t> {};

TEST_P(PadGifGap, HitsTheExactSizeAndKeepsThePixels) {
  const Pixels& pixels = Drawing(1);
  const std::vector<std::uint8_t> gif =
      datagen::EncodeTwoColourGif(pixels, kDrawingWidth, kDrawingHeight);
  const std::vector<std::uint8_t> padded = datagen::PadGif(gif, gif.size() + GetParam());
  ASSERT_EQ(padded.size(), gif.size() + GetParam());
  ExpectReadsAs(padded, pixels);
}

// Gaps under 5 are too small for a comment with text; 259 and 260 put a comment's sub-block
// boundary where a one-byte remainder would otherwise fall.
INSTANTIATE_TEST_SUITE_P(Gaps, PadGifGap,
                         testing::Values(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 100, 259, 260, 1000));

TEST(PadGif, RefusesAFileAlreadyTooLargeOrNotAGif) {
  const std::vector<std::uint8_t> gif =
      datagen::EncodeTwoColourGif(Drawing(0), kDrawingWidth, kDrawingHeight);
  EXPECT_THROW(datagen::PadGif(gif, gif.size() - 1), std::runtime_error);
  EXPECT_THROW(datagen::PadGif(std::vector<std::uint8_t>(2000, 0x21), 3000), std::runtime_error);
  std::vector<std::uint8_t> cut(gif.begin(), gif.end() - 40);
  EXPECT_THROW(datagen::PadGif(cut, gif.size()), std::runtime_error);
}

}  // namespace
