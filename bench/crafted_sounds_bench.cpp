// Sound files crafted to make the mixer's conversion slow or large, converted for the device
// as a palette click does with bytes it has not seen before; and a picture and a sound grown
// to 1.5 GB with nothing on disk, asked for as the program asks. Every such load, played or
// refused, should end within 50 ms; the longest of these medians is the figure to hold
// against that bound, and peak_rss_growth_mb shows that the huge files were never read.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "crafted_files.h"
#include "crafted_loads.h"
#include "platform/failure.h"
#include "platform/picture.h"
#include "platform/sound.h"
#include "platform/sound_check.h"
#include "processes.h"

namespace {

namespace fs = std::filesystem;
using bench_support::Crafted;
using test_support::FileBytes;
using test_support::ReadFileBytes;
using test_support::WavFormatOf;
using test_support::WriteFileBytes;

FileBytes DataSound(const char* name) {
  return ReadFileBytes(fs::path(COLOURING_APP_DIR) / "SOUND" / name);
}

long PeakResidentMb() { return test_support::PeakResidentKb() / 1024; }

void ConvertCrafted(benchmark::State& state, const Crafted& crafted) {
  if (!platform::AudioDeviceOpen()) {
    state.SkipWithError("no audio device");
    return;
  }
  // sndPlaySoundA itself would skip the check and the mixer for bytes it has already converted.
  bench_support::TimeCraftedLoads(state, crafted, ".WAV", "played",
                                  [](const FileBytes& bytes, const std::string& name) {
                                    benchmark::DoNotOptimize(platform::ConvertSound(bytes, name));
                                  });
}

const Crafted kCrafted[] = {
    {"LongestOwnSound", [] { return DataSound("ZUTA.WAV"); }},
    {"OwnSoundAt1Hz", [] { return test_support::WavAtRate(DataSound("BRAON.WAV"), 1); }},
    {"OwnSoundAt2Hz", [] { return test_support::WavAtRate(DataSound("BRAON.WAV"), 2); }},
    {"OwnSoundAt3Hz", [] { return test_support::WavAtRate(DataSound("BRAON.WAV"), 3); }},
    {"LongestTakenAtTheLowestRate",
     [] {
       return test_support::CraftedWav(WavFormatOf(1, 8, platform::kLowestSoundRate),
                                       platform::kLongestSoundSeconds * platform::kLowestSoundRate);
     }},
    {"LongestTakenAtTheHighestRateInStereo",
     [] {
       return test_support::CraftedWav(
           WavFormatOf(2, 16, platform::kHighestSoundRate),
           std::size_t{4} * platform::kLongestSoundSeconds * platform::kHighestSoundRate);
     }},
    {"OneFrameLongerThanTaken",
     [] {
       return test_support::CraftedWav(
           WavFormatOf(1, 8, platform::kLowestSoundRate),
           platform::kLongestSoundSeconds * platform::kLowestSoundRate + 1);
     }},
    {"ShortSoundPaddedToTheLargestFile",
     [] {
       return test_support::CraftedWav(WavFormatOf(1, 16, 22050), 20000,
                                       platform::kLargestSoundFile);
     }},
};

// The player says a line for every sound it refuses: a million of them would bury the
// benchmarks' output, so they go nowhere while it runs.
class StderrSilenced {
 public:
  StderrSilenced() : saved_(::dup(STDERR_FILENO)) {
    const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    ::dup2(nowhere, STDERR_FILENO);
    ::close(nowhere);
  }
  StderrSilenced(const StderrSilenced&) = delete;
  StderrSilenced& operator=(const StderrSilenced&) = delete;
  ~StderrSilenced() {
    ::dup2(saved_, STDERR_FILENO);
    ::close(saved_);
  }

 private:
  int saved_;
};

// The program's own file grown to 1.5 GB, asked for as a hover or a click asks for it.
void AskForHugeFile(benchmark::State& state, bool picture) {
  const fs::path own =
      fs::path(COLOURING_APP_DIR) / (picture ? "PICTURE/MOREIMAGES2.JPG" : "SOUND/CRVENA.WAV");
  const fs::path file = bench_support::ScratchFile(picture ? ".JPG" : ".WAV");
  WriteFileBytes(file, ReadFileBytes(own));
  test_support::GrowSparsely(file.c_str(), 3LL << 29);
  if (!picture && !platform::AudioDeviceOpen()) {
    state.SkipWithError("no audio device");
    return;
  }
  const long before = PeakResidentMb();
  const StderrSilenced quiet;
  for (auto _ : state) {
    if (picture) {
      try {
        benchmark::DoNotOptimize(platform::LoadPicture(file.string()));
      } catch (const platform::RuntimeError&) {
      }
    } else {
      benchmark::DoNotOptimize(platform::sndPlaySoundA(file.string(), platform::SND_ASYNC));
    }
  }
  fs::remove(file);
  state.counters["peak_rss_mb"] = static_cast<double>(PeakResidentMb());
  state.counters["peak_rss_growth_mb"] = static_cast<double>(PeakResidentMb() - before);
}

[[maybe_unused]] const bool kRegistered = [] {
  bench_support::RegisterCrafted("BM_ConvertCraftedSound", kCrafted, ConvertCrafted);
  benchmark::RegisterBenchmark("BM_AskForHugeFile/Picture", [](benchmark::State& state) {
    AskForHugeFile(state, true);
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_AskForHugeFile/Sound", [](benchmark::State& state) {
    AskForHugeFile(state, false);
  })->Unit(benchmark::kMillisecond);
  return true;
}();

}  // namespace
