// The music switch with its repeat timer, and the sound-effects switch, through real clicks.
#include "platform/music.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "frame/module_state.h"
#include "frame_fixture.h"

namespace frame_test {
namespace {

class MusicTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    WriteShortMidi(data->File("MUSIC/001.MID"), 0.5);
    StartFully();
  }

  bool Playing() const {
    return forma->perf && forma->perf->IsPlaying(forma->seg, forma->seg_state);
  }
};

TEST_F(MusicTest, SwitchStartsStopsAndRestartsWithNewObjects) {
  EXPECT_EQ(forma->dx_muzika, nullptr);
  EXPECT_FALSE(Mix_PlayingMusic());

  ClickOn(forma->MusicOn);
  EXPECT_EQ(muzika_iskljucena, 0);
  ASSERT_EQ(forma->muzika_svira, 1);
  EXPECT_TRUE(forma->tmrRepeat.Enabled());
  ASSERT_TRUE(Playing());
  EXPECT_EQ(Mix_VolumeMusic(-1), platform::MusicVolumeFor(150));
  EXPECT_DOUBLE_EQ(forma->seg->seconds(), 0.5);
  const auto first_loader = forma->loader;
  const auto first_perf = forma->perf;
  const auto first_seg = forma->seg;
  const auto directx = forma->dx_muzika;

  ClickOn(forma->MusicOn);
  EXPECT_EQ(muzika_iskljucena, 1);
  EXPECT_EQ(forma->muzika_svira, 0);
  EXPECT_FALSE(forma->tmrRepeat.Enabled());
  EXPECT_FALSE(Playing());
  EXPECT_FALSE(Mix_PlayingMusic());
  const auto stopped_state = forma->seg_state;
  PumpFor(1200ms);
  EXPECT_EQ(forma->seg_state, stopped_state) << "no restart once stopped";
  EXPECT_FALSE(Mix_PlayingMusic());

  // The file is read again at the next start.
  WriteShortMidi(data->File("MUSIC/001.MID"), 1.0);
  ClickOn(forma->MusicOn);
  EXPECT_EQ(forma->muzika_svira, 1);
  ASSERT_TRUE(Playing());
  EXPECT_NE(forma->loader, first_loader);
  EXPECT_NE(forma->perf, first_perf);
  EXPECT_NE(forma->seg, first_seg);
  EXPECT_EQ(forma->dx_muzika, directx);
  EXPECT_DOUBLE_EQ(forma->seg->seconds(), 1.0);
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
constexpr bool kAddressSanitizer = __has_feature(address_sanitizer);
#else
constexpr bool kAddressSanitizer = false;
#endif

// The address space the process has taken, in bytes.
long AddressSpaceUsed() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmSize:", 0) == 0) return std::stol(line.substr(7)) * 1024;
  }
  return 0;
}

// With little address space left, the synthesiser's helpers cannot have stacks of their own;
// switching the music on must not end the program, whatever it then plays.
TEST_F(MusicTest, SwitchingTheMusicOnWithLittleAddressSpaceLeftKeepsTheProgramRunning) {
  if (kAddressSanitizer) {
    GTEST_SKIP() << "the sanitizer's shadow memory takes more address space than any limit";
  }
  // Room for the soundfont, but not for the stacks and heaps of a team of threads.
  constexpr long kMargin = 32l << 20;
  constexpr int kCameBack = 42;
  const pid_t child = ::fork();
  if (child == 0) {
    const auto limit = static_cast<rlim_t>(AddressSpaceUsed() + kMargin);
    const rlimit little{limit, limit};
    if (::setrlimit(RLIMIT_AS, &little) != 0) ::_exit(1);
    ClickOn(forma->MusicOn);
    ::_exit(kCameBack);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kCameBack)
      << "the program ended: " << (WIFEXITED(status) ? "status " : "signal ")
      << (WIFEXITED(status) ? WEXITSTATUS(status) : WTERMSIG(status));
}

TEST_F(MusicTest, APieceIsLeftToPlayAndStartsAgainWithinHalfASecondOfItsEnd) {
  // Longer than three of the timer's ticks, so a piece started anew on every tick shows.
  constexpr double kSeconds = 1.6;
  WriteShortMidi(data->File("MUSIC/001.MID"), kSeconds);
  ClickOn(forma->MusicOn);
  ASSERT_TRUE(Playing());
  ASSERT_NEAR(forma->seg->seconds(), kSeconds, 0.01);
  std::vector<std::shared_ptr<platform::DirectMusicSegmentState>> plays = {forma->seg_state};
  const auto end = std::chrono::steady_clock::now() + 4600ms;
  while (std::chrono::steady_clock::now() < end) {
    test_support::Pump();
    if (forma->seg_state != plays.back()) plays.push_back(forma->seg_state);
    SDL_Delay(2);
  }
  ASSERT_GE(plays.size(), 3u);
  for (std::size_t i = 1; i < plays.size(); ++i) {
    const auto ended_ms =
        plays[i - 1]->start_ms() + static_cast<std::uint64_t>(plays[i - 1]->seconds() * 1000);
    EXPECT_GE(plays[i]->start_ms(), ended_ms) << "play " << i << " cut the one before short";
    EXPECT_LE(plays[i]->start_ms(), ended_ms + 600) << "play " << i;
  }
  EXPECT_TRUE(forma->tmrRepeat.Enabled());
}

TEST_F(MusicTest, MissingMusicFileLeavesTheSwitchOnWithoutSound) {
  data->Remove("MUSIC/001.MID");
  ClickOn(forma->MusicOn);
  EXPECT_EQ(muzika_iskljucena, 0);
  EXPECT_EQ(forma->muzika_svira, 1);
  EXPECT_FALSE(forma->tmrRepeat.Enabled());
  EXPECT_EQ(forma->seg, nullptr);
  EXPECT_FALSE(Mix_PlayingMusic());

  ClickOn(forma->MusicOn);
  EXPECT_EQ(muzika_iskljucena, 1);
  EXPECT_EQ(forma->muzika_svira, 0);
}

TEST_F(MusicTest, MusicEngineThatCannotStartLeavesTheMusicOff) {
  ::setenv("SDL_SOUNDFONTS", "/nonexistent/no-such.sf2", 1);
  ClickOn(forma->MusicOn);
  ::unsetenv("SDL_SOUNDFONTS");
  EXPECT_EQ(muzika_iskljucena, 1);
  EXPECT_EQ(forma->muzika_svira, 0);
  EXPECT_FALSE(forma->tmrRepeat.Enabled());
  EXPECT_EQ(forma->seg, nullptr);

  ClickOn(forma->MusicOn);
  EXPECT_EQ(forma->muzika_svira, 1) << "starts once the engine can";
}

TEST_F(MusicTest, SoundSwitchFlagsMoveTogether) {
  for (std::int16_t expected : {0, 1, 0, 1}) {
    ClickOn(forma->MuteWave);
    EXPECT_EQ(zvuk_ukljucen, expected);
    EXPECT_EQ(forma->zvuk_ukljucen_forma, expected);
  }
}

TEST_F(MusicTest, VolumeInHundredthsOfADecibel) {
  ClickOn(forma->MusicOn);
  ASSERT_TRUE(Playing());
  std::uint8_t volume = 0;
  forma->SetVolume(volume);
  EXPECT_EQ(Mix_VolumeMusic(-1), platform::MusicVolumeFor(-3000));
  volume = 75;
  forma->SetVolume(volume);
  EXPECT_EQ(Mix_VolumeMusic(-1), platform::MusicVolumeFor(150));
  EXPECT_NE(platform::MusicVolumeFor(-3000), platform::MusicVolumeFor(150));
}

}  // namespace
}  // namespace frame_test
