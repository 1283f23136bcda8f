#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "disk_audio.h"
#include "media_files.h"
#include "platform/directx7.h"
#include "platform/failure.h"

namespace {

using namespace media_files;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Half a second at the default tempo, then three quarters at twice the speed: 1.25 s,
// where a reading that missed the tempo change would say 2 s.
Bytes ShortPiece() {
  std::vector<Event> events{Tempo(0, 500000), {0, {0xC0, 0}}};
  for (std::uint32_t beat = 0; beat < 4; ++beat) {
    if (beat == 1) events.push_back(Tempo(96, 250000));
    events.push_back(NoteOn(beat * 96, static_cast<std::uint8_t>(60 + 4 * beat)));
    events.push_back(NoteOff(beat * 96 + 90, static_cast<std::uint8_t>(60 + 4 * beat)));
  }
  events.push_back(EndOfTrack(384));
  return MidiFile(0, 96, {Track(events)});
}
constexpr double kShortPieceSeconds = 1.25;

class MusicTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Audio().Open()) << "the disk audio driver did not open";
    Save(path_, ShortPiece());
    loader_ = directx_.DirectMusicLoaderCreate();
    performance_ = directx_.DirectMusicPerformanceCreate();
  }
  void TearDown() override { performance_->CloseDown(); }

  void Init() {
    performance_->Init(nullptr, 0);
    performance_->SetPort(-1, 1);
    performance_->SetMasterAutoDownload(true);
  }

  const std::string path_ = Audio().folder() / "piece.mid";
  platform::DirectX7 directx_;
  std::shared_ptr<platform::DirectMusicLoader> loader_;
  std::shared_ptr<platform::DirectMusicPerformance> performance_;
};

TEST_F(MusicTest, PieceSoundsAndIsPlayingEndsWithThePiece) {
  Init();
  auto segment = loader_->LoadSegment(path_);
  segment->SetStandardMidiFile();
  // The first play loads the synthesiser; the piece starts when PlaySegment returns.
  auto state = performance_->PlaySegment(segment, 0, 0);
  const auto mark = Audio().Mark();
  const auto started = Clock::now();
  EXPECT_TRUE(performance_->IsPlaying(segment, state));

  while (performance_->IsPlaying(segment, state) && Clock::now() - started < 5s) {
    std::this_thread::sleep_for(10ms);
  }
  const double ended = std::chrono::duration<double>(Clock::now() - started).count();
  EXPECT_GT(ended, kShortPieceSeconds - 0.15);
  EXPECT_LT(ended, kShortPieceSeconds + 0.5) << "a repeat would come late";

  const auto samples = Audio().Samples(mark, kShortPieceSeconds);
  EXPECT_GT(DiskAudio::Peak(Audio().Between(samples, 0.1, 0.45)), 0.01);
  EXPECT_GT(DiskAudio::Peak(Audio().Between(samples, 0.55, 1.2)), 0.01);
}

TEST_F(MusicTest, StopSilencesThePlayAndAnotherPlayReplacesIt) {
  Init();
  auto segment = loader_->LoadSegment(path_);
  auto first = performance_->PlaySegment(segment, 0, 0);
  auto second = performance_->PlaySegment(segment, 0, 0);
  EXPECT_FALSE(performance_->IsPlaying(segment, first));
  EXPECT_TRUE(performance_->IsPlaying(segment, second));

  performance_->Stop(segment, first, 0, 0);  // an ended play: nothing happens
  EXPECT_TRUE(performance_->IsPlaying(segment, second));
  performance_->Stop(nullptr, nullptr, 0, 0);
  EXPECT_TRUE(performance_->IsPlaying(segment, second));

  std::this_thread::sleep_for(300ms);
  performance_->Stop(segment, second, 0, 0);
  EXPECT_FALSE(performance_->IsPlaying(segment, second));
  const auto mark = Audio().Mark();
  EXPECT_LT(DiskAudio::Peak(Audio().Between(Audio().Samples(mark, 0.5), 0.1, 0.5)), 0.001);
}

TEST_F(MusicTest, MasterVolumeScalesTheOutput) {
  Init();
  auto segment = loader_->LoadSegment(path_);
  const auto loudness_at = [&](std::int32_t hundredths_of_db) {
    performance_->SetMasterVolume(hundredths_of_db);
    auto state = performance_->PlaySegment(segment, 0, 0);
    const auto mark = Audio().Mark();
    const double rms = DiskAudio::Rms(Audio().Between(Audio().Samples(mark, 0.45), 0.05, 0.45));
    performance_->Stop(segment, state, 0, 0);
    return rms;
  };
  const double unity = loudness_at(0);
  const double quieter = loudness_at(-2000);
  ASSERT_GT(unity, 0.001);
  // Ideally 96 / 10 on the mixer's scale; the synthesiser's smoothing of gain changes makes
  // the measured ratio wander around that, but never near 1 or near silence.
  EXPECT_GT(unity / quieter, 4.0);
  EXPECT_LT(unity / quieter, 30.0);
}

// What plays is the bytes that were checked: the file swapped after its check for a piece of
// the same length with no note in it, or for one that is no music at all, changes nothing.
TEST_F(MusicTest, ThePieceThatWasCheckedIsThePieceThatPlays) {
  Init();
  const Bytes silent = MidiFile(0, 96, {Track({Tempo(0, 500000), EndOfTrack(384)})});
  for (const Bytes& swapped : {silent, Bytes{'M', 'T', 'h', 'd'}}) {
    SCOPED_TRACE(swapped.size());
    Save(path_, ShortPiece());
    auto segment = loader_->LoadSegment(path_);
    Save(path_, swapped);
    auto state = performance_->PlaySegment(segment, 0, 0);
    const auto mark = Audio().Mark();
    EXPECT_GT(DiskAudio::Peak(Audio().Between(Audio().Samples(mark, 0.45), 0.1, 0.45)), 0.01)
        << "what played is not what was checked";
    performance_->Stop(segment, state, 0, 0);
  }
}

TEST_F(MusicTest, FailuresAreRuntimeErrors) {
  EXPECT_THROW(loader_->LoadSegment(Audio().folder() / "missing.mid"), platform::RuntimeError);
  auto segment = loader_->LoadSegment(path_);
  EXPECT_THROW(performance_->PlaySegment(segment, 0, 0), platform::RuntimeError)
      << "played before Init";
  EXPECT_FALSE(performance_->IsPlaying(segment, nullptr));

  ::setenv("SDL_SOUNDFONTS", (Audio().folder() / "no-such-font.sf2").c_str(), 1);
  testing::internal::CaptureStderr();
  EXPECT_THROW(performance_->Init(nullptr, 0), platform::RuntimeError)
      << "music without a soundfont would be silence";
  EXPECT_THROW(performance_->Init(nullptr, 0), platform::RuntimeError);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "colouring-book: no General MIDI soundfont, the music stays silent\n")
      << "one line, once, says why the music is silent";
  ::unsetenv("SDL_SOUNDFONTS");

  Init();
  EXPECT_THROW(performance_->PlaySegment(nullptr, 0, 0), platform::RuntimeError);
}

}  // namespace
