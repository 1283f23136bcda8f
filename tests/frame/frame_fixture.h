#pragma once

#include <SDL.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app_fixture.h"
#include "platform/failure.h"

namespace frame_test {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

using test_support::ClickOn;
using test_support::PumpFor;

inline std::vector<std::string> Lines(const fs::path& file) {
  std::vector<std::string> lines;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

inline void WriteExecutable(const fs::path& file, const std::string& text) {
  fs::remove(file);
  std::ofstream(file) << text;
  fs::permissions(file, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
}

// Stands in for the desktop's browser launcher while it lives: every address the program
// hands over is written to a log, and nothing else starts.
class FakeBrowser {
 public:
  FakeBrowser() {
    WriteExecutable(dir_.path() / "xdg-open",
                    "#!/bin/sh\necho \"$1\" >> '" + dir_ / "opened.log" + "'\n");
    old_path_ = std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin";
    ::setenv("PATH", (dir_.path().string() + ":" + old_path_).c_str(), 1);
  }
  ~FakeBrowser() { ::setenv("PATH", old_path_.c_str(), 1); }
  // The addresses opened so far, after giving a launcher just started time to write.
  std::vector<std::string> Opened(std::chrono::milliseconds settle = 400ms) const {
    std::this_thread::sleep_for(settle);
    return Lines(dir_ / "opened.log");
  }

 private:
  test_support::TempFolder dir_;
  std::string old_path_;
};

// A standard MIDI file of one track that plays a single note for `seconds` (at the default
// tempo of 120 quarter notes a minute, 96 ticks a quarter).
inline void WriteShortMidi(const fs::path& file, double seconds) {
  const auto ticks = static_cast<std::uint32_t>(seconds * 192);
  std::vector<unsigned char> delta;  // variable-length quantity
  for (std::uint32_t v = ticks, first = 1; first || v; first = 0, v >>= 7) {
    delta.insert(delta.begin(), static_cast<unsigned char>((v & 0x7F) | (first ? 0 : 0x80)));
  }
  std::vector<unsigned char> track = {0x00, 0x90, 60, 100};
  track.insert(track.end(), delta.begin(), delta.end());
  track.insert(track.end(), {0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00});
  std::vector<unsigned char> bytes = {
      'M', 'T', 'h', 'd', 0,   0,   0,   6, 0, 0, 0,
      1,   0,   96,  'M', 'T', 'r', 'k', 0, 0, 0, static_cast<unsigned char>(track.size())};
  bytes.insert(bytes.end(), track.begin(), track.end());
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

class FrameTest : public test_support::AppTest {
 protected:
  void SetUp() override {
    // Music and sounds play to no device, whatever the machine has.
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    AppTest::SetUp();
  }

  void StartFully() {
    StartProgram();
    ASSERT_FALSE(ended.has_value()) << "start-up ended the program";
  }
};

}  // namespace frame_test
