#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct _Mix_Music;

namespace platform {

// A standard MIDI file ready to play: the bytes that were checked, which are what plays, however
// the file changes after. The synthesiser's copy is made on first play.
class DirectMusicSegment {
 public:
  DirectMusicSegment(std::string path, double seconds, std::vector<unsigned char> bytes);
  ~DirectMusicSegment();
  DirectMusicSegment(const DirectMusicSegment&) = delete;
  DirectMusicSegment& operator=(const DirectMusicSegment&) = delete;

  // Every segment is a standard MIDI file already; kept for the callers that say so.
  void SetStandardMidiFile() {}

  const std::string& path() const { return path_; }
  double seconds() const { return seconds_; }
  _Mix_Music* LoadedMusic();

 private:
  std::string path_;
  double seconds_;
  // The mixer reads from these for as long as the music lives.
  std::vector<unsigned char> bytes_;
  _Mix_Music* music_ = nullptr;
};

// One play of a segment, from the moment it started.
class DirectMusicSegmentState {
 public:
  DirectMusicSegmentState(std::uint64_t start_ms, double seconds)
      : start_ms_(start_ms), seconds_(seconds) {}
  std::uint64_t start_ms() const { return start_ms_; }
  double seconds() const { return seconds_; }

 private:
  std::uint64_t start_ms_;
  double seconds_;
};

class DirectMusicLoader {
 public:
  // Reads the MIDI file's length now, so a missing or malformed file fails here.
  std::shared_ptr<DirectMusicSegment> LoadSegment(const std::string& path);
};

// The mixer's scale for the music's volume: unity gain sits below the top of the scale, so
// that a setting a little above 0 dB is still louder. Exposed for its table of values.
constexpr int kMusicUnityVolume = 96;
int MusicVolumeFor(std::int32_t hundredths_of_db);

// Plays one segment at a time through the mixer's MIDI synthesiser.
class DirectMusicPerformance {
 public:
  // Fails when no audio device opens or no General MIDI soundfont is found, since music
  // would then play as silence.
  void Init(std::nullptr_t direct_sound, std::int32_t hwnd);
  // There is one synthesiser and its instruments come with the soundfont: nothing to choose.
  void SetPort(std::int32_t /*port*/, std::int32_t /*channel_groups*/) {}
  void SetMasterAutoDownload(bool /*enabled*/) {}
  void SetMasterVolume(std::int32_t hundredths_of_db);
  // Starts the piece once from its beginning, now, in place of whatever played before.
  std::shared_ptr<DirectMusicSegmentState> PlaySegment(
      const std::shared_ptr<DirectMusicSegment>& segment, std::int32_t flags,
      std::int32_t start_time);
  // True from the start of that play for the piece's length, unless stopped or replaced.
  bool IsPlaying(const std::shared_ptr<DirectMusicSegment>& segment,
                 const std::shared_ptr<DirectMusicSegmentState>& state) const;
  // Stops that play. A null segment or state, or a play that already ended, is left alone.
  void Stop(const std::shared_ptr<DirectMusicSegment>& segment,
            const std::shared_ptr<DirectMusicSegmentState>& state, std::int32_t time,
            std::int32_t flags);
  void CloseDown();

 private:
  bool initialised_ = false;
  int volume_ = kMusicUnityVolume;
  std::shared_ptr<DirectMusicSegment> playing_segment_;
  std::shared_ptr<DirectMusicSegmentState> playing_state_;
};

}  // namespace platform
