// The inputs that once crashed the picture fuzzer, or made it allocate gigabytes, and the
// fuzzer's seeds, which are real pictures the loader must go on reading.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "platform/picture.h"

namespace robustness {
namespace {

namespace fs = std::filesystem;

std::vector<unsigned char> ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<fs::path> FilesIn(const fs::path& dir) {
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(dir)) {
    if (e.is_regular_file()) files.push_back(e.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// The most memory this process has held at once, in kilobytes.
long PeakResidentKb() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return 0;
}

void ExpectWholePicture(const platform::Picture& p) {
  ASSERT_NE(p, nullptr);
  EXPECT_GT(p->width, 0);
  EXPECT_GT(p->height, 0);
  EXPECT_EQ(p->pixels.size(), static_cast<std::size_t>(p->width) * p->height);
}

TEST(FuzzRegressions, EachLoadsOrIsRefusedWithoutTakingMuchMemory) {
  const auto files = FilesIn(FUZZ_REGRESSIONS_DIR);
  ASSERT_FALSE(files.empty());
  constexpr long kAllowedGrowthKb = 256 * 1024;
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.filename().string());
    const long before = PeakResidentKb();
    try {
      ExpectWholePicture(platform::LoadPictureFromMemory(ReadAll(file), file.string()));
    } catch (const platform::RuntimeError&) {
    }
    try {
      ExpectWholePicture(platform::LoadPicture(file.string()));
    } catch (const platform::RuntimeError&) {
    }
    EXPECT_LT(PeakResidentKb() - before, kAllowedGrowthKb);
  }
}

TEST(FuzzSeeds, EverySeedIsReadAsAPicture) {
  const auto files = FilesIn(FUZZ_CORPUS_DIR);
  ASSERT_FALSE(files.empty());
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.filename().string());
    ExpectWholePicture(platform::LoadPicture(file.string()));
  }
}

// Noise in 256 colours fills the compression table again and again: the encoder writes
// clear codes in mid-stream and codes of every width up to twelve bits, all of which the
// loader's check of the code stream must let through.
TEST(PictureGuard, NoisyGifOfEveryCodeWidthReadsBackPixelForPixel) {
  constexpr int kWidth = 317, kHeight = 211;
  std::vector<GifColorType> colours(256);
  for (int i = 0; i < 256; ++i) {
    colours[i] = {static_cast<GifByteType>(i), static_cast<GifByteType>(255 - i),
                  static_cast<GifByteType>(i * 7)};
  }
  std::mt19937 random(7);
  std::vector<GifByteType> pixels(kWidth * kHeight);
  for (GifByteType& p : pixels) p = static_cast<GifByteType>(random() % 256);

  std::vector<unsigned char> file;
  const auto append = [](GifFileType* gif, const GifByteType* bytes, int count) {
    auto* out = static_cast<std::vector<unsigned char>*>(gif->UserData);
    out->insert(out->end(), bytes, bytes + count);
    return count;
  };
  int error = 0;
  GifFileType* gif = EGifOpen(&file, append, &error);
  ASSERT_NE(gif, nullptr);
  ColorMapObject* map = GifMakeMapObject(256, colours.data());
  bool written = EGifPutScreenDesc(gif, kWidth, kHeight, 8, 0, map) == GIF_OK &&
                 EGifPutImageDesc(gif, 0, 0, kWidth, kHeight, false, nullptr) == GIF_OK;
  for (int y = 0; written && y < kHeight; ++y) {
    written = EGifPutLine(gif, pixels.data() + y * kWidth, kWidth) == GIF_OK;
  }
  written = EGifCloseFile(gif, &error) == GIF_OK && written;
  GifFreeMapObject(map);
  ASSERT_TRUE(written);

  const platform::Picture p = platform::LoadPictureFromMemory(file, "noise.gif");
  ASSERT_NO_FATAL_FAILURE(ExpectWholePicture(p));
  ASSERT_EQ(p->width, kWidth);
  ASSERT_EQ(p->height, kHeight);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    const GifColorType& c = colours[pixels[i]];
    ASSERT_EQ(p->pixels[i] & 0xFFFFFFu,
              static_cast<std::uint32_t>(c.Red) << 16 | c.Green << 8 | c.Blue)
        << "pixel " << i;
  }
}

}  // namespace
}  // namespace robustness
