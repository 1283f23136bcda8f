// A pointer movement over the bare form: the colouring page's heaviest hover reset, 18
// pictures read from disk, as the handler alone and as a real event through the event loop.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include "platform/form.h"
#include "started_program.h"

namespace {

using bench_support::StartedProgram;

void BM_FormMouseMove(benchmark::State& state) {
  StartedProgram program;
  for (auto _ : state) program.forma->Form_MouseMove(0, 0, 800.0f, 100.0f);
}
BENCHMARK(BM_FormMouseMove)->Unit(benchmark::kMillisecond);

void BM_FormMouseMoveEvent(benchmark::State& state) {
  StartedProgram program;
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.x = 800;
  for (auto _ : state) {
    e.motion.y = e.motion.y == 100 ? 101 : 100;
    SDL_PushEvent(&e);
    platform::DoEvents();
  }
}
BENCHMARK(BM_FormMouseMoveEvent)->Unit(benchmark::kMillisecond);

}  // namespace
