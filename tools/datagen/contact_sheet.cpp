#include "contact_sheet.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "raster.h"
#include "style.h"
#include "text.h"

namespace datagen {
namespace {

constexpr int kColumns = 8;
constexpr int kCellWidth = 250, kCellHeight = 230, kLabelHeight = 24, kGap = 8;

struct SurfaceFreer {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceFreer>;

bool IsPicture(const std::string& name) {
  for (const char* ending : {".JPG", ".GIF", ".ICO", ".CUR"}) {
    if (name.ends_with(ending)) return true;
  }
  return false;
}

Image Decode(const NamedFile& file) {
  SDL_RWops* rw = SDL_RWFromConstMem(file.bytes.data(), static_cast<int>(file.bytes.size()));
  SurfacePtr loaded(IMG_Load_RW(rw, 1));
  if (!loaded) throw std::runtime_error(file.name + " does not decode: " + IMG_GetError());
  SurfacePtr argb(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_ARGB8888, 0));
  if (!argb) throw std::runtime_error(SDL_GetError());
  Image image(argb->w, argb->h);
  for (int y = 0; y < argb->h; ++y) {
    const auto* row =
        reinterpret_cast<const Uint32*>(static_cast<const char*>(argb->pixels) + y * argb->pitch);
    for (int x = 0; x < argb->w; ++x) {
      const Uint32 p = row[x];
      image.Blend(x, y,
                  {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                   static_cast<std::uint8_t>(p)},
                  static_cast<float>(p >> 24) / 255.0f);
    }
  }
  return image;
}

}  // namespace

void WriteContactSheet(const DataSet& set, const std::string& png_path) {
  std::vector<const NamedFile*> pictures;
  for (const NamedFile& f : set.files) {
    if (IsPicture(f.name)) pictures.push_back(&f);
  }
  for (const NamedFile& f : set.built_in) {
    if (f.name.ends_with(".JPG")) continue;  // the same bytes as a data file already shown
    pictures.push_back(&f);
  }
  const int rows = (static_cast<int>(pictures.size()) + kColumns - 1) / kColumns;
  Image sheet(kColumns * kCellWidth, rows * kCellHeight, {90, 90, 110});
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    const int left = static_cast<int>(i % kColumns) * kCellWidth;
    const int top = static_cast<int>(i / kColumns) * kCellHeight;
    const Image picture = Decode(*pictures[i]);
    const int room_w = kCellWidth - 2 * kGap, room_h = kCellHeight - kLabelHeight - 2 * kGap;
    const float scale = std::min({1.0f, static_cast<float>(room_w) / picture.width(),
                                  static_cast<float>(room_h) / picture.height()});
    const int w = std::max(1, static_cast<int>(picture.width() * scale));
    const int h = std::max(1, static_cast<int>(picture.height() * scale));
    const int x = left + (kCellWidth - w) / 2, y = top + kGap + (room_h - h) / 2;
    Fill(sheet,
         Box(static_cast<float>(x), static_cast<float>(y), static_cast<float>(x + w),
             static_cast<float>(y + h)),
         Colour{200, 200, 210});  // shows the transparent parts of pointers
    Paste(sheet, scale < 1 ? Scaled(picture, w, h) : picture, x, y);
    const std::string& name = pictures[i]->name;
    const std::string label = name.substr(name.find('/') + 1);
    DrawText(sheet, label, left + kCellWidth / 2.0f, top + kCellHeight - kLabelHeight / 2.0f - 2,
             {12, style::kWhite, style::kInk, 0});
  }
  SurfacePtr out(
      SDL_CreateRGBSurfaceWithFormat(0, sheet.width(), sheet.height(), 24, SDL_PIXELFORMAT_RGB24));
  if (!out) throw std::runtime_error(SDL_GetError());
  for (int y = 0; y < sheet.height(); ++y) {
    auto* row = static_cast<std::uint8_t*>(out->pixels) + y * out->pitch;
    for (int x = 0; x < sheet.width(); ++x) {
      const Colour c = sheet.At(x, y);
      row[3 * x] = c.r;
      row[3 * x + 1] = c.g;
      row[3 * x + 2] = c.b;
    }
  }
  if (IMG_SavePNG(out.get(), png_path.c_str()) != 0) {
    throw std::runtime_error("cannot write " + png_path + ": " + IMG_GetError());
  }
}

}  // namespace datagen
