#include "crafted_files.h"

#include <fcntl.h>
#include <gif_lib.h>
#include <unistd.h>

// libjpeg's header needs size_t and FILE declared before it.
// clang-format off
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>

#include "gif_blocks.h"

namespace test_support {
namespace {

FileBytes EncodeGif(int width, int height, const std::vector<GifByteType>& pixels) {
  FileBytes file;
  const auto append = [](GifFileType* gif, const GifByteType* bytes, int count) {
    auto* out = static_cast<FileBytes*>(gif->UserData);
    out->insert(out->end(), bytes, bytes + count);
    return count;
  };
  int error = 0;
  GifFileType* gif = EGifOpen(&file, append, &error);
  if (gif == nullptr) throw std::runtime_error("cannot make a GIF");
  GifColorType colours[2] = {{255, 255, 255}, {0, 0, 0}};
  ColorMapObject* map = GifMakeMapObject(2, colours);
  bool written = EGifPutScreenDesc(gif, width, height, 1, 0, map) == GIF_OK &&
                 EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
  for (int y = 0; written && y < height; ++y) {
    written =
        EGifPutLine(gif,
                    const_cast<GifByteType*>(pixels.data()) + static_cast<std::size_t>(y) * width,
                    width) == GIF_OK;
  }
  written = EGifCloseFile(gif, &error) == GIF_OK && written;
  GifFreeMapObject(map);
  if (!written) throw std::runtime_error("cannot write a GIF");
  return file;
}

}  // namespace

FileBytes ReadFileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::filesystem::path& file, const FileBytes& bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

FileBytes ResplitGifSubBlocks(const FileBytes& in, std::uint32_t seed) {
  std::mt19937 random(seed);
  FileBytes out =
      ResplitGifBlocks(in, [&random] { return random() % 2 == 0 ? 1 : 2 + random() % 254; });
  if (out.empty()) throw std::invalid_argument("not a GIF");
  return out;
}

FileBytes PlainGif(int width, int height) {
  return EncodeGif(width, height,
                   std::vector<GifByteType>(static_cast<std::size_t>(width) * height, 1));
}

FileBytes PlainJpeg(int width, int height, bool progressive) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3, 200);
  while (info.next_scanline < info.image_height) {
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  FileBytes file(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return file;
}

FileBytes JpegWithRepeatedScan(int width, int height, std::size_t length) {
  FileBytes small = PlainJpeg(16, 16, true);
  // The frame header's size fields, then the last scan, up to the end marker.
  std::size_t last_scan = 0;
  for (std::size_t i = 2; i + 8 < small.size(); ++i) {
    if (small[i] == 0xFF && small[i + 1] == 0xC2) {
      small[i + 5] = static_cast<unsigned char>(height >> 8);
      small[i + 6] = static_cast<unsigned char>(height);
      small[i + 7] = static_cast<unsigned char>(width >> 8);
      small[i + 8] = static_cast<unsigned char>(width);
    }
    if (small[i] == 0xFF && small[i + 1] == 0xDA) last_scan = i;
  }
  const std::size_t end = small.size() - 2;  // the end marker
  if (last_scan == 0 || end <= last_scan) throw std::runtime_error("no scan to repeat");
  FileBytes file(small.begin(), small.begin() + static_cast<std::ptrdiff_t>(end));
  const std::size_t scan = end - last_scan;
  while (file.size() + scan + 2 <= length) {
    file.insert(file.end(), small.begin() + static_cast<std::ptrdiff_t>(last_scan),
                small.begin() + static_cast<std::ptrdiff_t>(end));
  }
  file.push_back(0xFF);
  file.push_back(0xD9);
  file.resize(std::max(file.size(), length), 0);
  return file;
}

WavFormat WavFormatOf(std::uint32_t channels, std::uint32_t bits, std::uint32_t rate) {
  const std::uint32_t block = channels * bits / 8;
  return {channels, bits, rate, block, rate * block};
}

FileBytes CraftedWav(const WavFormat& format, std::size_t samples, std::size_t length) {
  FileBytes file;
  const auto put = [&file](std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) file.push_back(static_cast<unsigned char>(value >> (8 * i)));
  };
  const auto tag = [&file](const char* text) {
    for (int i = 0; i < 4; ++i) file.push_back(static_cast<unsigned char>(text[i]));
  };
  tag("RIFF");
  put(0, 4);  // set below
  tag("WAVE");
  tag("fmt ");
  put(16, 4);
  put(1, 2);
  put(format.channels, 2);
  put(format.rate, 4);
  put(format.byte_rate, 4);
  put(format.block_align, 2);
  put(format.bits, 2);
  tag("data");
  put(static_cast<std::uint32_t>(samples), 4);
  for (std::size_t i = 0; i < samples; ++i) file.push_back(static_cast<unsigned char>(i % 64));
  if (samples % 2 != 0) file.push_back(0);
  if (file.size() + 8 <= length) {
    tag("junk");
    put(static_cast<std::uint32_t>(length - file.size() - 4), 4);
    file.resize(length, 0);
  }
  const auto riff = static_cast<std::uint32_t>(file.size() - 8);
  for (int i = 0; i < 4; ++i) file[4 + i] = static_cast<unsigned char>(riff >> (8 * i));
  return file;
}

FileBytes WavAtRate(const FileBytes& wav, std::uint32_t rate) {
  if (wav.size() < 44) throw std::invalid_argument("not a plain WAV");
  FileBytes out = wav;
  const std::uint32_t block = out[32] | out[33] << 8;
  for (int i = 0; i < 4; ++i) {
    out[24 + i] = static_cast<unsigned char>(rate >> (8 * i));
    out[28 + i] = static_cast<unsigned char>((rate * block) >> (8 * i));
  }
  return out;
}

void GrowSparsely(const char* path, long long length) {
  const int fd = ::open(path, O_WRONLY);
  const bool grown = fd >= 0 && ::ftruncate(fd, length) == 0;
  if (fd >= 0) ::close(fd);
  if (!grown) throw std::runtime_error(std::string("cannot grow ") + path);
}

}  // namespace test_support
