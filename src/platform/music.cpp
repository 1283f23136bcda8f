#include "platform/music.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/failure.h"
#include "platform/midi_file.h"
#include "platform/paths.h"
#include "platform/sound.h"

namespace platform {
namespace {

bool Readable(const std::string& path) { return std::ifstream(path, std::ios::binary).good(); }

// The mixer's synthesiser plays silence without a soundfont and still reports success, so
// one must be found before any music is promised. An explicit choice in the environment
// wins; otherwise the system's default General MIDI font, then the mixer's own guess.
bool FindSoundFont() {
  if (const char* chosen = std::getenv("SDL_SOUNDFONTS"); chosen != nullptr && *chosen) {
    std::stringstream list(chosen);
    for (std::string font; std::getline(list, font, ':');) {
      if (Readable(font)) return true;
    }
    return false;
  }
  const char* system_default = "/usr/share/sounds/sf2/default-GM.sf2";
  if (Readable(system_default)) return Mix_SetSoundFonts(system_default) != 0;
  const char* guessed = Mix_GetSoundFonts();
  return guessed != nullptr && Readable(guessed);
}

#if COLOURING_OPENMP_RUNTIME
extern "C" void omp_set_num_threads(int count);
#endif

// The synthesiser loads a soundfont's samples in a parallel region of the OpenMP runtime,
// which ends the process when the system will not make a thread for it (few processes or
// little memory left). Held to the thread that loads, it never needs another.
void KeepTheSynthesiserOnOneThread() {
#if COLOURING_OPENMP_RUNTIME
  omp_set_num_threads(1);
#endif
}

}  // namespace

DirectMusicSegment::DirectMusicSegment(std::string path, double seconds,
                                       std::vector<unsigned char> bytes)
    : path_(std::move(path)), seconds_(seconds), bytes_(std::move(bytes)) {}

DirectMusicSegment::~DirectMusicSegment() {
  if (music_ != nullptr) Mix_FreeMusic(music_);
}

_Mix_Music* DirectMusicSegment::LoadedMusic() {
  if (music_ == nullptr) {
    KeepTheSynthesiserOnOneThread();
    SDL_RWops* in = SDL_RWFromConstMem(bytes_.data(), static_cast<int>(bytes_.size()));
    music_ = in != nullptr ? Mix_LoadMUS_RW(in, 1) : nullptr;
    if (music_ == nullptr) throw RuntimeError("cannot play music " + path_ + ": " + Mix_GetError());
  }
  return music_;
}

std::shared_ptr<DirectMusicSegment> DirectMusicLoader::LoadSegment(const std::string& path) {
  const std::string mapped = MapPath(path);
  std::vector<unsigned char> bytes = ReadMidiFile(mapped);
  const double seconds = MidiSeconds(bytes, mapped);
  return std::make_shared<DirectMusicSegment>(mapped, seconds, std::move(bytes));
}

int MusicVolumeFor(std::int32_t hundredths_of_db) {
  const double gain = std::pow(10.0, hundredths_of_db / 100.0 / 20.0);
  return std::clamp(static_cast<int>(std::lround(gain * kMusicUnityVolume)), 0, MIX_MAX_VOLUME);
}

void DirectMusicPerformance::Init(std::nullptr_t, std::int32_t) {
  if (!AudioDeviceOpen()) throw RuntimeError("no audio device for the music");
  if (!FindSoundFont()) {
    static bool reported = false;
    if (!reported) Report("no General MIDI soundfont, the music stays silent");
    reported = true;
    throw RuntimeError("no General MIDI soundfont for the music");
  }
  initialised_ = true;
  Mix_VolumeMusic(volume_);
}

void DirectMusicPerformance::SetMasterVolume(std::int32_t hundredths_of_db) {
  volume_ = MusicVolumeFor(hundredths_of_db);
  if (initialised_) Mix_VolumeMusic(volume_);
}

std::shared_ptr<DirectMusicSegmentState> DirectMusicPerformance::PlaySegment(
    const std::shared_ptr<DirectMusicSegment>& segment, std::int32_t, std::int32_t) {
  if (!initialised_) throw RuntimeError("music played before the performance was set up");
  if (!segment) throw RuntimeError("no music to play");
  Mix_Music* music = segment->LoadedMusic();
  WakeAudio();
  if (Mix_PlayMusic(music, 1) != 0) throw RuntimeError(std::string("music: ") + Mix_GetError());
  Mix_VolumeMusic(volume_);
  playing_segment_ = segment;
  playing_state_ = std::make_shared<DirectMusicSegmentState>(SDL_GetTicks64(), segment->seconds());
  return playing_state_;
}

bool DirectMusicPerformance::IsPlaying(
    const std::shared_ptr<DirectMusicSegment>& segment,
    const std::shared_ptr<DirectMusicSegmentState>& state) const {
  // The mixer keeps reporting a piece for a while after its last note, so the file's own
  // length decides when it has ended.
  if (!initialised_ || !playing_state_) return false;
  if (segment && segment != playing_segment_) return false;
  if (state && state != playing_state_) return false;
  const double elapsed = (SDL_GetTicks64() - playing_state_->start_ms()) / 1000.0;
  return elapsed < playing_state_->seconds() && Mix_PlayingMusic() != 0;
}

void DirectMusicPerformance::Stop(const std::shared_ptr<DirectMusicSegment>& segment,
                                  const std::shared_ptr<DirectMusicSegmentState>& state,
                                  std::int32_t, std::int32_t) {
  if (!segment || !state || segment != playing_segment_ || state != playing_state_) return;
  Mix_HaltMusic();
  playing_segment_.reset();
  playing_state_.reset();
}

void DirectMusicPerformance::CloseDown() {
  if (initialised_ && playing_state_) Mix_HaltMusic();
  playing_segment_.reset();
  playing_state_.reset();
  initialised_ = false;
}

}  // namespace platform
