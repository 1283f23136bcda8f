#pragma once

// A crafted file is timed as the program meets a data file whose bytes it has not seen
// before: written to disk once, then read back and handed to the loader every time, since
// the loaders give again what they already made from the same bytes.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <span>
#include <string>

#include "crafted_files.h"
#include "platform/failure.h"

namespace bench_support {

// A file of this process's own in the temporary folder.
inline std::filesystem::path ScratchFile(const char* extension) {
  return std::filesystem::temp_directory_path() /
         ("crafted-" + std::to_string(::getpid()) + extension);
}

struct Crafted {
  const char* name;
  std::function<test_support::FileBytes()> make;
};

// `load` throws the run-time failure for a file it refuses; the label says whether it took
// the file (`taken` names how) and how large the file was.
inline void TimeCraftedLoads(
    benchmark::State& state, const Crafted& crafted, const char* extension, const char* taken,
    const std::function<void(const test_support::FileBytes&, const std::string&)>& load) {
  const test_support::FileBytes bytes = crafted.make();
  const std::filesystem::path file = ScratchFile(extension);
  test_support::WriteFileBytes(file, bytes);
  bool took = false;
  for (auto _ : state) {
    try {
      load(test_support::ReadFileBytes(file), file.string());
      took = true;
    } catch (const platform::RuntimeError&) {
      took = false;
    }
  }
  std::filesystem::remove(file);
  state.SetLabel(std::string(took ? taken : "refused") + ", " + std::to_string(bytes.size()) +
                 " bytes");
}

// One benchmark, `family`/name, for each crafted file.
inline void RegisterCrafted(const std::string& family, std::span<const Crafted> table,
                            void (*time)(benchmark::State&, const Crafted&)) {
  for (const Crafted& c : table) {
    benchmark::RegisterBenchmark((family + "/" + c.name).c_str(), [&c,
                                                                   time](benchmark::State& state) {
      time(state, c);
    })->Unit(benchmark::kMillisecond);
  }
}

}  // namespace bench_support
