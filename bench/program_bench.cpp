// The program's heavier moments: a palette click (12 pictures from disk), opening the gallery
// (26 pictures), and start-up without its two three-second waits.
#include <benchmark/benchmark.h>

#include "started_program.h"

namespace {

using bench_support::DataCopy;
using bench_support::StartedProgram;

void BM_PaletteClick(benchmark::State& state) {
  StartedProgram program;
  for (auto _ : state) program.forma->PaletaZelena.Click();
}
BENCHMARK(BM_PaletteClick)->Unit(benchmark::kMillisecond);

void BM_OpeningTheGallery(benchmark::State& state) {
  StartedProgram program;
  for (auto _ : state) {
    program.forma->MoreImages_Click();
    state.PauseTiming();
    program.forma->Back_Click();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpeningTheGallery)->Unit(benchmark::kMillisecond);

// The clock runs a million times fast, so both waits end at their first reading.
void BM_StartUpWithoutItsWaits(benchmark::State& state) {
  DataCopy data;
  for (auto _ : state) {
    auto forma = bench_support::StartProgram(data, 1e6);
    state.PauseTiming();
    bench_support::StopProgram(forma);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartUpWithoutItsWaits)->Unit(benchmark::kMillisecond);

}  // namespace
