#include "jpeg_file.h"

// libjpeg's header needs the standard types declared first.
#include <jpeglib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace datagen {
namespace {

constexpr int kBestQuality = 95;
constexpr int kLowestQuality = 20;
constexpr std::size_t kSmallestComment = 4;     // marker and length, no text
constexpr std::size_t kLargestComment = 65537;  // the length field counts itself: 65,535

[[noreturn]] void Fail(j_common_ptr info) {
  char message[JMSG_LENGTH_MAX];
  (*info->err->format_message)(info, message);
  throw std::runtime_error(std::string("JPEG encoding failed: ") + message);
}

}  // namespace

std::vector<std::uint8_t> EncodeJpeg(const Image& image, int quality) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  errors.error_exit = Fail;
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long length = 0;
  jpeg_mem_dest(&info, &buffer, &length);
  info.image_width = static_cast<JDIMENSION>(image.width());
  info.image_height = static_cast<JDIMENSION>(image.height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  info.optimize_coding = TRUE;
  // The integer transform gives the same bytes on every machine.
  info.dct_method = JDCT_ISLOW;
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(image.width()) * 3);
  while (info.next_scanline < info.image_height) {
    const int y = static_cast<int>(info.next_scanline);
    for (int x = 0; x < image.width(); ++x) {
      const Colour c = image.At(x, y);
      row[3 * x] = c.r;
      row[3 * x + 1] = c.g;
      row[3 * x + 2] = c.b;
    }
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<std::uint8_t> bytes(buffer, buffer + length);
  std::free(buffer);
  return bytes;
}

std::vector<std::uint8_t> PadJpeg(std::vector<std::uint8_t> jpeg, std::size_t size) {
  if (jpeg.size() > size) throw std::runtime_error("JPEG is larger than its size");
  std::size_t gap = size - jpeg.size();
  if (gap > 0 && gap < kSmallestComment) throw std::runtime_error("JPEG gap too small to pad");
  std::vector<std::uint8_t> padding;
  while (gap > 0) {
    std::size_t segment = std::min(gap, kLargestComment);
    // Never leave a remainder that no segment can fill.
    if (gap - segment > 0 && gap - segment < kSmallestComment) segment = gap - kSmallestComment;
    const std::size_t length = segment - 2;
    padding.insert(padding.end(), {0xFF, 0xFE, static_cast<std::uint8_t>(length >> 8),
                                   static_cast<std::uint8_t>(length & 0xFF)});
    padding.insert(padding.end(), segment - kSmallestComment, ' ');
    gap -= segment;
  }
  jpeg.insert(jpeg.begin() + 2, padding.begin(), padding.end());
  return jpeg;
}

std::vector<std::uint8_t> EncodeJpegExactly(const Image& image, std::size_t size,
                                            std::string_view name) {
  std::size_t smallest = 0;
  for (int quality = kBestQuality; quality >= kLowestQuality; --quality) {
    std::vector<std::uint8_t> jpeg = EncodeJpeg(image, quality);
    smallest = jpeg.size();
    if (jpeg.size() > size) continue;
    const std::size_t gap = size - jpeg.size();
    if (gap == 0 || gap >= kSmallestComment) return PadJpeg(std::move(jpeg), size);
  }
  throw std::runtime_error(std::string(name) + ": the smallest encoding is " +
                           std::to_string(smallest) + " bytes, over its size of " +
                           std::to_string(size) + " bytes");
}

}  // namespace datagen
