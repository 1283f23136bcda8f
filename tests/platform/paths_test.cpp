// Paths built the Windows way, with the program directory in upper case, found on a file
// system that tells case apart.
#include "platform/paths.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>

#include "platform/failure.h"
#include "platform/runtime.h"
#include "temp_folder.h"

namespace {

using platform::MapPath;

class Paths : public ::testing::Test {
 protected:
  Paths() {
    dir.Write("App/Picture/Boje1_01.jpg", "12345");
    dir.Write("App/case/a.gif", "");
    dir.Write("App/case/A.GIF", "");
  }
  std::string Root() const { return dir.path().string(); }
  test_support::TempFolder dir;
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
  std::filesystem::remove(dir.path() / "App/Picture/Saved.gif");
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
  EXPECT_EQ(std::filesystem::current_path(), dir.path() / "App/Picture");
  EXPECT_EQ(platform::FileLen("BOJE1_01.JPG"), 5) << "relative to the current directory";
  EXPECT_THROW(platform::ChDir(program + "\\NOWHERE"), platform::RuntimeError);
  ASSERT_EQ(::chdir(before.c_str()), 0);
}

// A folder beside the program's whose name differs only in case must not take the program's
// data paths: the upper-cased program directory is the program's own.
TEST_F(Paths, TheProgramDirectoryInAnyCaseIsTheRealOne) {
  dir.Write("x/Games/app/PICTURE/01.GIF", "12345");
  dir.Write("x/Games/app/MY_PICTURE/01.GIF", "saved");
  dir.Write("x/GAMES/app/PICTURE/01.GIF", "1");
  dir.Write("x/GAMES/app/MY_PICTURE/01.GIF", "");
  const std::string program = Root() + "/x/Games/app";
  platform::SetAppPath(program);
  const std::string upper = platform::UCase(program);
  EXPECT_EQ(MapPath(upper + "\\PICTURE\\01.GIF"), program + "/PICTURE/01.GIF");
  EXPECT_EQ(MapPath(upper + "\\picture\\01.gif"), program + "/PICTURE/01.GIF");
  EXPECT_EQ(MapPath(program + "\\\\MY_PICTURE\\01.GIF"), program + "/MY_PICTURE/01.GIF");
  EXPECT_EQ(MapPath(upper), program);
  EXPECT_EQ(platform::FileLen(upper + "\\PICTURE\\01.GIF"), 5);
  // Paths elsewhere keep being matched as before.
  dir.Write("x/GAMES/other.txt", "");
  EXPECT_EQ(MapPath(Root() + "\\X\\GAMES\\OTHER.TXT"), Root() + "/x/GAMES/other.txt");
  platform::UseLayout({});
}

// The environment variable for the length of one test.
class EnvironmentVariable {
 public:
  EnvironmentVariable(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = ::getenv(name)) old_ = old;
    if (value) {
      ::setenv(name, value->c_str(), 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~EnvironmentVariable() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class InstalledLayout : public Paths {
 protected:
  InstalledLayout() {
    dir.Write("usr/lib/colouring-book/MOVARI.EXE", "companion");
    dir.Write("usr/share/colouring-book/PICTURE/01.GIF", "12345");
    dir.Write("usr/share/colouring-book/MAKER.HTML", "<p>");
    program = Root() + "/usr/lib/colouring-book";
  }
  ~InstalledLayout() override { platform::UseLayout({}); }
  std::string program;
};

TEST_F(InstalledLayout, DataFromShareAndPicturesFromTheUsersOwnFolder) {
  EnvironmentVariable xdg("XDG_DATA_HOME", Root() + "/home/data");
  const platform::Layout layout = platform::LayoutFor(program);
  EXPECT_EQ(layout.program, program);
  EXPECT_EQ(layout.data, Root() + "/usr/share/colouring-book");
  EXPECT_EQ(layout.pictures, Root() + "/home/data/colouring-book/MY_PICTURE");
  ASSERT_TRUE(platform::MakePictureFolder(layout));
  for (const char* folder :
       {"/home/data", "/home/data/colouring-book", "/home/data/colouring-book/MY_PICTURE"}) {
    struct stat st;
    ASSERT_EQ(::stat((Root() + folder).c_str(), &st), 0) << folder;
    EXPECT_EQ(st.st_mode & 0777, 0700u) << folder;
  }

  platform::UseLayout(layout);
  const std::string upper = platform::UCase(program);
  const std::pair<std::string, std::string> cases[] = {
      {upper + "\\PICTURE\\01.GIF", layout.data + "/PICTURE/01.GIF"},
      {upper + "\\MAKER.HTML", layout.data + "/MAKER.HTML"},
      {upper + "\\MOVARI.EXE", program + "/MOVARI.EXE"},
      {program + "\\\\MY_PICTURE\\01.GIF", layout.pictures + "/01.GIF"},
      {upper, program},
  };
  for (const auto& [windows, expected] : cases) EXPECT_EQ(MapPath(windows), expected) << windows;
  EXPECT_EQ(platform::FileLen(upper + "\\PICTURE\\01.GIF"), 5);
}

TEST_F(InstalledLayout, HomeStandsInForAMissingOrRelativeDataHome) {
  EnvironmentVariable home("HOME", Root() + "/home");
  for (const std::optional<std::string>& value :
       {std::optional<std::string>{}, std::optional<std::string>{"relative/data"}}) {
    EnvironmentVariable xdg("XDG_DATA_HOME", value);
    EXPECT_EQ(platform::LayoutFor(program).pictures,
              Root() + "/home/.local/share/colouring-book/MY_PICTURE");
  }
}

TEST_F(InstalledLayout, AFolderThatCannotBeMadeIsLeftMissing) {
  dir.Write("home/data", "a file where the folder should be");
  EnvironmentVariable xdg("XDG_DATA_HOME", Root() + "/home/data");
  const platform::Layout layout = platform::LayoutFor(program);
  EXPECT_FALSE(platform::MakePictureFolder(layout));
  EXPECT_FALSE(std::filesystem::exists(layout.pictures));
}

TEST_F(Paths, TheBuildTreeKeepsEverythingBesideTheProgram) {
  const std::string program = Root() + "/App";
  const platform::Layout layout = platform::LayoutFor(program);
  EXPECT_EQ(layout.data, program);
  EXPECT_EQ(layout.pictures, program + "/MY_PICTURE");
  EXPECT_TRUE(platform::MakePictureFolder(layout));
  EXPECT_FALSE(std::filesystem::exists(layout.pictures)) << "made where the data set brings it";
}

}  // namespace
