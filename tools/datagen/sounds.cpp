#include "sounds.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string_view>

namespace datagen {
namespace {

constexpr int kRate = 22050;
constexpr float kTwoPi = 2 * std::numbers::pi_v<float>;

enum class Voice { kXylophone, kMarimba, kBell, kPluck, kBloop, kWhoosh };

struct Note {
  float start;      // seconds
  float frequency;  // Hz; for the bloop and the whoosh, where the rise starts
  float volume;
};

struct Recipe {
  std::string_view file;
  Voice voice;
  float seconds;
  std::array<Note, 4> notes;  // volume 0 marks an unused note
};

// Note frequencies (equal temperament, A4 = 440 Hz).
constexpr float C3 = 130.81f, G3 = 196.00f, D4 = 293.66f, G4 = 392.00f, A4 = 440.00f;
constexpr float B4 = 493.88f, C5 = 523.25f, E5 = 659.26f, G5 = 783.99f, Gs5 = 830.61f;
constexpr float B5 = 987.77f, D6 = 1174.66f, E6 = 1318.51f, A6 = 1760.00f, C7 = 2093.00f;

constexpr std::array<Recipe, 12> kRecipes = {{
    {"CRVENA.WAV", Voice::kXylophone, 0.7f, {{{0, C5, 1}, {0.09f, E5, 1}, {0.18f, G5, 1}}}},
    {"ZELENA.WAV", Voice::kPluck, 0.7f, {{{0, G4, 1}, {0.14f, B4, 1}}}},
    {"ZUTA.WAV", Voice::kBell, 0.9f, {{{0, E6, 1}, {0.06f, B5, 0.4f}}}},
    {"SVPLAVA.WAV", Voice::kBloop, 0.45f, {{{0, 260, 1}}}},
    {"ORANZ.WAV", Voice::kMarimba, 0.75f, {{{0, A4, 1}, {0.1f, C5, 1}, {0.2f, E5, 1}}}},
    {"LJUBICASTA.WAV", Voice::kWhoosh, 0.8f, {{{0, 300, 1}}}},
    {"SIVA.WAV", Voice::kMarimba, 0.6f, {{{0, G4, 1}, {0.15f, D4, 1}}}},
    {"TAMNOZUTA.WAV", Voice::kBell, 0.85f, {{{0, A6, 0.7f}, {0.1f, D6, 0.7f}, {0.2f, C7, 0.6f}}}},
    {"BRAON.WAV", Voice::kPluck, 0.6f, {{{0, C3, 1}, {0.12f, G3, 1}}}},
    {"PLAVA.WAV", Voice::kBell, 0.9f, {{{0, C5, 1}, {0.0f, G5, 0.6f}}}},
    {"CRNA.WAV", Voice::kMarimba, 0.6f, {{{0, C3, 1}, {0.08f, C3 * 2, 0.5f}}}},
    {"PINK.WAV",
     Voice::kPluck,
     0.75f,
     {{{0, E5, 1}, {0.07f, Gs5, 1}, {0.14f, B5, 1}, {0.21f, E6, 1}}}},
}};

// A fixed noise source for the whoosh, so that every run writes the same bytes.
float Noise(unsigned& state) {
  state = state * 1664525u + 1013904223u;
  return static_cast<float>(state >> 8) / static_cast<float>(1u << 23) - 1.0f;
}

// One note's sound t seconds after it starts (t >= 0).
float Sample(Voice voice, float f, float t, unsigned& noise, float& low_pass) {
  const float attack = std::min(1.0f, t / 0.004f);  // no click at the start
  switch (voice) {
    case Voice::kXylophone:
      return attack * (std::sin(kTwoPi * f * t) * std::exp(-t * 9) +
                       0.35f * std::sin(kTwoPi * f * 3.93f * t) * std::exp(-t * 30));
    case Voice::kMarimba:
      return attack * (std::sin(kTwoPi * f * t) * std::exp(-t * 6) +
                       0.25f * std::sin(kTwoPi * f * 4 * t) * std::exp(-t * 22));
    case Voice::kBell:
      return attack * (std::sin(kTwoPi * f * t) * std::exp(-t * 3.5f) +
                       0.4f * std::sin(kTwoPi * f * 2.76f * t) * std::exp(-t * 6) +
                       0.2f * std::sin(kTwoPi * f * 5.4f * t) * std::exp(-t * 10));
    case Voice::kPluck: {
      float s = 0;
      for (int h = 1; h <= 6; ++h) {
        s += std::sin(kTwoPi * f * h * t) * std::exp(-t * (5.0f + 4.0f * h)) / h;
      }
      return attack * s;
    }
    case Voice::kBloop: {
      // The pitch leaps from f to 3.2 f, like a drop landing in paint; the phase is the
      // integral of that rising frequency.
      const float phase = kTwoPi * (f * t + 2.2f * f * (t - (1 - std::exp(-t * 18)) / 18));
      return attack * std::sin(phase) * std::exp(-t * 7);
    }
    case Voice::kWhoosh: {
      // Noise through a low-pass filter whose corner rises: a soft sweep upwards.
      const float corner = f * std::exp(t * 3.2f);
      const float k = 1 - std::exp(-kTwoPi * corner / kRate);
      low_pass += k * (Noise(noise) - low_pass);
      const float swell = std::sin(std::numbers::pi_v<float> * std::min(1.0f, t / 0.75f));
      return 2.5f * low_pass * swell;
    }
  }
  return 0;
}

std::vector<std::int16_t> Synthesise(const Recipe& recipe) {
  const int count = static_cast<int>(recipe.seconds * kRate);
  std::vector<float> mix(static_cast<std::size_t>(count), 0.0f);
  for (const Note& note : recipe.notes) {
    if (note.volume <= 0) continue;
    unsigned noise = 12345;
    float low_pass = 0;
    for (int i = static_cast<int>(note.start * kRate); i < count; ++i) {
      const float t = static_cast<float>(i) / kRate - note.start;
      mix[static_cast<std::size_t>(i)] +=
          note.volume * Sample(recipe.voice, note.frequency, t, noise, low_pass);
    }
  }
  float peak = 1e-6f;
  for (const float s : mix) peak = std::max(peak, std::abs(s));
  std::vector<std::int16_t> pcm(mix.size());
  const int fade = kRate / 40;  // the last 25 ms fade out, so the end never clicks
  for (int i = 0; i < count; ++i) {
    const float tail = std::min(1.0f, static_cast<float>(count - i) / fade);
    pcm[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(
        std::lround(mix[static_cast<std::size_t>(i)] / peak * 0.7f * tail * 32767));
  }
  return pcm;
}

std::vector<std::uint8_t> Wav(const std::vector<std::int16_t>& pcm) {
  std::vector<std::uint8_t> out;
  auto text = [&](std::string_view s) { out.insert(out.end(), s.begin(), s.end()); };
  auto u16 = [&](std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  auto u32 = [&](std::uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  };
  const auto data_bytes = static_cast<std::uint32_t>(pcm.size() * 2);
  text("RIFF");
  u32(36 + data_bytes);
  text("WAVEfmt ");
  u32(16);
  u16(1);  // PCM
  u16(1);  // mono
  u32(kRate);
  u32(kRate * 2);
  u16(2);
  u16(16);
  text("data");
  u32(data_bytes);
  for (const std::int16_t s : pcm) u16(static_cast<std::uint16_t>(s));
  return out;
}

}  // namespace

std::vector<NamedFile> MakeColourSounds() {
  std::vector<NamedFile> files;
  for (const Recipe& recipe : kRecipes) {
    files.push_back({"SOUND/" + std::string(recipe.file), Wav(Synthesise(recipe))});
  }
  return files;
}

}  // namespace datagen
