#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "data_set.h"
#include "jpeg_file.h"
#include "raster.h"

namespace {

// A picture with detail, so that its JPEG size depends on the quality.
datagen::Image Sample(int width, int height) {
  datagen::Image image(width, height, {255, 250, 240});
  for (int i = 0; i < 12; ++i) {
    datagen::FillOutlined(image, datagen::Circle(7.0f * i + 5, 3.0f * i + 8, 6),
                          {static_cast<std::uint8_t>(20 * i), 120, 200}, {40, 30, 60}, 2);
  }
  return image;
}

std::vector<std::uint32_t> DecodedPixels(const std::vector<std::uint8_t>& jpeg) {
  SDL_Surface* loaded =
      IMG_Load_RW(SDL_RWFromConstMem(jpeg.data(), static_cast<int>(jpeg.size())), 1);
  if (loaded == nullptr) {
    ADD_FAILURE() << IMG_GetError();
    return {};
  }
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < argb->h; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(
        static_cast<const char*>(argb->pixels) + y * argb->pitch);
    pixels.insert(pixels.end(), row, row + argb->w);
  }
  SDL_FreeSurface(argb);
  SDL_FreeSurface(loaded);
  return pixels;
}

TEST(JpegPadding, ReachesEveryExactSizeWithTheSamePixels) {
  const std::vector<std::uint8_t> jpeg = datagen::EncodeJpeg(Sample(90, 50), 80);
  const std::vector<std::uint32_t> pixels = DecodedPixels(jpeg);
  // One comment segment holds at most 65,537 bytes: the gaps round that need two segments
  // without leaving a remainder too small for a third.
  for (const std::size_t gap : {0u, 4u, 5u, 6u, 7u, 100u, 65536u, 65537u, 65538u, 65539u, 65540u,
                                65541u, 65542u, 131074u, 131075u, 200000u}) {
    SCOPED_TRACE(gap);
    const std::vector<std::uint8_t> padded = datagen::PadJpeg(jpeg, jpeg.size() + gap);
    ASSERT_EQ(padded.size(), jpeg.size() + gap);
    EXPECT_EQ(DecodedPixels(padded), pixels);
  }
}

TEST(JpegPadding, RefusesGapsNoSegmentFitsAndFilesAlreadyTooLarge) {
  const std::vector<std::uint8_t> jpeg = datagen::EncodeJpeg(Sample(90, 50), 80);
  for (const std::size_t gap : {1u, 2u, 3u}) {
    EXPECT_THROW(datagen::PadJpeg(jpeg, jpeg.size() + gap), std::runtime_error) << gap;
  }
  EXPECT_THROW(datagen::PadJpeg(jpeg, jpeg.size() - 1), std::runtime_error);
}

TEST(JpegFitting, LowersTheQualityUntilThePictureFits) {
  const datagen::Image image = Sample(90, 50);
  const std::size_t best = datagen::EncodeJpeg(image, 95).size();
  // Just under the best quality's size, and a gap of 1 to 3 bytes that forces one step more.
  for (const std::size_t size : {best - 1, best - 200, datagen::EncodeJpeg(image, 90).size() + 2}) {
    SCOPED_TRACE(size);
    const std::vector<std::uint8_t> fitted = datagen::EncodeJpegExactly(image, size, "SAMPLE.JPG");
    EXPECT_EQ(fitted.size(), size);
    EXPECT_EQ(DecodedPixels(fitted).size(), 90u * 50u);
  }
}

TEST(JpegFitting, NamesTheFileAndBothSizesWhenNothingFits) {
  try {
    datagen::EncodeJpegExactly(Sample(90, 50), 300, "TINY.JPG");
    FAIL() << "a 300-byte budget cannot hold this picture";
  } catch (const std::runtime_error& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find("TINY.JPG"), std::string::npos) << message;
    EXPECT_NE(message.find("300"), std::string::npos) << message;
  }
}

TEST(Thumbnails, FileNumbersFollowTheGalleryGrid) {
  constexpr int kExpected[25] = {1,  3,  5,  7,  9,  19, 21, 23, 25, 27, 37, 39, 41,
                                 43, 45, 55, 57, 59, 61, 63, 73, 75, 77, 79, 81};
  for (int place = 1; place <= 25; ++place) {
    EXPECT_EQ(datagen::ThumbnailFileNumber(place), kExpected[place - 1]) << place;
  }
}

}  // namespace
