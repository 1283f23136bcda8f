#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace platform {

// The program's sounds are clicks and chimes under a second long. A sound is taken for at
// most kLongestSoundSeconds, at kLowestSoundRate to kHighestSoundRate, so that the mixer's
// conversion for the device never has to make more than a few megabytes of one; a rate of a
// few hertz would have it work out a buffer that overflows.
constexpr int kLongestSoundSeconds = 10;
constexpr std::uint32_t kLowestSoundRate = 4000;
constexpr std::uint32_t kHighestSoundRate = 96000;
// A sound file longer than this is refused by its length, before it is read: the longest
// sound at the highest rate in 16-bit stereo, 3.84 MB, with room for the chunks beside it.
// The program's own are under 50 KB.
constexpr std::uintmax_t kLargestSoundFile = 4u << 20;

// Uncompressed PCM, the one encoding the program's sounds use.
struct SoundFormat {
  std::uint32_t channels = 1;  // 1 or 2
  std::uint32_t bits = 16;     // 8 (unsigned) or 16 (signed, little-endian)
  std::uint32_t rate = 22050;  // frames a second
};

struct CheckedSound {
  SoundFormat format;
  std::span<const unsigned char> samples;  // within the bytes checked, whole frames only
};

// Walks a RIFF WAVE file's chunks (each padded to an even length) before the mixer sees it:
// the format chunk must come before the samples and declare PCM within the bounds above,
// with a block size and byte rate that agree with it, and the samples must lie whole within
// the file and last no longer than kLongestSoundSeconds. Raises RuntimeError for anything
// else; `name` only names the sound in the message.
CheckedSound CheckSoundData(std::span<const unsigned char> bytes, const std::string& name);

// A plain WAV file of these samples: the RIFF header, the format chunk and the data chunk
// alone, so that the mixer reads exactly what was checked.
std::vector<unsigned char> PlainWav(const SoundFormat& format,
                                    std::span<const unsigned char> samples);

}  // namespace platform
