#pragma once

// Captures what the mixer plays: the disk audio driver writes the mixed output to a file
// in real time, which the tests read back and measure.

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "platform/sound.h"
#include "temp_folder.h"

class DiskAudio {
 public:
  // Must run before the audio device opens: the driver is chosen once, at that moment.
  DiskAudio() {
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", (folder_ / "output.raw").c_str(), 1);
  }
  const test_support::TempFolder& folder() const { return folder_; }

  // Opens the device and learns its format; false when it did not open.
  bool Open() {
    if (!platform::AudioDeviceOpen()) return false;
    Uint16 format = 0;
    Mix_QuerySpec(&rate_, &format, &channels_);
    return format == AUDIO_S16SYS;
  }
  int rate() const { return rate_; }

  // The point in the output reached so far.
  std::uintmax_t Mark() const { return std::filesystem::file_size(folder_ / "output.raw"); }

  // The first channel's samples, in -1..1, of the `seconds` of output from `mark` on;
  // waits until they have been written.
  std::vector<double> Samples(std::uintmax_t mark, double seconds) const {
    const auto frame = static_cast<std::uintmax_t>(2 * channels_);
    const auto frames = static_cast<std::uintmax_t>(seconds * rate_);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (Mark() < mark + frames * frame && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::ifstream in(folder_ / "output.raw", std::ios::binary);
    in.seekg(static_cast<std::streamoff>(mark - mark % frame));
    std::vector<std::int16_t> raw(frames * channels_);
    in.read(reinterpret_cast<char*>(raw.data()), static_cast<std::streamsize>(raw.size() * 2));
    std::vector<double> samples;
    for (std::size_t i = 0; i < raw.size(); i += channels_) samples.push_back(raw[i] / 32768.0);
    return samples;
  }

  // The part of `samples` between two times, in seconds from their start.
  std::vector<double> Between(const std::vector<double>& samples, double from, double to) const {
    const auto first = static_cast<std::size_t>(from * rate_);
    const auto last = std::min(samples.size(), static_cast<std::size_t>(to * rate_));
    return {samples.begin() + static_cast<std::ptrdiff_t>(std::min(first, last)),
            samples.begin() + static_cast<std::ptrdiff_t>(last)};
  }

  static double Peak(const std::vector<double>& samples) {
    double peak = 0;
    for (double s : samples) peak = std::max(peak, std::abs(s));
    return peak;
  }
  static double Rms(const std::vector<double>& samples) {
    double sum = 0;
    for (double s : samples) sum += s * s;
    return samples.empty() ? 0 : std::sqrt(sum / samples.size());
  }
  // The pitch of a pure tone, from how often it crosses zero while it sounds: the quiet
  // before and after it is left out, so that a sound the device starts late still measures.
  double Frequency(const std::vector<double>& samples) const {
    const auto loud = [](double s) { return std::abs(s) > 0.01; };
    const auto first = std::find_if(samples.begin(), samples.end(), loud);
    const auto last = std::find_if(samples.rbegin(), samples.rend(), loud).base();
    if (first >= last) return 0;
    int crossings = 0;
    for (auto i = first + 1; i < last; ++i) {
      if ((*(i - 1) < 0) != (*i < 0)) ++crossings;
    }
    return crossings / 2.0 * rate_ / static_cast<double>(last - first);
  }

 private:
  test_support::TempFolder folder_;
  int rate_ = 0;
  int channels_ = 0;
};

// The one capture of this process's output.
inline DiskAudio& Audio() {
  static DiskAudio audio;
  return audio;
}
