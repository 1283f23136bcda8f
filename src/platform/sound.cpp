#include "platform/sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>
#include <vector>

#include "platform/failure.h"
#include "platform/kept_by_bytes.h"
#include "platform/paths.h"
#include "platform/sound_check.h"

namespace platform {
namespace {

// Sounds play on one channel of their own, so that each new one replaces the last.
constexpr int kSoundChannel = 0;

struct ChunkDeleter {
  void operator()(Mix_Chunk* chunk) const { Mix_FreeChunk(chunk); }
};
using Chunk = std::shared_ptr<Mix_Chunk>;

Chunk MakeChunk(Mix_Chunk* chunk) {
  return chunk == nullptr ? nullptr : Chunk(chunk, ChunkDeleter());
}

// A 150 ms tone at 880 Hz that fades out, made as a WAV in memory so that the mixer converts
// it to the device's format like any other sound.
std::vector<unsigned char> DefaultBeepWav() {
  const SoundFormat format{.channels = 1, .bits = 16, .rate = 22050};
  const int count = static_cast<int>(format.rate) * 150 / 1000;
  std::vector<unsigned char> samples;
  samples.reserve(static_cast<std::size_t>(count) * 2);
  for (int i = 0; i < count; ++i) {
    const double fade = 1.0 - static_cast<double>(i) / count;
    const double value = 0.5 * fade * std::sin(2 * std::numbers::pi * 880.0 * i / format.rate);
    const auto sample = static_cast<std::uint16_t>(static_cast<std::int16_t>(value * 32767));
    samples.push_back(static_cast<unsigned char>(sample));
    samples.push_back(static_cast<unsigned char>(sample >> 8));
  }
  return PlainWav(format, samples);
}

// Converted once: the device, and so the format it is converted to, never changes.
Chunk DefaultBeep() {
  static const Chunk beep = [] {
    try {
      return ConvertSound(DefaultBeepWav(), "beep");
    } catch (const RuntimeError& failed) {
      Report(failed.what());
      return Chunk();
    }
  }();
  return beep;
}

// Converting a sound to the device's format costs far more than reading its file, so the
// sound made from a file is kept with the bytes it came from and given again while the file
// reads the same.
KeptByBytes<Chunk>& ConvertedSounds() {
  static KeptByBytes<Chunk> kept(16u << 20,
                                 [](const Chunk& chunk) -> std::size_t { return chunk->alen; });
  return kept;
}

// A refused sound plays the beep, as a damaged one does, and says why.
Chunk LoadFile(const std::string& path) {
  std::vector<unsigned char> bytes;
  switch (ReadMappedFile(path, bytes, kLargestSoundFile)) {
    case FileRead::kRead:
      break;
    case FileRead::kTooLarge:
      Report("sound " + path + " refused: the file is too long to be one of ours");
      return nullptr;
    case FileRead::kNoFile:
    case FileRead::kUnreadable:
      return nullptr;
  }
  return ConvertedSounds().Get(path, std::move(bytes), [&path](const auto& read) {
    try {
      return ConvertSound(read, path);
    } catch (const RuntimeError& refused) {
      Report(refused.what());
      return Chunk();
    }
  });
}

// The sound now playing; kept until the next one replaces it, since the mixer reads it
// while it plays.
Chunk& CurrentSound() {
  static Chunk chunk;
  return chunk;
}

std::function<void(const std::string&, std::int32_t)> g_sound_observer;

// The device's thread wakes for every buffer, dozens of times a second, even with nothing to
// play and even paused. Once a second of silence has been mixed the mixer asks, with an
// event, for the device to rest: the thread that plays sounds then holds the device's lock,
// which keeps the device's thread asleep until a sound or a piece of music starts again.
SDL_AudioDeviceID g_device = 0;
std::uint32_t g_rest_event = 0;
int g_second_bytes = 0;
std::atomic<int> g_silent_bytes{0};
std::atomic<bool> g_rest_asked{false};
bool g_resting = false;

bool Silent() { return Mix_Playing(-1) == 0 && Mix_PlayingMusic() == 0; }

void SDLCALL AfterMixing(void*, Uint8*, int bytes) {
  if (!Silent()) {
    g_silent_bytes = 0;
    g_rest_asked = false;
    return;
  }
  if (g_rest_asked || (g_silent_bytes += bytes) < g_second_bytes) return;
  g_rest_asked = true;
  SDL_Event event{};
  event.type = g_rest_event;
  SDL_PushEvent(&event);
}

// The mixer keeps its device's number to itself; it is the one device this program opens.
SDL_AudioDeviceID OpenedDevice() {
  for (SDL_AudioDeviceID id = 1; id <= 64; ++id) {
    if (SDL_GetAudioDeviceStatus(id) != SDL_AUDIO_STOPPED) return id;
  }
  return 0;
}

}  // namespace

// The mixer does not always close the data it was handed when they are no WAV, so they stay
// ours to close.
std::shared_ptr<Mix_Chunk> ConvertSound(std::span<const unsigned char> bytes,
                                        const std::string& name) {
  const CheckedSound checked = CheckSoundData(bytes, name);
  const std::vector<unsigned char> wav = PlainWav(checked.format, checked.samples);
  SDL_RWops* data = SDL_RWFromConstMem(wav.data(), static_cast<int>(wav.size()));
  Chunk chunk = data == nullptr ? nullptr : MakeChunk(Mix_LoadWAV_RW(data, 0));
  if (data != nullptr) SDL_RWclose(data);
  if (!chunk) throw RuntimeError("sound " + name + " not converted: " + Mix_GetError());
  return chunk;
}

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
    int rate = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    g_second_bytes = rate * channels * SDL_AUDIO_BITSIZE(format) / 8;
    g_device = OpenedDevice();
    const Uint32 event = SDL_RegisterEvents(1);
    if (g_device != 0 && g_second_bytes > 0 && event != static_cast<Uint32>(-1)) {
      g_rest_event = event;
      Mix_SetPostMix(AfterMixing, nullptr);
    }
    return true;
  }();
  return open;
}

std::uint32_t AudioRestEvent() { return g_rest_event; }

void RestAudioIfSilent() {
  if (g_resting || g_device == 0 || !Silent()) return;
  SDL_LockAudioDevice(g_device);
  g_resting = true;
}

void WakeAudio() {
  g_silent_bytes = 0;
  g_rest_asked = false;
  if (!g_resting) return;
  g_resting = false;
  SDL_UnlockAudioDevice(g_device);
}

void SetSoundObserver(std::function<void(const std::string& path, std::int32_t flags)> observer) {
  g_sound_observer = std::move(observer);
}

std::int32_t sndPlaySoundA(const std::string& path, std::int32_t flags) {
  if (g_sound_observer) g_sound_observer(path, flags);
  if (!AudioDeviceOpen()) return 0;
  Chunk next = LoadFile(path);
  if (!next) next = DefaultBeep();
  if (!next) return 0;
  WakeAudio();
  Mix_HaltChannel(kSoundChannel);
  CurrentSound() = std::move(next);
  return Mix_PlayChannel(kSoundChannel, CurrentSound().get(), 0) < 0 ? 0 : 1;
}

}  // namespace platform
