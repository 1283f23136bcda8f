#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "media_files.h"
#include "platform/directx7.h"
#include "platform/failure.h"
#include "platform/sound.h"
#include "temp_folder.h"

namespace {

// A machine with no sound card: the device cannot open. Set before anything opens it.
class NoAudioDevice : public testing::Environment {
 public:
  void SetUp() override { ::setenv("SDL_AUDIODRIVER", "no-such-audio-driver", 1); }
};
const auto* const kNoAudio = testing::AddGlobalTestEnvironment(new NoAudioDevice);

// First in the file: the device is tried once per process, and so is the line about it.
TEST(NoAudioTest, SoundsStaySilentWithoutFailingTheCallerAndOneLineSaysWhy) {
  test_support::TempFolder folder;
  media_files::Save(folder / "tone.wav", media_files::ToneWav(440, 0.1));
  testing::internal::CaptureStderr();
  EXPECT_EQ(platform::sndPlaySoundA(folder / "tone.wav", platform::SND_ASYNC), 0);
  EXPECT_EQ(platform::sndPlaySoundA(folder / "missing.wav", platform::SND_ASYNC), 0);
  EXPECT_FALSE(platform::AudioDeviceOpen());
  platform::DirectX7 directx;
  EXPECT_THROW(directx.DirectMusicPerformanceCreate()->Init(nullptr, 0), platform::RuntimeError);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(said.rfind("colouring-book: no audio device", 0), 0u) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

TEST(NoAudioTest, MusicFailsAtInit) {
  platform::DirectX7 directx;
  auto performance = directx.DirectMusicPerformanceCreate();
  EXPECT_THROW(performance->Init(nullptr, 0), platform::RuntimeError);
}

}  // namespace
