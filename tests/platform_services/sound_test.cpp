#include "platform/sound.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "disk_audio.h"
#include "media_files.h"

namespace {

using namespace std::chrono_literals;

class SoundTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(Audio().Open()) << "the disk audio driver did not open"; }
  std::string Tone(const char* name, double frequency, double seconds) {
    const std::string path = Audio().folder() / name;
    media_files::Save(path, media_files::ToneWav(frequency, seconds));
    return path;
  }
};

TEST_F(SoundTest, WavFilePlaysItsOwnSoundAndCallReturnsAtOnce) {
  const std::string path = Tone("a440.wav", 440, 0.5);
  const auto mark = Audio().Mark();
  EXPECT_EQ(platform::sndPlaySoundA(path, platform::SND_ASYNC), 1);
  const auto samples = Audio().Samples(mark, 0.8);
  const auto playing = Audio().Between(samples, 0.1, 0.4);
  EXPECT_GT(DiskAudio::Peak(playing), 0.3);
  EXPECT_NEAR(Audio().Frequency(playing), 440, 440 * 0.03);
  EXPECT_LT(DiskAudio::Peak(Audio().Between(samples, 0.6, 0.8)), 0.001) << "played past its end";
}

TEST_F(SoundTest, NewSoundCutsOffTheOneStillPlaying) {
  const std::string long_tone = Tone("long.wav", 440, 3.0);
  const std::string short_tone = Tone("short.wav", 1320, 0.3);
  platform::sndPlaySoundA(long_tone, platform::SND_ASYNC);
  std::this_thread::sleep_for(200ms);
  const auto mark = Audio().Mark();
  platform::sndPlaySoundA(short_tone, platform::SND_ASYNC);
  const auto samples = Audio().Samples(mark, 1.0);
  // Past the first tone's last moments, even when the device starts the second one late.
  EXPECT_NEAR(Audio().Frequency(Audio().Between(samples, 0.1, 0.25)), 1320, 1320 * 0.05);
  EXPECT_LT(DiskAudio::Peak(Audio().Between(samples, 0.6, 1.0)), 0.001)
      << "the first sound went on after the second one ended";
}

// Each play reads the file again: a sound replaced, damaged or removed between two plays is
// heard as it is now, never as it was.
TEST_F(SoundTest, FileChangedBetweenPlaysIsHeardAsItIsNow) {
  const std::string path = Tone("changing.wav", 440, 0.2);
  const std::string other = Tone("other.wav", 1320, 0.2);
  const auto frequency_of_play = [&] {
    const auto mark = Audio().Mark();
    EXPECT_EQ(platform::sndPlaySoundA(path, platform::SND_ASYNC), 1);
    // The whole play, however late the device starts it under load.
    const double f = Audio().Frequency(Audio().Samples(mark, 0.3));
    std::this_thread::sleep_for(200ms);
    return f;
  };
  EXPECT_NEAR(frequency_of_play(), 440, 440 * 0.05);
  EXPECT_NEAR(frequency_of_play(), 440, 440 * 0.05) << "the same bytes played again";
  std::filesystem::copy_file(other, path, std::filesystem::copy_options::overwrite_existing);
  EXPECT_NEAR(frequency_of_play(), 1320, 1320 * 0.05) << "the replaced file";
  media_files::Save(path, {'R', 'I', 'F', 'F', 0, 0});
  EXPECT_NEAR(frequency_of_play(), 880, 880 * 0.05) << "the damaged file plays the beep";
  std::filesystem::remove(path);
  EXPECT_NEAR(frequency_of_play(), 880, 880 * 0.05) << "the removed file plays the beep";
}

// After a second of silence the mixer asks to rest; resting, the device writes nothing, and
// the next sound wakes it and is heard whole.
TEST_F(SoundTest, DeviceRestsAfterASecondOfSilenceAndTheNextSoundWakesIt) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0);
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  platform::sndPlaySoundA(Tone("blip.wav", 660, 0.1), platform::SND_ASYNC);
  const auto asked_by = std::chrono::steady_clock::now() + 5s;
  bool asked = false;
  SDL_Event event;
  while (!asked && std::chrono::steady_clock::now() < asked_by) {
    asked = SDL_WaitEventTimeout(&event, 100) && event.type == platform::AudioRestEvent();
  }
  ASSERT_TRUE(asked) << "no rest asked for after the sound ended";
  platform::RestAudioIfSilent();
  std::this_thread::sleep_for(100ms);
  const auto rested = Audio().Mark();
  std::this_thread::sleep_for(400ms);
  EXPECT_EQ(Audio().Mark(), rested) << "the device went on writing while resting";

  const std::string path = Tone("after_rest.wav", 440, 0.3);
  const auto mark = Audio().Mark();
  EXPECT_EQ(platform::sndPlaySoundA(path, platform::SND_ASYNC), 1);
  const auto samples = Audio().Samples(mark, 0.5);
  EXPECT_GT(DiskAudio::Peak(Audio().Between(samples, 0.05, 0.25)), 0.3);
  EXPECT_NEAR(Audio().Frequency(Audio().Between(samples, 0.05, 0.25)), 440, 440 * 0.03);
  SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

TEST_F(SoundTest, MissingOrUnreadableFilePlaysTheDefaultBeep) {
  const std::string garbage = Audio().folder() / "garbage.wav";
  media_files::Save(garbage, {'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v'});
  for (const std::string& path : {Audio().folder() / "missing.wav", garbage}) {
    const auto mark = Audio().Mark();
    EXPECT_EQ(platform::sndPlaySoundA(path, platform::SND_ASYNC), 1) << path;
    const auto beep = Audio().Between(Audio().Samples(mark, 0.3), 0.02, 0.1);
    EXPECT_GT(DiskAudio::Peak(beep), 0.1) << path;
    EXPECT_NEAR(Audio().Frequency(beep), 880, 880 * 0.05) << path;
    std::this_thread::sleep_for(200ms);
  }
}

}  // namespace
