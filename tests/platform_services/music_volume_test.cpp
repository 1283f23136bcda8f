#include <gtest/gtest.h>

#include "platform/music.h"

namespace {

TEST(MusicVolumeTest, HundredthsOfDecibelsMapToTheMixerScale) {
  const struct {
    std::int32_t hundredths_of_db;
    int volume;
  } table[] = {
      {0, platform::kMusicUnityVolume},  // unity gain, with room above it
      {150, 114},                        // a little louder than unity
      {250, 128},
      {600, 128},  // clipped at full
      {-600, 48},
      {-2000, 10},
      {-3000, 3},  // quiet but not silent
      {-10000, 0},
  };
  for (const auto& row : table) {
    EXPECT_EQ(platform::MusicVolumeFor(row.hundredths_of_db), row.volume) << row.hundredths_of_db;
  }
  EXPECT_LT(platform::kMusicUnityVolume, 128);
}

}  // namespace
