#include "platform/sound_check.h"

#include <algorithm>
#include <cstring>

#include "platform/failure.h"

namespace platform {
namespace {

using Bytes = std::span<const unsigned char>;

[[noreturn]] void Refuse(const std::string& name, const char* why) {
  throw RuntimeError("sound " + name + " refused: " + why);
}

// `count` bytes from `at`, least significant first; the caller has made sure they are there.
std::uint32_t LittleEndian(Bytes b, std::size_t at, int count) {
  std::uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | b[at + static_cast<std::size_t>(i)];
  return value;
}

bool IsTag(Bytes b, std::size_t at, const char* tag) {
  return b.size() - at >= 4 && std::memcmp(b.data() + at, tag, 4) == 0;
}

SoundFormat CheckFormat(Bytes chunk, const std::string& name) {
  if (chunk.size() < 16) Refuse(name, "its format chunk is short");
  if (LittleEndian(chunk, 0, 2) != 1) Refuse(name, "it is not plain PCM");
  SoundFormat format;
  format.channels = LittleEndian(chunk, 2, 2);
  format.rate = LittleEndian(chunk, 4, 4);
  format.bits = LittleEndian(chunk, 14, 2);
  if (format.channels != 1 && format.channels != 2)
    Refuse(name, "it has neither one channel nor two");
  if (format.bits != 8 && format.bits != 16) Refuse(name, "its samples are neither 8 nor 16 bits");
  if (format.rate < kLowestSoundRate || format.rate > kHighestSoundRate) {
    Refuse(name, "its sample rate is out of bounds");
  }
  const std::uint32_t block = format.channels * format.bits / 8;
  if (LittleEndian(chunk, 12, 2) != block || LittleEndian(chunk, 8, 4) != format.rate * block) {
    Refuse(name, "its block size or byte rate disagrees with its format");
  }
  return format;
}

}  // namespace

CheckedSound CheckSoundData(Bytes b, const std::string& name) {
  if (b.size() > kLargestSoundFile) Refuse(name, "it is too long to be one of ours");
  if (b.size() < 12 || !IsTag(b, 0, "RIFF") || !IsTag(b, 8, "WAVE")) {
    Refuse(name, "it is no RIFF WAVE file");
  }
  // The RIFF length is not trusted, as many writers get it wrong: the file's own end bounds
  // the walk.
  bool has_format = false;
  CheckedSound sound;
  for (std::size_t at = 12; b.size() - at >= 8;) {
    const std::size_t length = LittleEndian(b, at + 4, 4);
    const std::size_t body = at + 8;
    if (length > b.size() - body) Refuse(name, "a chunk runs past the end of the file");
    const Bytes chunk = b.subspan(body, length);
    if (IsTag(b, at, "fmt ")) {
      if (has_format) Refuse(name, "it has two format chunks");
      sound.format = CheckFormat(chunk, name);
      has_format = true;
    } else if (IsTag(b, at, "data")) {
      if (!has_format) Refuse(name, "its samples come before their format");
      const std::size_t block = sound.format.channels * sound.format.bits / 8;
      if (length == 0) Refuse(name, "it has no samples");
      if (length % block != 0) Refuse(name, "its samples end inside a frame");
      if (length / block > std::size_t{kLongestSoundSeconds} * sound.format.rate) {
        Refuse(name, "it plays longer than any sound of ours");
      }
      sound.samples = chunk;
      return sound;
    }
    at = body + length + (length & 1);
    if (at > b.size()) break;
  }
  Refuse(name, "it has no samples");
}

std::vector<unsigned char> PlainWav(const SoundFormat& format, Bytes samples) {
  const auto length = static_cast<std::uint32_t>(samples.size());
  std::vector<unsigned char> wav(44 + length + (length & 1), 0);
  std::size_t at = 0;
  const auto put = [&](std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) wav[at++] = static_cast<unsigned char>(value >> (8 * i));
  };
  const auto tag = [&](const char* text) {
    std::memcpy(wav.data() + at, text, 4);
    at += 4;
  };
  const std::uint32_t block = format.channels * format.bits / 8;
  tag("RIFF");
  put(static_cast<std::uint32_t>(wav.size() - 8), 4);
  tag("WAVE");
  tag("fmt ");
  put(16, 4);
  put(1, 2);  // PCM
  put(format.channels, 2);
  put(format.rate, 4);
  put(format.rate * block, 4);
  put(block, 2);
  put(format.bits, 2);
  tag("data");
  put(length, 4);
  std::copy(samples.begin(), samples.end(), wav.begin() + 44);
  return wav;
}

}  // namespace platform
