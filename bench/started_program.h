#pragma once

#include <unistd.h>

#include <filesystem>
#include <memory>

#include "frame/forma_main.h"
#include "frame/module_state.h"
#include "platform/keyboard_hook.h"
#include "platform/runtime.h"

namespace bench_support {

namespace fs = std::filesystem;

// A private copy of the data set in a directory whose name mixes case, as a user's might.
struct DataCopy {
  DataCopy() {
    std::string pattern = (fs::temp_directory_path() / "colouring-bench-XXXXXX").string();
    root = ::mkdtemp(pattern.data());
    dir = root / "Colouring Book";
    fs::create_directories(dir);
    fs::copy(COLOURING_APP_DIR, dir, fs::copy_options::recursive);
  }
  ~DataCopy() { fs::remove_all(root); }
  fs::path root, dir;
};

// Starts the program as main does, the clock running `clock_rate` times fast during start-up.
inline std::unique_ptr<FormaMain> StartProgram(const DataCopy& data, double clock_rate) {
  reset_module_state();
  platform::SetAppPath(data.dir.string());
  platform::SetClockRate(clock_rate);
  auto forma = std::make_unique<FormaMain>();
  forma->Load();
  forma->Show();
  platform::SetClockRate(1.0);
  return forma;
}

inline void StopProgram(std::unique_ptr<FormaMain>& forma) {
  if (forma->hook_id != 0) platform::UnhookWindowsHookEx(forma->hook_id);
  forma.reset();
}

// The program started on its main screen.
struct StartedProgram {
  StartedProgram() : forma(StartProgram(data, 500.0)) {}
  ~StartedProgram() { StopProgram(forma); }
  DataCopy data;
  std::unique_ptr<FormaMain> forma;
};

}  // namespace bench_support
