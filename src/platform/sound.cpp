#include "platform/sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>
#include <vector>

#include "platform/failure.h"
#include "platform/paths.h"

namespace platform {
namespace {

// Sounds play on one channel of their own, so that each new one replaces the last.
constexpr int kSoundChannel = 0;

struct ChunkDeleter {
  void operator()(Mix_Chunk* chunk) const { Mix_FreeChunk(chunk); }
};
using Chunk = std::unique_ptr<Mix_Chunk, ChunkDeleter>;

void PutLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A 150 ms tone at 880 Hz that fades out, made as a WAV in memory so that the mixer converts
// it to the device's format like any other sound.
std::vector<std::uint8_t> DefaultBeepWav() {
  constexpr int kRate = 22050;
  constexpr int kSamples = kRate * 150 / 1000;
  std::vector<std::uint8_t> wav;
  wav.reserve(44 + kSamples * 2);
  const auto put_tag = [&wav](const char* tag) {
    for (int i = 0; i < 4; ++i) wav.push_back(static_cast<std::uint8_t>(tag[i]));
  };
  put_tag("RIFF");
  PutLittleEndian(wav, 36 + kSamples * 2, 4);
  put_tag("WAVE");
  put_tag("fmt ");
  PutLittleEndian(wav, 16, 4);
  PutLittleEndian(wav, 1, 2);  // PCM
  PutLittleEndian(wav, 1, 2);  // mono
  PutLittleEndian(wav, kRate, 4);
  PutLittleEndian(wav, kRate * 2, 4);
  PutLittleEndian(wav, 2, 2);
  PutLittleEndian(wav, 16, 2);
  put_tag("data");
  PutLittleEndian(wav, kSamples * 2, 4);
  for (int i = 0; i < kSamples; ++i) {
    const double fade = 1.0 - static_cast<double>(i) / kSamples;
    const double value = 0.5 * fade * std::sin(2 * std::numbers::pi * 880.0 * i / kRate);
    PutLittleEndian(wav, static_cast<std::uint16_t>(static_cast<std::int16_t>(value * 32767)), 2);
  }
  return wav;
}

Chunk LoadDefaultBeep() {
  static const std::vector<std::uint8_t> wav = DefaultBeepWav();
  return Chunk(Mix_LoadWAV_RW(SDL_RWFromConstMem(wav.data(), static_cast<int>(wav.size())), 1));
}

// The mixer does not always close the file it was handed when the file is no WAV, so the
// file stays ours to close.
Chunk LoadFile(const std::string& path) {
  SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb");
  if (file == nullptr) return Chunk(nullptr);
  Chunk chunk(Mix_LoadWAV_RW(file, 0));
  SDL_RWclose(file);
  return chunk;
}

// The sound now playing; kept until the next one replaces it, since the mixer reads it
// while it plays.
Chunk& CurrentSound() {
  static Chunk chunk;
  return chunk;
}

std::function<void(const std::string&, std::int32_t)> g_sound_observer;

}  // namespace

bool AudioDeviceOpen() {
  static const bool open = [] {
    // Asked once for the whole run, so the line below comes once however often sounds play.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
      Report(std::string("no audio device, sounds and music stay silent: ") + SDL_GetError());
      return false;
    }
    Mix_Init(MIX_INIT_MID);
    if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
      Report(std::string("no audio device, sounds and music stay silent: ") + Mix_GetError());
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return false;
    }
    Mix_AllocateChannels(1);
    return true;
  }();
  return open;
}

void SetSoundObserver(std::function<void(const std::string& path, std::int32_t flags)> observer) {
  g_sound_observer = std::move(observer);
}

std::int32_t sndPlaySoundA(const std::string& path, std::int32_t flags) {
  if (g_sound_observer) g_sound_observer(path, flags);
  if (!AudioDeviceOpen()) return 0;
  Chunk next = LoadFile(MapPath(path));
  if (!next) next = LoadDefaultBeep();
  if (!next) return 0;
  Mix_HaltChannel(kSoundChannel);
  CurrentSound() = std::move(next);
  return Mix_PlayChannel(kSoundChannel, CurrentSound().get(), 0) < 0 ? 0 : 1;
}

}  // namespace platform
