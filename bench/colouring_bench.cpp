// A pointer movement over the bare form: the colouring page's heaviest hover reset, 18
// pictures read from disk, as the handler alone and as a real event through the event loop.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "frame/forma_main.h"
#include "frame/module_state.h"
#include "platform/form.h"
#include "platform/keyboard_hook.h"
#include "platform/runtime.h"

namespace {

namespace fs = std::filesystem;

// The program started on its main screen, with a private copy of the data set in a directory
// whose name mixes case, as a user's might.
struct StartedProgram {
  StartedProgram() {
    std::string pattern = (fs::temp_directory_path() / "colouring-bench-XXXXXX").string();
    root = ::mkdtemp(pattern.data());
    const fs::path dir = root / "Colouring Book";
    fs::create_directories(dir);
    fs::copy(COLOURING_APP_DIR, dir, fs::copy_options::recursive);
    reset_module_state();
    platform::SetAppPath(dir.string());
    platform::SetClockRate(500.0);  // start-up's waits pass quickly
    forma = std::make_unique<FormaMain>();
    forma->Load();
    forma->Show();
    platform::SetClockRate(1.0);
  }
  ~StartedProgram() {
    if (forma->hook_id != 0) platform::UnhookWindowsHookEx(forma->hook_id);
    forma.reset();
    fs::remove_all(root);
  }
  fs::path root;
  std::unique_ptr<FormaMain> forma;
};

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
