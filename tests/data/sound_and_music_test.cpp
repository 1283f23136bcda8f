#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/midi_file.h"

namespace {

namespace fs = std::filesystem;

const fs::path kAppDir = COLOURING_APP_DIR;

constexpr const char* kColourSounds[] = {
    "CRVENA.WAV", "ZELENA.WAV",    "ZUTA.WAV",  "SVPLAVA.WAV", "ORANZ.WAV", "LJUBICASTA.WAV",
    "SIVA.WAV",   "TAMNOZUTA.WAV", "BRAON.WAV", "PLAVA.WAV",   "CRNA.WAV",  "PINK.WAV"};

std::vector<unsigned char> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Wav {
  SDL_AudioSpec audio{};
  std::vector<std::int16_t> samples;
};

Wav LoadWav(const fs::path& path) {
  Wav wav;
  Uint8* buffer = nullptr;
  Uint32 length = 0;
  if (SDL_LoadWAV(path.c_str(), &wav.audio, &buffer, &length) == nullptr) {
    ADD_FAILURE() << path << ": " << SDL_GetError();
    return wav;
  }
  wav.samples.resize(length / 2);
  std::memcpy(wav.samples.data(), buffer, wav.samples.size() * 2);
  SDL_FreeWAV(buffer);
  return wav;
}

TEST(ColourSounds, EachIsShortAudible16BitPcm) {
  for (const char* name : kColourSounds) {
    SCOPED_TRACE(name);
    const Wav wav = LoadWav(kAppDir / "SOUND" / name);
    EXPECT_EQ(wav.audio.format, AUDIO_S16LSB);
    EXPECT_TRUE(wav.audio.freq == 22050 || wav.audio.freq == 44100);
    ASSERT_TRUE(wav.audio.channels == 1 || wav.audio.channels == 2);
    const double seconds =
        static_cast<double>(wav.samples.size()) / wav.audio.channels / wav.audio.freq;
    EXPECT_GT(seconds, 0.2);
    EXPECT_LT(seconds, 1.0);
    int peak = 0;
    for (const std::int16_t s : wav.samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_GT(peak, 8000);
    // Starts and ends quietly, so that cutting one sound off with the next never clicks.
    EXPECT_LT(std::abs(wav.samples.front()), 2000);
    EXPECT_LT(std::abs(wav.samples.back()), 500);
  }
}

TEST(ColourSounds, EveryColourSoundsDifferent) {
  std::vector<std::vector<unsigned char>> sounds;
  for (const char* name : kColourSounds) sounds.push_back(ReadFile(kAppDir / "SOUND" / name));
  for (std::size_t a = 0; a < sounds.size(); ++a) {
    for (std::size_t b = a + 1; b < sounds.size(); ++b) {
      EXPECT_NE(sounds[a], sounds[b]) << kColourSounds[a] << " and " << kColourSounds[b];
    }
  }
}

TEST(Music, IsAStandardMidiFileOfHalfAMinuteToAMinuteAndAHalf) {
  const fs::path path = kAppDir / "MUSIC" / "001.MID";
  const std::vector<unsigned char> bytes = ReadFile(path);
  ASSERT_GE(bytes.size(), 14u);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "MThd");
  const int format = bytes[8] << 8 | bytes[9];
  EXPECT_TRUE(format == 0 || format == 1);
  const double seconds = platform::MidiFileSeconds(path.string());
  EXPECT_GE(seconds, 30.0);
  EXPECT_LE(seconds, 90.0);
}

// The last note to start in the piece: the loop point must follow a tonic (C), and every
// track must end at one tick so the piece has no silent tail.
TEST(Music, EndsOnTheTonicWithEveryTrackStoppingTogether) {
  const std::vector<unsigned char> bytes = ReadFile(kAppDir / "MUSIC" / "001.MID");
  std::size_t at = 14;
  std::vector<std::uint64_t> ends;
  int last_melody_key = -1;
  while (at + 8 <= bytes.size()) {
    ASSERT_EQ(std::string(bytes.begin() + at, bytes.begin() + at + 4), "MTrk");
    const std::size_t length = static_cast<std::size_t>(bytes[at + 4]) << 24 | bytes[at + 5] << 16 |
                               bytes[at + 6] << 8 | bytes[at + 7];
    std::size_t p = at + 8;
    const std::size_t end = p + length;
    std::uint64_t tick = 0;
    int status = 0;
    while (p < end) {
      std::uint32_t delta = 0;
      do delta = delta << 7 | (bytes[p] & 0x7F);
      while (bytes[p++] & 0x80);
      tick += delta;
      if (bytes[p] & 0x80) status = bytes[p++];
      if (status == 0xFF) {
        p += 2 + bytes[p + 1];
      } else {
        const int kind = status & 0xF0;
        if (kind == 0x90 && (status & 0x0F) == 0 && bytes[p + 1] > 0) last_melody_key = bytes[p];
        p += kind == 0xC0 || kind == 0xD0 ? 1 : 2;
      }
    }
    ends.push_back(tick);
    at = end;
  }
  ASSERT_GE(ends.size(), 1u);
  EXPECT_TRUE(std::all_of(ends.begin(), ends.end(), [&](std::uint64_t e) { return e == ends[0]; }));
  ASSERT_GE(last_melody_key, 0);
  EXPECT_EQ(last_melody_key % 12, 0);
}

}  // namespace
