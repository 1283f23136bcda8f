// The data generator: makes the program's data set (PICTURE, SOUND, MUSIC, MY_PICTURE and
// the two web pages) and the source of the built-in design pictures, deterministically.
//
//   datagen <app_dir> <generated_dir>
//   datagen --contact-sheet <png_path>
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "built_in_source.h"
#include "contact_sheet.h"
#include "data_set.h"

namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const char* data, std::size_t size) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(data, static_cast<std::streamsize>(size));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

// The desktop's menu shows the window's icon, as PNGs of the sizes icon themes look for:
// <dir>/<size>/colouring-book.png.
void WriteDesktopIcons(const std::vector<std::uint8_t>& ico, const fs::path& dir) {
  SDL_Surface* icon = IMG_Load_RW(SDL_RWFromConstMem(ico.data(), static_cast<int>(ico.size())), 1);
  if (icon == nullptr) throw std::runtime_error("cannot read the window icon");
  SDL_SetSurfaceBlendMode(icon, SDL_BLENDMODE_NONE);
  for (const int size : {48, 128, 256}) {
    const fs::path png = dir / std::to_string(size) / "colouring-book.png";
    fs::create_directories(png.parent_path());
    SDL_Surface* large =
        SDL_CreateRGBSurfaceWithFormat(0, size, size, 32, SDL_PIXELFORMAT_ARGB8888);
    const bool ok = large != nullptr && SDL_BlitScaled(icon, nullptr, large, nullptr) == 0 &&
                    IMG_SavePNG(large, png.string().c_str()) == 0;
    SDL_FreeSurface(large);
    if (!ok) {
      SDL_FreeSurface(icon);
      throw std::runtime_error("cannot write " + png.string());
    }
  }
  SDL_FreeSurface(icon);
}

void WriteDataSet(const fs::path& app_dir, const fs::path& generated_dir) {
  const datagen::DataSet set = datagen::MakeDataSet();
  for (const char* folder : {"PICTURE", "SOUND", "MUSIC", "MY_PICTURE"}) {
    fs::create_directories(app_dir / folder);
  }
  std::string sizes;
  for (const datagen::NamedFile& f : set.files) {
    WriteFile(app_dir / f.name, reinterpret_cast<const char*>(f.bytes.data()), f.bytes.size());
    sizes += std::to_string(f.bytes.size()) + " " + f.name + "\n";
  }
  const std::string source = datagen::BuiltInSource(set.built_in);
  WriteFile(generated_dir / "design_pictures.cpp", source.data(), source.size());
  for (const datagen::NamedFile& f : set.built_in) {
    if (f.name == "WINDOW.ICO") WriteDesktopIcons(f.bytes, generated_dir / "icons");
  }
  // Last, so that the build finds it only beside a whole set: what it checks the set by.
  WriteFile(generated_dir / "data_set.sizes", sizes.data(), sizes.size());
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 3 && std::string(argv[1]) == "--contact-sheet") {
      datagen::WriteContactSheet(datagen::MakeDataSet(), argv[2]);
    } else if (argc == 3) {
      WriteDataSet(argv[1], argv[2]);
    } else {
      std::fprintf(stderr,
                   "usage: datagen <app_dir> <generated_dir>\n"
                   "       datagen --contact-sheet <png_path>\n");
      return 2;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "datagen: %s\n", e.what());
    return 1;
  }
  return 0;
}
