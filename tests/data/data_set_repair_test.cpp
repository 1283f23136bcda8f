#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "frame/data_files.h"
#include "processes.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The length start-up demands of a picture, by its name below the program's directory.
std::uintmax_t ExpectedPictureSize(const std::string& name) {
  for (const data_files::SizedFile& file : data_files::kPictureSizes) {
    std::string path(file.literal.substr(1));
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path == name) return static_cast<std::uintmax_t>(file.size);
  }
  ADD_FAILURE() << name << " is not a picture start-up checks";
  return 0;
}

test_support::Outcome Build(const std::vector<std::string>& arguments) {
  std::vector<std::string> command = {CMAKE_COMMAND_PATH};
  command.insert(command.end(), arguments.begin(), arguments.end());
  return test_support::RunTool(command, {}, 600s);
}

// A build folder of the data set alone, by the rule the real build uses, so that damaging it
// leaves the suite's own data set alone.
TEST(DataSetBuild, BringsBackAMissingFileAndFilesCutShort) {
  test_support::TempFolder folder;
  const fs::path build = folder.path() / "build";
  const test_support::Outcome configured =
      Build({"-S", COLOURING_SOURCE_DIR "/tests/data/data_set_build", "-B", build.string(),
             "-DCOLOURING_SOURCE_DIR=" COLOURING_SOURCE_DIR, "-DDATAGEN=" DATAGEN_PATH});
  ASSERT_EQ(configured.status, 0) << configured.out;
  test_support::Outcome built = Build({"--build", build.string()});
  ASSERT_EQ(built.status, 0) << built.out;

  const fs::path app = build / "app";
  std::vector<fs::path> sounds;
  for (const auto& entry : fs::directory_iterator(app / "SOUND")) sounds.push_back(entry.path());
  ASSERT_FALSE(sounds.empty());
  std::sort(sounds.begin(), sounds.end());
  const std::uintmax_t sound_size = fs::file_size(sounds[0]);

  struct Damage {
    fs::path file;
    std::uintmax_t size;  // what it must be again
    bool removed;         // or else cut short
  };
  const Damage damages[] = {
      {app / "PICTURE/05.GIF", ExpectedPictureSize("PICTURE/05.GIF"), true},
      {app / "PICTURE/GLAVNA.JPG", ExpectedPictureSize("PICTURE/GLAVNA.JPG"), false},
      {sounds[0], sound_size, false},
  };
  for (const Damage& damage : damages) {
    ASSERT_EQ(fs::file_size(damage.file), damage.size) << damage.file;
    if (damage.removed) {
      fs::remove(damage.file);
    } else {
      fs::resize_file(damage.file, damage.size - 1);
    }
  }
  built = Build({"--build", build.string()});
  ASSERT_EQ(built.status, 0) << built.out;
  for (const Damage& damage : damages) {
    ASSERT_TRUE(fs::exists(damage.file)) << damage.file << " did not come back";
    EXPECT_EQ(fs::file_size(damage.file), damage.size) << damage.file;
  }

  // A whole set is not made again: a build with nothing to do does nothing.
  const fs::path stamp = build / "data_set.stamp";
  ASSERT_TRUE(fs::exists(stamp));
  const auto made = fs::last_write_time(stamp);
  built = Build({"--build", build.string()});
  ASSERT_EQ(built.status, 0) << built.out;
  EXPECT_EQ(fs::last_write_time(stamp), made) << built.out;
}

}  // namespace
