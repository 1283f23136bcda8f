#include "platform/picture.h"

#include <SDL.h>
#include <SDL_image.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/decoded_pictures.h"
#include "platform/failure.h"
#include "platform/paths.h"
#include "platform/picture_check.h"

namespace platform {
namespace {

struct SurfaceDeleter {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// SDL_image gives paletted surfaces for GIFs and other formats for the rest: everything is
// turned into the one pixel format the layer draws with.
Picture FromSurface(SDL_Surface* loaded, std::string source) {
  if (loaded == nullptr) throw RuntimeError("cannot read picture " + source);
  SurfacePtr owned(loaded);
  if (loaded->w <= 0 || loaded->h <= 0) throw RuntimeError("empty picture " + source);
  SurfacePtr argb(SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0));
  if (!argb) throw RuntimeError("cannot convert picture " + source);
  auto data = std::make_shared<PictureData>();
  data->width = argb->w;
  data->height = argb->h;
  data->source = std::move(source);
  data->pixels.resize(static_cast<std::size_t>(argb->w) * static_cast<std::size_t>(argb->h));
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
SDL_Surface* DecodeAs(PictureFormat format, SDL_RWops* rw) {
  switch (format) {
    case PictureFormat::kGif:
      return IMG_LoadGIF_RW(rw);
    case PictureFormat::kJpeg:
      return IMG_LoadJPG_RW(rw);
    case PictureFormat::kBmp:
      return IMG_LoadBMP_RW(rw);
    case PictureFormat::kIcon:
      return IMG_LoadICO_RW(rw);
    case PictureFormat::kCursor:
      return IMG_LoadCUR_RW(rw);
    case PictureFormat::kPng:
      return IMG_LoadPNG_RW(rw);
  }
  return nullptr;
}

Picture Decode(std::span<const unsigned char> bytes, std::string name) {
  const PictureFormat format = CheckPictureData(bytes, name);
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (rw == nullptr) throw RuntimeError("cannot read picture " + name);
  SDL_Surface* loaded = DecodeAs(format, rw);
  SDL_RWclose(rw);
  return FromSurface(loaded, std::move(name));
}

std::function<void(const std::string&)> g_load_observer;

}  // namespace

void SetPictureLoadObserver(std::function<void(const std::string& path)> observer) {
  g_load_observer = std::move(observer);
}

Picture LoadPicture(const std::string& path) {
  if (g_load_observer) g_load_observer(path);
  // SDL_image refuses nothing it can half-read, so a directory or an empty file must be
  // turned away here.
  std::vector<unsigned char> bytes;
  switch (ReadMappedFile(path, bytes)) {
    case FileRead::kRead:
      break;
    case FileRead::kNoFile:
      throw RuntimeError("no picture file " + path);
    case FileRead::kUnreadable:
      throw RuntimeError("cannot read picture " + path);
  }
  return DecodeUnlessSeen(path, std::move(bytes), Decode);
}

Picture LoadPictureFromMemory(std::span<const unsigned char> bytes, std::string name) {
  if (bytes.empty()) throw RuntimeError("no picture data for " + name);
  return Decode(bytes, std::move(name));
}

void SavePicture(const Picture& picture, const std::string& path) {
  if (!picture) throw RuntimeError("no picture to save");
  const std::string real = MapPath(path);
  SurfacePtr rgb(SDL_CreateRGBSurfaceWithFormat(0, picture->width, picture->height, 24,
                                                SDL_PIXELFORMAT_BGR24));
  if (!rgb) throw RuntimeError("cannot make bitmap for " + path);
  SDL_LockSurface(rgb.get());
  for (int y = 0; y < picture->height; ++y) {
    auto* row = static_cast<std::uint8_t*>(rgb->pixels) + y * rgb->pitch;
    for (int x = 0; x < picture->width; ++x) {
      const std::uint32_t p = picture->pixels[static_cast<std::size_t>(y) * picture->width + x];
      row[3 * x + 0] = static_cast<std::uint8_t>(p);        // blue
      row[3 * x + 1] = static_cast<std::uint8_t>(p >> 8);   // green
      row[3 * x + 2] = static_cast<std::uint8_t>(p >> 16);  // red
    }
  }
  SDL_UnlockSurface(rgb.get());

  // A file that is there and may not be written keeps its content: replacing it by a
  // rename would get round its protection.
  struct stat existing;
  const bool exists = ::stat(real.c_str(), &existing) == 0;
  if (exists && ::faccessat(AT_FDCWD, real.c_str(), W_OK, AT_EACCESS) != 0) {
    throw RuntimeError("cannot write " + path);
  }
  // The new picture goes to a file of its own first, under a name nobody can guess and made
  // anew (never through a link someone left in the folder), then takes the old one's place.
  std::string temporary = real + ".XXXXXX";
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) throw RuntimeError("cannot write " + path);
  ::fchmod(fd, exists ? (existing.st_mode & 0777) : 0644);
  FILE* file = ::fdopen(fd, "wb");
  SDL_RWops* out = file != nullptr ? SDL_RWFromFP(file, SDL_TRUE) : nullptr;
  if (out == nullptr) {
    if (file != nullptr)
      std::fclose(file);
    else
      ::close(fd);
    ::unlink(temporary.c_str());
    throw RuntimeError("cannot write " + path);
  }
  if (SDL_SaveBMP_RW(rgb.get(), out, 1) != 0) {
    ::unlink(temporary.c_str());
    throw RuntimeError("cannot write " + path);
  }
  if (std::rename(temporary.c_str(), real.c_str()) != 0) {
    ::unlink(temporary.c_str());
    throw RuntimeError("cannot replace " + path);
  }
}

}  // namespace platform
