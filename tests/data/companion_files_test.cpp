#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

const fs::path kAppDir = COLOURING_APP_DIR;

// Runs a program to its end and gives its exit status (-1 if it did not end normally).
int RunToEnd(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every file below a folder, by its path relative to the folder, with its contents.
std::map<std::string, std::string> Tree(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file())
      files[fs::relative(entry.path(), root).string()] = ReadText(entry.path());
  }
  return files;
}

class ScratchDir : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("data-tests-" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  void TearDown() override { fs::remove_all(root_); }
  fs::path root_;
};

TEST(CompanionFiles, CompanionProgramRunsAndSucceeds) {
  const fs::path movari = kAppDir / "MOVARI.EXE";
  ASSERT_TRUE(fs::is_regular_file(movari));
  EXPECT_EQ(fs::path(MOVARI_PATH), movari);
  EXPECT_EQ(RunToEnd({movari.string()}), 0);
}

TEST(CompanionFiles, WebPagesAreLocalEnglishHtml) {
  for (const char* name : {"MAKER.HTML", "PRODUCT.HTML"}) {
    SCOPED_TRACE(name);
    const std::string page = ReadText(kAppDir / name);
    EXPECT_TRUE(page.starts_with("<!DOCTYPE html>"));
    EXPECT_NE(page.find("lang=\"en\""), std::string::npos);
    EXPECT_NE(page.find("</html>"), std::string::npos);
    for (const char* external : {"http:", "https:", "src=", "@import"}) {
      EXPECT_EQ(page.find(external), std::string::npos) << external;
    }
  }
  EXPECT_TRUE(fs::is_directory(kAppDir / "MY_PICTURE"));
}

TEST_F(ScratchDir, GeneratorMakesTheSameBytesOnEveryRun) {
  for (const char* run : {"first", "second"}) {
    ASSERT_EQ(RunToEnd({DATAGEN_PATH, (root_ / run / "app").string(),
                        (root_ / run / "generated").string()}),
              0);
  }
  const auto first = Tree(root_ / "first");
  const auto second = Tree(root_ / "second");
  EXPECT_GT(first.size(), 160u);
  EXPECT_TRUE(first == second);
  // And the same as the data set the build made.
  for (const auto& [name, bytes] : first) {
    if (!name.starts_with("app/")) continue;
    EXPECT_EQ(bytes, ReadText(kAppDir / name.substr(4))) << name;
  }
}

TEST(CompanionFiles, GeneratorRefusesWrongArguments) {
  EXPECT_EQ(RunToEnd({DATAGEN_PATH}), 2);
  EXPECT_EQ(RunToEnd({DATAGEN_PATH, "only-one"}), 2);
}

}  // namespace
