// Feeds arbitrary bytes to the sound check and the mixer's conversion behind it, from memory
// and from a file on disk as a palette click plays it, on SDL's dummy audio device. What the
// check takes must convert, to no more than the longest sound taken at the device's rate.
// The mutator also rewrites the format chunk's fields, alone or kept in agreement, so that
// inputs reach the conversion with every rate, size and length the check lets through.
#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>

#include "platform/failure.h"
#include "platform/sound.h"
#include "platform/sound_check.h"
#include "scratch_file.h"

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t max_size);

namespace {

long DeviceBytesPerSecond() {
  int rate = 0, channels = 0;
  Uint16 format = 0;
  if (Mix_QuerySpec(&rate, &format, &channels) == 0) std::abort();
  return static_cast<long>(rate) * channels * SDL_AUDIO_BITSIZE(format) / 8;
}

std::uint32_t Get(const std::uint8_t* at, int count) {
  std::uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | at[i];
  return value;
}
void Put(std::uint8_t* at, std::uint32_t value, int count) {
  for (int i = 0; i < count; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Where the chunk with this tag starts in a RIFF file, walked as the check walks it.
std::size_t FindChunk(const std::uint8_t* data, std::size_t size, const char* tag) {
  for (std::size_t at = 12; at + 8 <= size;) {
    if (std::memcmp(data + at, tag, 4) == 0) return at;
    const std::size_t length = Get(data + at + 4, 4);
    if (length > size) break;
    at += 8 + length + (length & 1);
  }
  return 0;
}

std::uint32_t Interesting(unsigned& seed) {
  static const std::uint32_t kValues[] = {
      0,    1,     2,     3,     4,     7,     8,     16,    24,    32,       3999,       4000,
      8000, 11025, 22050, 44100, 48000, 96000, 96001, 65535, 65536, 1u << 31, 0xFFFFFFFFu};
  seed = seed * 1103515245u + 12345u;
  const std::uint32_t pick = seed >> 8;
  if (pick % 4 == 0) return pick;  // anything at all
  return kValues[pick % (sizeof kValues / sizeof kValues[0])];
}

// One field of the format or data chunk set to a value at an edge; sometimes the block size
// and byte rate are brought back into agreement, so that the check looks further.
bool MutateFields(std::uint8_t* data, std::size_t size, unsigned seed) {
  if (size < 12 || std::memcmp(data, "RIFF", 4) != 0) return false;
  const std::size_t format = FindChunk(data, size, "fmt ");
  const std::size_t samples = FindChunk(data, size, "data");
  if (format == 0 || format + 24 > size) return false;
  // Within the format chunk's body: channels, rate, byte rate, block size, bits.
  static const std::size_t kAt[] = {2, 4, 8, 12, 14};
  static const int kWidth[] = {2, 4, 4, 2, 2};
  std::uint8_t* fields = data + format + 8;
  const std::uint32_t value = Interesting(seed);
  const unsigned which = (seed >> 4) % 6;
  if (which < 5) {
    Put(fields + kAt[which], value, kWidth[which]);
  } else if (samples != 0) {
    Put(data + samples + 4, value, 4);
  }
  if ((seed >> 8) % 2 == 0) {
    const std::uint32_t block = Get(fields + 2, 2) * Get(fields + 14, 2) / 8;
    Put(fields + 12, block, 2);
    Put(fields + 8, Get(fields + 4, 4) * block, 4);
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  if (!platform::AudioDeviceOpen()) std::abort();
  return 0;
}

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size,
                                               std::size_t max_size, unsigned int seed) {
  if (seed % 3 != 0 && MutateFields(data, size, seed)) return size;
  return LLVMFuzzerMutate(data, size, max_size);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const unsigned char> bytes(data, size);
  bool taken = true;
  try {
    platform::CheckSoundData(bytes, "fuzz");
  } catch (const platform::RuntimeError&) {
    taken = false;
  }
  try {
    const std::shared_ptr<Mix_Chunk> chunk = platform::ConvertSound(bytes, "fuzz");
    static const long second = DeviceBytesPerSecond();
    if (!taken || chunk->alen > second * (platform::kLongestSoundSeconds + 1)) std::abort();
  } catch (const platform::RuntimeError&) {
    if (taken) std::abort();  // checked, yet the mixer could not convert it
  }
  platform::sndPlaySoundA(WriteScratchFile(".WAV", data, size), platform::SND_ASYNC);
  return 0;
}
