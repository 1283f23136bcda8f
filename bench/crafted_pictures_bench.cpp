// Picture files crafted to keep the decoders busy: every such load, shown or refused, should
// end within 50 ms. The longest of these medians is the figure to hold against that bound.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "crafted_files.h"
#include "crafted_loads.h"
#include "platform/picture.h"

namespace {

namespace fs = std::filesystem;
using bench_support::Crafted;
using test_support::FileBytes;

FileBytes DataFile(const char* name) {
  return test_support::ReadFileBytes(fs::path(COLOURING_APP_DIR) / "PICTURE" / name);
}

std::uintmax_t DataFileSize(const char* name) {
  return fs::file_size(fs::path(COLOURING_APP_DIR) / "PICTURE" / name);
}

void LoadCrafted(benchmark::State& state, const Crafted& crafted) {
  bench_support::TimeCraftedLoads(
      state, crafted, ".PIC", "shown", [](const FileBytes& bytes, const std::string& name) {
        benchmark::DoNotOptimize(platform::LoadPictureFromMemory(bytes, name));
      });
}

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
  bench_support::RegisterCrafted("BM_LoadCraftedPicture", kCrafted, LoadCrafted);
  return true;
}();

}  // namespace
