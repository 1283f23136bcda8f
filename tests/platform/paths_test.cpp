// Paths built the Windows way, with the program directory in upper case, found on a file
// system that tells case apart.
#include "platform/paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/failure.h"
#include "platform/runtime.h"
#include "temp_dir.h"

namespace {

using platform::MapPath;

class Paths : public ::testing::Test {
 protected:
  Paths() {
    dir.Write("App/Picture/Boje1_01.jpg", "12345");
    dir.Write("App/case/a.gif", "");
    dir.Write("App/case/A.GIF", "");
  }
  std::string Root() const { return dir.Path().string(); }
  platform_test::TempDir dir;
};

TEST_F(Paths, MapsCaseAndSeparatorsAndKeepsWhatMatchesNothing) {
  const std::string r = Root();
  const std::pair<std::string, std::string> cases[] = {
      {r + "\\APP\\PICTURE\\BOJE1_01.JPG", r + "/App/Picture/Boje1_01.jpg"},
      {r + "\\app\\\\Picture\\\\boje1_01.JPG", r + "/App/Picture/Boje1_01.jpg"},
      {r + "//App/Picture//Boje1_01.jpg", r + "/App/Picture/Boje1_01.jpg"},
      {r + "\\APP\\PICTURE\\", r + "/App/Picture"},
      {r + "\\APP\\MISSING\\BOJE1_01.JPG", r + "/App/MISSING/BOJE1_01.JPG"},
      {r + "\\App\\Picture\\NONE.GIF", r + "/App/Picture/NONE.GIF"},
      {r + "\\APP\\CASE\\a.gif", r + "/App/case/a.gif"},  // an exact match wins
      {r + "\\APP\\CASE\\A.gif", r + "/App/case/A.GIF"},  // else the same choice every run
      {"\\", "/"},
      {"/", "/"},
      {"\\\\", "/"},
      {"\\\\TMP\\", "/tmp"},
      {"C:\\", "/"},
      {"C:\\\\TMP", "/tmp"},
  };
  for (const auto& [windows, expected] : cases) EXPECT_EQ(MapPath(windows), expected) << windows;
}

TEST_F(Paths, FileMadeAfterAMissFoundAndFileRemovedAfterAHitMissed) {
  const std::string asked = Root() + "\\APP\\PICTURE\\SAVED.GIF";
  EXPECT_EQ(MapPath(asked), Root() + "/App/Picture/SAVED.GIF");
  dir.Write("App/Picture/Saved.gif", "");
  EXPECT_EQ(MapPath(asked), Root() + "/App/Picture/Saved.gif");
  std::filesystem::remove(dir.Path() / "App/Picture/Saved.gif");
  dir.Write("App/Picture/saved.GIF", "");
  EXPECT_EQ(MapPath(asked), Root() + "/App/Picture/saved.GIF");
}

TEST_F(Paths, FileLenAndChDirTakeTheProgramDirectoryInUpperCase) {
  const std::string program = platform::UCase(Root() + "\\App");
  EXPECT_EQ(platform::FileLen(program + "\\PICTURE\\BOJE1_01.JPG"), 5);
  EXPECT_THROW(platform::FileLen(program + "\\PICTURE\\NONE.JPG"), platform::RuntimeError);
  EXPECT_THROW(platform::FileLen(program + "\\PICTURE"), platform::RuntimeError);

  const std::string before = std::filesystem::current_path().string();
  platform::ChDir(program + "\\PICTURE");
  EXPECT_EQ(std::filesystem::current_path(), dir.Path() / "App/Picture");
  EXPECT_EQ(platform::FileLen("BOJE1_01.JPG"), 5) << "relative to the current directory";
  EXPECT_THROW(platform::ChDir(program + "\\NOWHERE"), platform::RuntimeError);
  ASSERT_EQ(::chdir(before.c_str()), 0);
}

}  // namespace
