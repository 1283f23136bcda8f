// The start-up check of the picture files' lengths.
#include "frame/data_files.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "frame/module_state.h"
#include "frame_fixture.h"
#include "platform/keyboard_hook.h"
#include "platform/runtime.h"

namespace frame_test {
namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

std::string Relative(const data_files::SizedFile& f) {
  std::string name(f.literal.substr(1));
  name[name.find('\\')] = '/';
  return name;  // "PICTURE/01.GIF"
}

class DataFilesTest : public FrameTest {};

TEST_F(DataFilesTest, GeneratedSetPasses) {
  CaptureStderr();
  StartProgram();
  EXPECT_EQ(GetCapturedStderr(), "");
  EXPECT_FALSE(ended.has_value());
  EXPECT_EQ(trenutna_boja, 255);
  EXPECT_NE(forma->dd, nullptr);
}

TEST_F(DataFilesTest, OnlyLengthsCountNotContent) {
  for (const char* name : {"PICTURE/01.GIF", "PICTURE/GLAVNA.JPG", "PICTURE/ZVUCNIK2.JPG"}) {
    data->Overwrite(name, 'x');
  }
  data->Remove("SOUND");
  data->Remove("MUSIC");
  StartProgram();
  EXPECT_FALSE(ended.has_value());
  EXPECT_EQ(trenutna_boja, 255);
}

enum class Change { kLonger, kShorter, kMissing };
struct BadFile {
  std::size_t entry;  // place in the test order
  Change change;
};

class BadFileTest : public FrameTest, public testing::WithParamInterface<BadFile> {};

TEST_P(BadFileTest, EndsTheProgramAtTheFirstBadFile) {
  const data_files::SizedFile& bad = data_files::kPictureSizes[GetParam().entry];
  const Change change = GetParam().change;
  if (change == Change::kMissing) {
    data->Remove(Relative(bad));
  } else {
    data->Overwrite(Relative(bad), 'x', bad.size + (change == Change::kLonger ? 1 : -1));
  }
  // A later bad entry must never be reached.
  if (GetParam().entry + 1 < data_files::kPictureSizes.size()) {
    data->Remove(Relative(data_files::kPictureSizes.back()));
  }

  FakeBrowser browser;
  CaptureStderr();
  StartProgram();
  const std::string said = GetCapturedStderr();

  ASSERT_EQ(ended, 1);
  const std::string name = Relative(bad);
  EXPECT_NE(said.find(name), std::string::npos) << said;
  EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line: " << said;
  EXPECT_EQ(trenutna_boja, 0) << "nothing after the test runs";
  EXPECT_EQ(forma->dd, nullptr);
  EXPECT_TRUE(forma->Visible());
  // A wrong length removes the keyboard filter first; an unreadable one leaves it to the end.
  EXPECT_EQ(platform::UnhookWindowsHookEx(forma->hook_id), change == Change::kMissing ? 1 : 0);
  EXPECT_TRUE(browser.Opened().empty()) << "no unload, no web page";
}

std::string CaseName(const testing::TestParamInfo<BadFile>& info) {
  static const char* const kChange[] = {"OneByteLonger", "OneByteShorter", "Missing"};
  return "Entry" + std::to_string(info.param.entry + 1) +
         kChange[static_cast<int>(info.param.change)];
}

INSTANTIATE_TEST_SUITE_P(FirstMiddleAndLast, BadFileTest,
                         testing::Values(BadFile{0, Change::kLonger}, BadFile{0, Change::kShorter},
                                         BadFile{0, Change::kMissing}, BadFile{77, Change::kLonger},
                                         BadFile{77, Change::kShorter},
                                         BadFile{77, Change::kMissing},
                                         BadFile{146, Change::kLonger},
                                         BadFile{146, Change::kShorter},
                                         BadFile{146, Change::kMissing}),
                         CaseName);

TEST_F(DataFilesTest, WrongLengthStopsPlayingMusicBeforeTheEnd) {
  StartProgram();
  ASSERT_FALSE(ended.has_value());
  ClickOn(forma->MusicOn);
  ASSERT_EQ(forma->muzika_svira, 1);
  data->Overwrite("PICTURE/GLAVNA.JPG", 'x', 10);

  CaptureStderr();
  try {
    forma->provera_datoteka();
    ADD_FAILURE() << "the test returned";
  } catch (const platform::ProgramEnd& end) {
    EXPECT_EQ(end.status, 1);
  }
  GetCapturedStderr();
  EXPECT_EQ(forma->muzika_svira, 0);
  EXPECT_FALSE(forma->tmrRepeat.Enabled());
  EXPECT_FALSE(forma->perf->IsPlaying(forma->seg, forma->seg_state));
  EXPECT_FALSE(platform::KeyboardFilterInstalled());
}

// A program folder so deep that the data files' names pass the system's limit, though the
// folder's own name does not: the line names that cause, which reinstalling would not mend.
TEST_F(DataFilesTest, AFolderTooDeepForTheSystemIsToldAsANameTooLong) {
  std::vector<fs::path> data_set;
  for (const auto& entry : fs::directory_iterator(data->Path())) data_set.push_back(entry.path());
  fs::path deep = data->Path();
  constexpr std::size_t kLength = 4080;  // PICTURE/BOJE1_01.JPG in it lies past 4095
  while (deep.string().size() + 201 < kLength) deep /= std::string(200, 'd');
  deep /= std::string(kLength - deep.string().size() - 1, 'e');
  fs::create_directories(deep);
  ASSERT_EQ(deep.string().size(), kLength);
  // What lies at the top of the data set itself still fits, so the program finds its folder.
  for (const fs::path& entry : data_set) {
    const fs::path link = deep / entry.filename();
    if (link.string().size() < PATH_MAX) fs::create_symlink(entry, link);
  }
  platform::SetAppPath(deep.string());

  CaptureStderr();
  StartProgram();
  const std::string said = GetCapturedStderr();
  ASSERT_EQ(ended, 1);
  EXPECT_NE(said.find("name too long"), std::string::npos) << said.substr(0, 200);
  EXPECT_EQ(said.find("missing or unreadable"), std::string::npos) << said.substr(0, 200);
  EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line";
}

}  // namespace
}  // namespace frame_test
