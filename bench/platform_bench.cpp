// The platform layer's hot paths at the program's own sizes: the fill of the whole canvas,
// one full frame of the window, and one small picture read from disk.
#include <SDL.h>
#include <SDL_image.h>
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "image.h"
#include "platform/canvas.h"
#include "platform/form.h"
#include "platform/picture.h"
#include "platform/runtime.h"

namespace {

using test_support::Solid;

void BM_FloodFillOfTheWholeEmptyCanvas(benchmark::State& state) {
  platform::Canvas canvas{"Slika", 30, 29, 750, 600, 0};
  platform::Form form{"fill", 1023, 766};
  form.Add(canvas);
  canvas.SetPicture(Solid(750, 600, 0xFFFFFFFF));
  form.Show();
  std::uint32_t colours[2] = {0xFFFFFF, 0x0000FF};  // white and red colour values
  int i = 0;
  for (auto _ : state) {
    canvas.SetFillColor(colours[1 - i]);
    benchmark::DoNotOptimize(
        platform::ExtFloodFill(canvas.hDC(), 375, 300, colours[i], platform::FLOODFILLSURFACE));
    i = 1 - i;
  }
  form.Unload();
}
BENCHMARK(BM_FloodFillOfTheWholeEmptyCanvas)->Unit(benchmark::kMillisecond);

// The main screen's layout: the canvas, a row of twelve palette buttons and seven buttons on
// the right, over a background one column and two rows larger than the window.
void BM_ComposeAndPresentAFullFrame(benchmark::State& state) {
  std::vector<std::unique_ptr<platform::PictureBox>> boxes;
  for (int i = 0; i < 12; ++i) {
    boxes.push_back(
        std::make_unique<platform::PictureBox>("palette", 8 + 84 * i, 675, 84, 85, 4 + i));
  }
  const int right[7][4] = {{936, 412, 63, 61}, {825, 412, 112, 61},  {804, 571, 62, 81},
                           {871, 571, 58, 81}, {832, 241, 160, 169}, {835, 485, 78, 79},
                           {919, 485, 78, 78}};
  for (const auto& r : right) {
    boxes.push_back(std::make_unique<platform::PictureBox>("button", r[0], r[1], r[2], r[3], 20));
  }
  platform::Canvas canvas{"Slika", 30, 29, 750, 600, 0};
  platform::Form form{"frame", 1023, 766};
  for (auto& b : boxes) {
    b->SetPicture(Solid(b->Width(), b->Height(), 0xFF336699));
    form.Add(*b);
  }
  form.Add(canvas);
  canvas.SetPicture(Solid(750, 600, 0xFFFFFFFF));
  const platform::Picture background = Solid(1024, 768, 0xFF88AA44);
  form.Show();
  for (auto _ : state) {
    form.SetPicture(background);  // everything to be composed again
    form.Present();
  }
  form.Unload();
}
BENCHMARK(BM_ComposeAndPresentAFullFrame)->Unit(benchmark::kMillisecond);

// A palette-button-sized JPEG with soft shading and hard edges, as the button pictures have.
class JpegOnDisk {
 public:
  JpegOnDisk() {
    std::string name = (std::filesystem::temp_directory_path() / "bench-XXXXXX").string();
    if (::mkdtemp(name.data()) != nullptr) dir_ = name;
    std::filesystem::create_directories(dir_ / "Colouring Book" / "PICTURE");
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 85, 85, 24, SDL_PIXELFORMAT_RGB24);
    for (int y = 0; y < 85; ++y) {
      auto* row = static_cast<std::uint8_t*>(s->pixels) + y * s->pitch;
      for (int x = 0; x < 85; ++x) {
        const bool blot = std::hypot(x - 42.0, y - 42.0) < 30.0;
        row[3 * x] = static_cast<std::uint8_t>(blot ? 220 : 250 - y);
        row[3 * x + 1] = static_cast<std::uint8_t>(blot ? 30 + x : 245);
        row[3 * x + 2] = static_cast<std::uint8_t>(blot ? 40 : 240 - x / 2);
      }
    }
    IMG_SaveJPG(s, File().c_str(), 90);
    SDL_FreeSurface(s);
  }
  ~JpegOnDisk() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  std::string File() const {
    return (dir_ / "Colouring Book" / "PICTURE" / "BOJE1_01.JPG").string();
  }
  // As the program names it: its directory in upper case, then a Windows-style literal.
  std::string ProgramPath() const {
    return platform::UCase((dir_ / "Colouring Book").string()) + "\\PICTURE\\BOJE1_01.JPG";
  }

 private:
  std::filesystem::path dir_;
};

void BM_LoadAnEightyFivePixelJpeg(benchmark::State& state) {
  JpegOnDisk jpeg;
  const std::string path = state.range(0) == 0 ? jpeg.File() : jpeg.ProgramPath();
  // A full picture directory around it, as the data set has.
  for (int i = 0; i < 146; ++i) {
    std::filesystem::copy_file(jpeg.File(), jpeg.File() + std::to_string(i) + ".JPG");
  }
  for (auto _ : state) benchmark::DoNotOptimize(platform::LoadPicture(path));
  state.SetLabel(state.range(0) == 0 ? "exact path" : "upper-case program path");
}
BENCHMARK(BM_LoadAnEightyFivePixelJpeg)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
