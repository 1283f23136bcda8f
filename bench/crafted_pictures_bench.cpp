// Picture files crafted to keep the decoders busy, each written to disk, read back and decoded
// as the program does with a data file whose bytes it has not seen before: every such load,
// shown or refused, should end within 50 ms. The longest of these medians is the figure to
// hold against that bound.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "crafted_files.h"
#include "platform/failure.h"
#include "platform/picture.h"

namespace {

namespace fs = std::filesystem;
using test_support::FileBytes;

FileBytes DataFile(const char* name) {
  return test_support::ReadFileBytes(fs::path(COLOURING_APP_DIR) / "PICTURE" / name);
}

std::uintmax_t DataFileSize(const char* name) {
  return fs::file_size(fs::path(COLOURING_APP_DIR) / "PICTURE" / name);
}

void LoadCrafted(benchmark::State& state, const std::function<FileBytes()>& make) {
  const FileBytes bytes = make();
  const fs::path file =
      fs::temp_directory_path() / ("crafted-" + std::to_string(::getpid()) + ".PIC");
  test_support::WriteFileBytes(file, bytes);
  bool shown = false;
  for (auto _ : state) {
    try {
      // LoadPicture would give a picture it has already decoded from the same bytes again, so
      // the file is read here and its bytes go to the decoders every time.
      benchmark::DoNotOptimize(
          platform::LoadPictureFromMemory(test_support::ReadFileBytes(file), file.string()));
      shown = true;
    } catch (const platform::RuntimeError&) {
      shown = false;
    }
  }
  fs::remove(file);
  state.SetLabel(std::string(shown ? "shown" : "refused") + ", " + std::to_string(bytes.size()) +
                 " bytes");
}

struct Crafted {
  const char* name;
  std::function<FileBytes()> make;
};

const Crafted kCrafted[] = {
    {"DrawingResplitIntoOneByteSubBlocks",
     [] { return test_support::ResplitGifSubBlocks(DataFile("07.GIF"), 1); }},
    {"GifOfTheLargestAreaTaken", [] { return test_support::PlainGif(2048, 1024); }},
    {"GifBeyondTheLargestArea", [] { return test_support::PlainGif(4096, 4096); }},
    {"BaselineJpegOfTheLargestAreaTaken",
     [] { return test_support::PlainJpeg(2048, 1024, false); }},
    {"ProgressiveJpegOfTheScreen", [] { return test_support::PlainJpeg(1024, 768, true); }},
    {"ProgressiveJpegOfTheLargestArea", [] { return test_support::PlainJpeg(2048, 1024, true); }},
    {"Jpeg4096x4096WithScansRepeatedToGalleryBackgroundSize",
     [] { return test_support::JpegWithRepeatedScan(4096, 4096, DataFileSize("GALERIJA.JPG")); }},
    {"Jpeg1024x768WithScansRepeatedToGalleryBackgroundSize",
     [] { return test_support::JpegWithRepeatedScan(1024, 768, DataFileSize("GALERIJA.JPG")); }},
    {"Jpeg1024x1024WithScansRepeatedToHoverPictureSize",
     [] { return test_support::JpegWithRepeatedScan(1024, 1024, DataFileSize("BOJE2_02.JPG")); }},
};

[[maybe_unused]] const bool kRegistered = [] {
  for (const Crafted& c : kCrafted) {
    benchmark::RegisterBenchmark((std::string("BM_LoadCraftedPicture/") + c.name).c_str(),
                                 [&c](benchmark::State& state) { LoadCrafted(state, c.make); })
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace
