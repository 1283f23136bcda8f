// One copy per user and display: a second start brings the running copy to the front and ends
// at once, and a copy that was killed leaves nothing behind that keeps the next one out.
#include <signal.h>
#include <sys/wait.h>

#include <fstream>
#include <thread>

#include "program_on_desktop.h"

namespace e2e {
namespace {

class OneCopy : public ProgramOnDesktop {
 protected:
  // The installed program started once more on the same display, as a second click on the
  // menu entry starts it, its lines going to `log`.
  std::unique_ptr<Started> StartAgain(const fs::path& log) {
    return std::make_unique<Started>(
        std::vector<std::string>{install_->Command().string()},
        Environment{{"DISPLAY", desktop().display()},
                    {"SDL_VIDEODRIVER", std::nullopt},
                    {"PATH", browser_->folder().string() + ":" + std::getenv("PATH")},
                    {"XDG_DATA_HOME", UserData().string()},
                    {"CUPS_SERVER", "/nonexistent/cups.sock"}},
        log.string());
  }
  bool WaitUntilIconic(bool iconic) {
    return WaitFor([&] { return Iconic() == iconic; }, 10s);
  }
};

TEST_F(OneCopy, ASecondStartEndsAtOnceWithOneLineAndBringsTheMinimisedCopyBack) {
  ASSERT_NO_FATAL_FAILURE(Launch());
  // Minimised for a web page, as a child who clicked the about panel's link leaves it.
  desktop().Keys("ctrl+r");
  ASSERT_TRUE(WaitForPanel("CTRL-R.JPG", true)) << "no about panel";
  desktop().Click(kWebSite.x, kWebSite.y);
  ASSERT_TRUE(WaitUntilIconic(true)) << "the window was not minimised for the web page";

  const fs::path log = temp_.path() / "second.log";
  const auto started = std::chrono::steady_clock::now();
  const std::unique_ptr<Started> second = StartAgain(log);
  EXPECT_EQ(second->WaitForExit(5s), 0) << "the second copy did not end at once";
  EXPECT_LT(std::chrono::steady_clock::now() - started, 3s);
  const std::string said = ReadAll(log);
  EXPECT_NE(said.find("colouring-book: already running"), std::string::npos) << said;
  EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line: " << said;
  EXPECT_EQ(desktop().Windows("Colouring Book", false).size(), 1u) << "a second window";

  EXPECT_TRUE(WaitUntilIconic(false)) << "the running copy was not restored";
  EXPECT_TRUE(WaitForPanel("CTRL-R.JPG", true)) << "the about panel went";
  EXPECT_NE(desktop().Property(window_, "_NET_WM_STATE").find("FULLSCREEN"), std::string::npos);
  // The keyboard is the program's again: the shortcuts reach it.
  desktop().Click(kClose.x, kClose.y);
  ASSERT_TRUE(WaitForPanel("CTRL-R.JPG", false)) << "the about panel stayed";
  desktop().Keys("ctrl+x");
  EXPECT_TRUE(WaitForPanel("CTRLX.JPG", true)) << "Ctrl+X did not reach the restored copy";
  EXPECT_TRUE(program_->Running());
}

TEST_F(OneCopy, ACopyKilledOutrightLeavesNothingThatKeepsTheNextStartOut) {
  ASSERT_NO_FATAL_FAILURE(Launch());
  ASSERT_EQ(::kill(program_->pid(), SIGKILL), 0);
  EXPECT_EQ(program_->WaitForExit(10s), std::nullopt) << "killed, it ends by the signal";
  ASSERT_TRUE(WaitFor([&] { return desktop().Windows("Colouring Book", false).empty(); }, 10s));

  const fs::path log = temp_.path() / "next.log";
  const std::unique_ptr<Started> next = StartAgain(log);
  EXPECT_TRUE(WaitFor([&] { return !desktop().Windows("Colouring Book", true).empty(); }, 40s))
      << "the next start showed no window: " << ReadAll(log);
  EXPECT_TRUE(WaitForShot(
      [&](const Image& shot) {
        return ShownAt(shot, {832, 241}, {"MOREIMAGES1.JPG"}) == "MOREIMAGES1.JPG";
      },
      30s))
      << "no main screen";
  EXPECT_TRUE(next->Running()) << ReadAll(log);
  EXPECT_EQ(ReadAll(log).find("already running"), std::string::npos) << ReadAll(log);
}

}  // namespace
}  // namespace e2e
