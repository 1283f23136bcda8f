// On a desktop with several display modes the program switches to its own at start-up, and
// however it ends the desktop gets its configuration back exactly as it was.
#include <signal.h>

#include <chrono>
#include <iostream>
#include <thread>

#include "program_on_desktop.h"

namespace e2e {
namespace {

// Yes in the exit dialog, a signal sent to the program, or its X connection killed.
enum class Ending { kYes, kSignal, kConnectionKilled };

struct EndingCase {
  const char* name;
  Ending ending;
  int signal;           // with kSignal
  bool ends_by_itself;  // exits with status 0, opening the maker's page on the way
};

void PrintTo(const EndingCase& c, std::ostream* out) { *out << c.name; }

class DisplayModeOnXorg : public ProgramOnDesktop,
                          public ::testing::WithParamInterface<EndingCase> {
 protected:
  DisplayModeOnXorg() { on_xorg_ = true; }

  std::string Randr() const { return RunTool({"xrandr", "-display", xorg_.display()}).out; }
};

// The screen's size and the first output's mode, for a message.
std::string Summary(const std::string& randr) {
  const std::size_t first = randr.find('\n');
  return randr.substr(0, first == std::string::npos ? first : randr.find('\n', first + 1));
}

TEST_P(DisplayModeOnXorg, SwitchesAtStartAndGivesTheDesktopItsModeBackHoweverItEnds) {
  const EndingCase& c = GetParam();
  ASSERT_NO_THROW(xorg_.Start()) << xorg_.Log();
  const std::string desktop_mode = Randr();
  ASSERT_NE(desktop_mode.find("current 1920 x 1080"), std::string::npos) << desktop_mode;
  ASSERT_NO_FATAL_FAILURE(Launch());
  const std::string program_mode = Randr();
  EXPECT_NE(program_mode.find("current 1024 x 768"), std::string::npos) << Summary(program_mode);
  EXPECT_NE(program_mode.find(" 1024x768+0+0 "), std::string::npos) << Summary(program_mode);

  if (c.ending == Ending::kYes) {
    desktop().Keys("ctrl+x");
    ASSERT_TRUE(WaitForPanel("CTRLX.JPG", true)) << "no exit dialog";
  }
  const auto ended = std::chrono::steady_clock::now();
  switch (c.ending) {
    case Ending::kYes:
      desktop().Click(kYes.x, kYes.y);
      break;
    case Ending::kSignal:
      ::kill(program_->pid(), c.signal);
      break;
    case Ending::kConnectionKilled:
      desktop().Tool({"xkill", "-id", window_});
      break;
  }
  std::string now;
  const auto deadline = ended + 20s;
  while ((now = Randr()) != desktop_mode && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(10ms);
  }
  const auto taken = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - ended);
  EXPECT_TRUE(now == desktop_mode) << "after " << c.name << " the desktop shows\n"
                                   << Summary(now) << "\nnot\n"
                                   << Summary(desktop_mode);
  RecordProperty("ms_to_desktop_mode", std::to_string(taken.count()));
  std::cout << c.name << ": the desktop's own mode after " << taken.count() << " ms\n";

  if (c.ends_by_itself) {
    EXPECT_EQ(program_->WaitForExit(30s), 0) << "the program did not end by itself";
    const std::vector<std::string> pages = browser_->WaitForAddresses(1);
    EXPECT_TRUE(pages.size() == 1 && pages.front().ends_with("/MAKER.HTML")) << pages.size();
  } else {
    EXPECT_TRUE(WaitFor([&] { return !program_->Running(); }, 30s)) << "the program stayed";
  }
  // Nothing undoes the restored mode later.
  std::this_thread::sleep_for(500ms);
  EXPECT_TRUE(Randr() == desktop_mode) << Summary(Randr());
}

INSTANTIATE_TEST_SUITE_P(
    Endings, DisplayModeOnXorg,
    ::testing::Values(EndingCase{"Yes", Ending::kYes, 0, true},
                      EndingCase{"SIGTERM", Ending::kSignal, SIGTERM, true},
                      EndingCase{"SIGHUP", Ending::kSignal, SIGHUP, true},
                      EndingCase{"SIGQUIT", Ending::kSignal, SIGQUIT, true},
                      EndingCase{"SIGKILL", Ending::kSignal, SIGKILL, false},
                      EndingCase{"xkill", Ending::kConnectionKilled, 0, false}),
    [](const ::testing::TestParamInfo<EndingCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2e
