#include "platform/picture_decoders.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gif_lib.h>

// libjpeg's header needs size_t and FILE declared before it.
// clang-format off
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/failure.h"
#include "platform/picture_check.h"

namespace platform {
namespace {

using Bytes = std::span<const unsigned char>;

std::shared_ptr<PictureData> EmptyPicture(int width, int height, std::string source) {
  if (static_cast<long>(width) * height > kLargestPictureArea) {
    throw RuntimeError("picture " + source + " refused: it would cover too many pixels");
  }
  auto data = std::make_shared<PictureData>();
  data->width = width;
  data->height = height;
  data->source = std::move(source);
  data->pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  return data;
}

// ---- GIF ----------------------------------------------------------------------------------

struct MemoryReader {
  Bytes bytes;
  std::size_t at = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* into, int count) {
  auto* reader = static_cast<MemoryReader*>(gif->UserData);
  const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(std::max(count, 0)),
                                              reader->bytes.size() - reader->at);
  std::copy_n(reader->bytes.begin() + static_cast<std::ptrdiff_t>(reader->at), n, into);
  reader->at += n;
  return static_cast<int>(n);
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

// The first image of the file, as large as its own descriptor says (not the screen), in the
// local colour table or else the global one. The transparent colour of the control block
// before it keeps its RGB with alpha 0; indices past the table are black. Rows after a
// decoding error keep index 0: what could be read is shown.
Picture DecodeGif(Bytes bytes, std::string name) {
  MemoryReader reader{bytes};
  int error = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&reader, ReadFromMemory, &error));
  if (!gif) throw RuntimeError("cannot read picture " + name);
  int transparent = NO_TRANSPARENT_COLOR;
  for (;;) {
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif.get(), &record) != GIF_OK) break;
    if (record == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif.get(), &code, &block) != GIF_OK) break;
      if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] >= 4) {
        GraphicsControlBlock control;
        if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) {
          transparent = control.TransparentColor;
        }
      }
      while (block != nullptr) {
        if (DGifGetExtensionNext(gif.get(), &block) != GIF_OK) {
          throw RuntimeError("cannot read picture " + name);
        }
      }
      continue;
    }
    if (record != IMAGE_DESC_RECORD_TYPE) break;
    if (DGifGetImageDesc(gif.get()) != GIF_OK) break;
    const GifImageDesc& desc = gif->Image;
    if (desc.Width <= 0 || desc.Height <= 0) throw RuntimeError("empty picture " + name);
    const ColorMapObject* map = desc.ColorMap != nullptr ? desc.ColorMap : gif->SColorMap;
    if (map == nullptr) throw RuntimeError("picture " + name + " has no colours");
    auto data = EmptyPicture(desc.Width, desc.Height, std::move(name));

    std::vector<std::uint32_t> palette(256, 0xFF000000u);
    for (int i = 0; i < std::min(map->ColorCount, 256); ++i) {
      const GifColorType& c = map->Colors[i];
      palette[i] = 0xFF000000u | static_cast<std::uint32_t>(c.Red) << 16 |
                   static_cast<std::uint32_t>(c.Green) << 8 | c.Blue;
    }
    if (transparent >= 0 && transparent < 256) palette[transparent] &= 0x00FFFFFFu;

    std::vector<GifByteType> indices(static_cast<std::size_t>(desc.Width) * desc.Height, 0);
    const auto read_row = [&](int y) {
      return DGifGetLine(gif.get(), indices.data() + static_cast<std::size_t>(y) * desc.Width,
                         desc.Width) == GIF_OK;
    };
    bool whole = true;
    if (desc.Interlace) {
      constexpr int kFirst[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
      for (int pass = 0; pass < 4 && whole; ++pass) {
        for (int y = kFirst[pass]; y < desc.Height && whole; y += kStep[pass]) whole = read_row(y);
      }
    } else {
      for (int y = 0; y < desc.Height && whole; ++y) whole = read_row(y);
    }
    std::transform(indices.begin(), indices.end(), data->pixels.begin(),
                   [&](GifByteType index) { return palette[index]; });
    return data;
  }
  throw RuntimeError("no image in picture " + name);
}

// ---- JPEG ---------------------------------------------------------------------------------

// A progressive picture costs a pass over all its coefficients per scan: the scans times the
// pixels is bounded, so that a crafted file cannot keep the decoder busy for long.
constexpr long kJpegScanWork = 4 * kLargestPictureArea;
// The decoder's own memory, coefficient buffers of a progressive picture included.
constexpr long kJpegMemory = 96L * 1024 * 1024;

struct JpegFailure {
  jpeg_error_mgr manager;
  std::jmp_buf back;
  const char* why = "it cannot be decoded";
};

[[noreturn]] void JpegErrorExit(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegFailure*>(info->err)->back, 1);
}
void JpegQuiet(j_common_ptr) {}

struct JpegDecode {
  jpeg_decompress_struct info;
  JpegFailure failure;
  std::shared_ptr<PictureData> picture;
  std::vector<JSAMPROW> rows;
  bool refused = false;
};

void RefuseJpeg(JpegDecode& d, const char* why) {
  d.refused = true;
  d.failure.why = why;
  std::longjmp(d.failure.back, 1);
}

// Writes the output rows straight into the picture: BGRA bytes are 0xAARRGGBB words here.
void ReadRows(JpegDecode& d) {
  jpeg_decompress_struct& info = d.info;
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = reinterpret_cast<JSAMPROW>(d.picture->pixels.data() +
                                              static_cast<std::size_t>(info.output_scanline) *
                                                  d.picture->width);
    if (jpeg_read_scanlines(&info, &row, 1) != 1) break;
  }
}

// Only POD state lives in this frame across setjmp: everything that the decoder's error
// jump passes over is reached through `d`.
bool DecodeJpegInto(JpegDecode& d, Bytes bytes, const std::string& name) {
  jpeg_decompress_struct& info = d.info;
  info.err = jpeg_std_error(&d.failure.manager);
  d.failure.manager.error_exit = JpegErrorExit;
  d.failure.manager.output_message = JpegQuiet;
  if (setjmp(d.failure.back) != 0) return false;
  jpeg_create_decompress(&info);
  info.mem->max_memory_to_use = kJpegMemory;
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  if (info.num_components != 1 && info.num_components != 3) {
    RefuseJpeg(d, "its colour model is not one the program uses");
  }
  info.out_color_space = JCS_EXT_BGRA;
  const long area = static_cast<long>(info.image_width) * static_cast<long>(info.image_height);
  if (area > kLargestPictureArea) RefuseJpeg(d, "it would cover too many pixels");
  d.picture =
      EmptyPicture(static_cast<int>(info.image_width), static_cast<int>(info.image_height), name);
  if (!jpeg_has_multiple_scans(&info)) {
    jpeg_start_decompress(&info);
    ReadRows(d);
    return true;
  }
  // Every scan is counted as it arrives, before the decoder works through it.
  info.buffered_image = TRUE;
  jpeg_start_decompress(&info);
  long scans = 1;  // the header reading stopped at the first one
  for (;;) {
    const int state = jpeg_consume_input(&info);
    if (state == JPEG_REACHED_SOS) {
      ++scans;
      if (scans > kMostJpegScans) RefuseJpeg(d, "it has too many scans");
      if (scans * area > kJpegScanWork) RefuseJpeg(d, "its scans would take too long");
    }
    if (state == JPEG_REACHED_EOI || state == JPEG_SUSPENDED) break;
  }
  jpeg_start_output(&info, info.input_scan_number);
  ReadRows(d);
  jpeg_finish_output(&info);
  return true;
}

Picture DecodeJpeg(Bytes bytes, std::string name) {
  auto d = std::make_unique<JpegDecode>();
  const bool done = DecodeJpegInto(*d, bytes, name);
  jpeg_destroy_decompress(&d->info);
  if (!done) {
    if (d->refused) throw RuntimeError("picture " + name + " refused: " + d->failure.why);
    throw RuntimeError("cannot read picture " + name);
  }
  return std::move(d->picture);
}

// ---- The rest, through SDL_image ----------------------------------------------------------

struct SurfaceDeleter {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

Picture FromSurface(SDL_Surface* loaded, std::string source) {
  if (loaded == nullptr) throw RuntimeError("cannot read picture " + source);
  SurfacePtr owned(loaded);
  if (loaded->w <= 0 || loaded->h <= 0) throw RuntimeError("empty picture " + source);
  SurfacePtr argb(SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0));
  if (!argb) throw RuntimeError("cannot convert picture " + source);
  auto data = EmptyPicture(argb->w, argb->h, std::move(source));
  SDL_LockSurface(argb.get());
  for (int y = 0; y < argb->h; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(
        static_cast<const char*>(argb->pixels) + y * argb->pitch);
    std::copy(row, row + argb->w, data->pixels.begin() + static_cast<std::ptrdiff_t>(y) * argb->w);
  }
  SDL_UnlockSurface(argb.get());
  return data;
}

// Each format goes to its own decoder only, never to the library's guess, which would hand
// a damaged file to decoders for formats the program never reads.
Picture DecodeWithSdlImage(PictureFormat format, Bytes bytes, std::string name) {
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (rw == nullptr) throw RuntimeError("cannot read picture " + name);
  SDL_Surface* loaded = nullptr;
  switch (format) {
    case PictureFormat::kBmp:
      loaded = IMG_LoadBMP_RW(rw);
      break;
    case PictureFormat::kIcon:
      loaded = IMG_LoadICO_RW(rw);
      break;
    case PictureFormat::kCursor:
      loaded = IMG_LoadCUR_RW(rw);
      break;
    case PictureFormat::kPng:
      loaded = IMG_LoadPNG_RW(rw);
      break;
    case PictureFormat::kGif:
    case PictureFormat::kJpeg:
      break;
  }
  SDL_RWclose(rw);
  return FromSurface(loaded, std::move(name));
}

}  // namespace

Picture DecodePicture(Bytes bytes, std::string name) {
  const PictureFormat format = CheckPictureData(bytes, name);
  switch (format) {
    case PictureFormat::kGif:
      return DecodeGif(bytes, std::move(name));
    case PictureFormat::kJpeg:
      return DecodeJpeg(bytes, std::move(name));
    default:
      return DecodeWithSdlImage(format, bytes, std::move(name));
  }
}

}  // namespace platform
