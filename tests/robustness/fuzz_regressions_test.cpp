// The inputs that once crashed the picture or sound fuzzer, or made it allocate gigabytes, with
// crafted sounds at the edges of what the sound check takes, and the fuzzers' seeds, which are
// real pictures and sounds the loaders must go on reading.
#include <SDL_mixer.h>
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
#include "platform/sound.h"
#include "platform/sound_check.h"
#include "robustness_support.h"

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

// A sound converted for the device holds at most the longest sound taken, at the device's rate.
void ExpectBoundedSound(const std::shared_ptr<Mix_Chunk>& chunk) {
  ASSERT_NE(chunk, nullptr);
  int rate = 0, channels = 0;
  Uint16 format = 0;
  ASSERT_NE(Mix_QuerySpec(&rate, &format, &channels), 0);
  const long second = static_cast<long>(rate) * channels * SDL_AUDIO_BITSIZE(format) / 8;
  EXPECT_GT(chunk->alen, 0u);
  EXPECT_LE(chunk->alen, second * (platform::kLongestSoundSeconds + 1));
}

TEST(SoundFuzzRegressions, EachConvertsOrIsRefusedWithoutTakingMuchMemory) {
  ASSERT_TRUE(platform::AudioDeviceOpen());
  const auto files = FilesIn(SOUND_REGRESSIONS_DIR);
  ASSERT_FALSE(files.empty());
  constexpr long kAllowedGrowthKb = 64 * 1024;
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.filename().string());
    const long before = PeakResidentKb();
    try {
      ExpectBoundedSound(platform::ConvertSound(ReadAll(file), file.string()));
    } catch (const platform::RuntimeError&) {
    }
    EXPECT_EQ(platform::sndPlaySoundA(file.string(), platform::SND_ASYNC), 1);
    EXPECT_LT(PeakResidentKb() - before, kAllowedGrowthKb);
  }
}

TEST(SoundFuzzSeeds, EverySeedAndEverySoundOfTheDataSetIsConverted) {
  ASSERT_TRUE(platform::AudioDeviceOpen());
  auto files = FilesIn(SOUND_CORPUS_DIR);
  const auto own = FilesIn(fs::path(COLOURING_APP_DIR) / "SOUND");
  ASSERT_FALSE(files.empty());
  ASSERT_FALSE(own.empty());
  files.insert(files.end(), own.begin(), own.end());
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.filename().string());
    ASSERT_NO_FATAL_FAILURE(ExpectBoundedSound(platform::ConvertSound(ReadAll(file), "seed")));
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
