// The program on a real X display with a window manager: the exit dialog opened by a key and
// closed again, Alt+Tab kept from the window manager, and a web link that minimises the
// window, all checked in screenshots and in the window manager's own records.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <thread>

#include "desktop.h"
#include "frame/web_pages.h"
#include "panels_fixture.h"
#include "platform/picture.h"
#include "xvfb_session.h"
// Last: Xlib's macros would change the names above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace panels_test {
namespace {

using namespace std::chrono_literals;
using test_support::Started;
using test_support::WaitFor;

class PanelsOnDesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test_support::Desktop::Installed() || !test_support::OnPath("xmessage")) {
      GTEST_SKIP() << "needs Xvfb, openbox, xdotool, xmessage and ImageMagick's import";
    }
    ::setenv("CUPS_SERVER", "/nonexistent/cups.sock", 1);
    desktop_ = std::make_unique<test_support::Desktop>(x_.Start(screen_.first, screen_.second, 24));
  }
  void TearDown() override { ::unsetenv("CUPS_SERVER"); }

  // For programs started on the display: the desktop's own video driver.
  test_support::Environment OnDisplay() const {
    return {{"DISPLAY", desktop_->display()}, {"SDL_VIDEODRIVER", std::nullopt}};
  }
  std::string X(const std::vector<std::string>& arguments) { return desktop_->Tool(arguments).out; }
  void Pointer(int x, int y) {
    X({"xdotool", "mousemove", "--window", window_, std::to_string(x), std::to_string(y)});
  }
  void ClickAt(Point at) {
    Pointer(at.x, at.y);
    desktop_->Click();
  }
  std::vector<std::string> ProgramWindows() { return desktop_->Windows("Colouring Book", true); }

  // Starts the program and waits for its window, past the two waits of start-up. Its output
  // goes to the log file, or nowhere without one.
  void StartProgram(const std::string& log = "") {
    program_ = std::make_unique<Started>(
        std::vector<std::string>{data_.File("colouring-book").string()}, OnDisplay(), log);
    ASSERT_TRUE(WaitFor([&] { return !ProgramWindows().empty(); }, 60s))
        << "the window did not appear";
    // The display mode and the second three-second wait may follow its first appearance,
    // and the window may be made anew when it is first drawn: the one there now is the one.
    std::this_thread::sleep_for(4s);
    const std::vector<std::string> windows = ProgramWindows();
    ASSERT_FALSE(windows.empty());
    window_ = windows.back();
    ASSERT_TRUE(program_->Running());
  }
  std::string ActiveWindow() {
    std::string id;
    std::istringstream(X({"xdotool", "getactivewindow"})) >> id;
    return id;
  }

  // The share of the picture's part (px, py, w, h) that the screen shows at (left, top),
  // every channel within a small tolerance.
  double Match(int left, int top, const std::string& relative, int px, int py, int w, int h) {
    try {
      const test_support::Image want =
          test_support::ImageOf(*platform::LoadPicture(data_.File(relative).string()));
      return test_support::Likeness(desktop_->Shot(), left, top, want.Part(px, py, w, h), 3);
    } catch (const std::exception&) {
      return 0;
    }
  }
  bool Shows(int left, int top, const std::string& relative, int px, int py, int w, int h,
             double share = 0.98) {
    return WaitFor([&] { return Match(left, top, relative, px, py, w, h) > share; }, 10s);
  }
  // The panels' backgrounds above and left of their buttons.
  bool ShowsPanel(const std::string& relative) { return Shows(312, 259, relative, 0, 0, 310, 130); }
  bool Iconic() {
    return desktop_->Property(window_, "WM_STATE").find("Iconic") != std::string::npos;
  }

  std::pair<int, int> screen_{1024, 768};
  test_support::DataDir data_;
  test_support::XvfbSession x_;
  std::unique_ptr<test_support::Desktop> desktop_;
  std::string window_;
  // Killed outright when it goes: an orderly end of the program would open the maker's page.
  std::unique_ptr<Started> program_;
};

TEST_F(PanelsOnDesktop, CtrlXOpensTheExitDialogAndNoClosesIt) {
  StartProgram();
  desktop_->Keys("ctrl+x");
  ASSERT_TRUE(ShowsPanel("PICTURE/CTRLX.JPG")) << "no exit dialog";
  EXPECT_TRUE(Shows(568, 409, "PICTURE/NO1.JPG", 0, 0, 85, 50));
  ClickAt(kNoButton);
  EXPECT_TRUE(
      WaitFor([&] { return Match(312, 259, "PICTURE/CTRLX.JPG", 0, 0, 310, 130) < 0.5; }, 10s))
      << "the exit dialog stayed";
  // The blank-paper button is back with the unfrozen screen.
  EXPECT_TRUE(Shows(936, 412, "PICTURE/PAPIR1.JPG", 0, 0, 63, 61));
  EXPECT_TRUE(program_->Running());
}

TEST_F(PanelsOnDesktop, AltTabLeavesTheWindowInFront) {
  Started other({"xmessage", "another program"}, OnDisplay());
  ASSERT_TRUE(WaitFor([&] { return !desktop_->Windows("xmessage", true).empty(); }, 20s));
  StartProgram();
  ASSERT_TRUE(WaitFor([&] { return ActiveWindow() == window_; }, 10s));
  desktop_->Keys("alt+Tab");
  desktop_->Keys("alt+Tab");
  std::this_thread::sleep_for(1s);
  EXPECT_EQ(ActiveWindow(), window_);
  // The keys reached nothing else either: Ctrl+X still opens the dialog.
  desktop_->Keys("ctrl+x");
  EXPECT_TRUE(ShowsPanel("PICTURE/CTRLX.JPG"));
}

// The keys of the held keyboard reach the program as the server's repeats them: a Ctrl+P held
// for a few seconds prints one page, not one for every repeat.
TEST_F(PanelsOnDesktop, AHeldCtrlPPrintsOnce) {
  const test_support::TempFolder folder;
  const fs::path log = folder.path() / "program.log";
  StartProgram(log.string());
  X({"xdotool", "keydown", "ctrl+p"});
  std::this_thread::sleep_for(3s);
  X({"xdotool", "keyup", "ctrl+p"});
  const std::string printed = "a page was not printed";
  const auto prints = [&] {
    std::ifstream in(log);
    const std::string said((std::istreambuf_iterator<char>(in)), {});
    std::size_t n = 0;
    for (auto at = said.find(printed); at != std::string::npos; at = said.find(printed, at + 1)) {
      ++n;
    }
    return n;
  };
  ASSERT_TRUE(WaitFor([&] { return prints() > 0; }, 20s)) << "Ctrl+P printed nothing";
  std::this_thread::sleep_for(3s);
  EXPECT_EQ(prints(), 1u);
}

TEST_F(PanelsOnDesktop, AWebLinkMinimisesTheWindowAndThePanelWaitsForItsReturn) {
  RecordingBrowser browser;  // on PATH before the program starts
  StartProgram();
  desktop_->Keys("ctrl+r");
  ASSERT_TRUE(ShowsPanel("PICTURE/CTRL-R.JPG")) << "no about panel";
  ClickAt(kWebSiteButton);
  EXPECT_TRUE(WaitFor([&] { return Iconic(); }, 10s)) << "the window was not minimised";
  const std::vector<std::string> opened = browser.Addresses(1);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_NE(opened[0].find("PRODUCT.HTML"), std::string::npos) << opened[0];

  X({"xdotool", "windowactivate", "--sync", window_});
  EXPECT_TRUE(WaitFor([&] { return !Iconic(); }, 10s));
  EXPECT_TRUE(ShowsPanel("PICTURE/CTRL-R.JPG"));
  // Still frozen: the blank-paper button stays hidden.
  EXPECT_LT(Match(936, 412, "PICTURE/PAPIR1.JPG", 0, 0, 63, 61), 0.5);
}

TEST_F(PanelsOnDesktop, AWebLinkThatNothingCanOpenBringsTheWindowBack) {
  // An opener that finds no browser, first on PATH before the program starts.
  test_support::TempFolder folder;
  const fs::path opener = folder.path() / "xdg-open";
  std::ofstream(opener) << "#!/bin/sh\nexit 3\n";
  fs::permissions(opener, fs::perms::owner_all);
  const std::string old_path = ::getenv("PATH");
  ::setenv("PATH", (folder.path().string() + ":" + old_path).c_str(), 1);
  StartProgram();
  ::setenv("PATH", old_path.c_str(), 1);
  desktop_->Keys("ctrl+r");
  ASSERT_TRUE(ShowsPanel("PICTURE/CTRL-R.JPG")) << "no about panel";
  const int width = desktop_->Geometry(window_, "Width");
  ClickAt(kWebSiteButton);
  EXPECT_TRUE(WaitFor([&] { return !Iconic() && ActiveWindow() == window_; }, 10s))
      << "the window stayed minimised";
  EXPECT_EQ(desktop_->Geometry(window_, "Width"), width);
  EXPECT_TRUE(ShowsPanel("PICTURE/CTRL-R.JPG"));
  // The keyboard is held again: Alt+Tab leaves the window in front.
  desktop_->Keys("alt+Tab");
  std::this_thread::sleep_for(500ms);
  EXPECT_EQ(ActiveWindow(), window_);
}

TEST_F(PanelsOnDesktop, YesMinimisesTheWindowAsTheProgramEnds) {
  if (!test_support::OnPath("xev")) GTEST_SKIP() << "needs xev";
  RecordingBrowser browser;  // on PATH before the program starts
  StartProgram();
  // Minimising is a request to the window manager sent through the root window, where a
  // watcher sees it even when the window is gone before the window manager acts on it.
  test_support::TempFolder folder;
  const fs::path requests = folder.path() / "requests.log";
  Started watcher({"xev", "-root", "-event", "substructure"}, OnDisplay(), requests.string());
  std::this_thread::sleep_for(1s);
  desktop_->Keys("ctrl+x");
  ASSERT_TRUE(ShowsPanel("PICTURE/CTRLX.JPG")) << "no exit dialog";
  ClickAt(kYesButton);
  EXPECT_TRUE(program_->WaitForExit(20s).has_value()) << "the program did not end";
  const std::vector<std::string> opened = browser.Addresses(1);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_NE(opened[0].find("MAKER.HTML"), std::string::npos) << opened[0];

  char window[32];
  std::snprintf(window, sizeof window, "window 0x%lx,", std::stoul(window_));
  std::ifstream log(requests);
  bool minimised = false;
  for (std::string line, before; std::getline(log, line); before = line) {
    minimised |= line.find("(WM_CHANGE_STATE)") != std::string::npos &&
                 before.find("ClientMessage") != std::string::npos &&
                 before.find(window) != std::string::npos;
  }
  EXPECT_TRUE(minimised) << "the window was not minimised on its way out";
}

// Keeps the X server busy from a process of its own, as other programs on a loaded desktop
// do: copies of the whole screen, one after another. Stopped by its pid when it goes.
class BusyXClient {
 public:
  explicit BusyXClient(const std::string& display) {
    pid_ = ::fork();
    if (pid_ != 0) return;
    Display* x = XOpenDisplay(display.c_str());
    if (x == nullptr) ::_exit(1);
    const Window root = DefaultRootWindow(x);
    XWindowAttributes screen;
    XGetWindowAttributes(x, root, &screen);
    for (;;) {
      if (XImage* copy = XGetImage(x, root, 0, 0, static_cast<unsigned>(screen.width),
                                   static_cast<unsigned>(screen.height), AllPlanes, ZPixmap)) {
        XDestroyImage(copy);
      }
    }
  }
  ~BusyXClient() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  BusyXClient(const BusyXClient&) = delete;
  BusyXClient& operator=(const BusyXClient&) = delete;

 private:
  pid_t pid_ = -1;
};

// The keyboard is the program's from the moment its window appears: the desktop's close and
// switch keys, pressed over and over from then on through start-up, reach nothing else.
class PanelsFromTheFirstMoment : public PanelsOnDesktop {
 protected:
  PanelsFromTheFirstMoment() { screen_ = {1280, 1024}; }
};

TEST_F(PanelsFromTheFirstMoment, KeysPressedAsTheWindowAppearsReachNothingElse) {
  Started other({"xmessage", "another program"}, OnDisplay());
  ASSERT_TRUE(WaitFor([&] { return !desktop_->Windows("xmessage", true).empty(); }, 20s));
  const BusyXClient busy(desktop_->display()), busier(desktop_->display());
  // Through start-up after the window appears: about five seconds of presses.
  std::vector<std::string> keys = {"xdotool", "key", "--delay", "20"};
  for (int i = 0; i < 40; ++i) keys.insert(keys.end(), {"alt+F4", "alt+Tab"});
  constexpr int kStarts = 10;
  const test_support::TempFolder folder;
  const fs::path log = folder.path() / "program.log";
  for (int start = 1; start <= kStarts; ++start) {
    SCOPED_TRACE("start " + std::to_string(start));
    program_ = std::make_unique<Started>(
        std::vector<std::string>{data_.File("colouring-book").string()}, OnDisplay(), log.string());
    ASSERT_TRUE(WaitFor([&] { return !ProgramWindows().empty() || !program_->Running(); }, 60s));
    Started pressing(keys, OnDisplay());
    EXPECT_TRUE(pressing.WaitForExit(60s).has_value());
    const auto said = [&] {
      std::ifstream in(log);
      return std::string((std::istreambuf_iterator<char>(in)), {});
    };
    ASSERT_TRUE(program_->Running()) << "the program was closed; it said:\n" << said();
    const std::vector<std::string> windows = ProgramWindows();
    ASSERT_FALSE(windows.empty()) << "the window went";
    const std::string active = ActiveWindow();
    EXPECT_NE(std::find(windows.begin(), windows.end(), active), windows.end())
        << "another window took the focus";
    EXPECT_FALSE(desktop_->Windows("xmessage", true).empty()) << "the other program was closed";
    program_.reset();
  }
}

// Displays without the program's own mode: the window stays a window, and still the desktop's
// shortcuts reach nothing while it is shown.
class PanelsOnOtherDisplays : public PanelsOnDesktop,
                              public testing::WithParamInterface<std::pair<int, int>> {
 protected:
  PanelsOnOtherDisplays() { screen_ = GetParam(); }
};

TEST_P(PanelsOnOtherDisplays, TheDesktopsShortcutsChangeNothingAndTheProgramsOwnStillWork) {
  Started other({"xmessage", "another program"}, OnDisplay());
  ASSERT_TRUE(WaitFor([&] { return !desktop_->Windows("xmessage", true).empty(); }, 20s));
  StartProgram();
  ASSERT_TRUE(WaitFor([&] { return ActiveWindow() == window_; }, 10s));
  const std::string desktop_before = X({"xdotool", "get_desktop"});
  // The pointer on the window, then on the desktop beside it: crossing the window's edge
  // must not hand the keyboard back.
  const int left = desktop_->Geometry(window_, "Absolute upper-left X");
  const int right = left + desktop_->Geometry(window_, "Width");
  ASSERT_TRUE(left > 0 || right < screen_.first) << "the window covers the screen's width";
  const int beside = right < screen_.first ? screen_.first - 1 : 0;
  for (const bool on_window : {true, false}) {
    SCOPED_TRACE(on_window ? "pointer on the window" : "pointer beside the window");
    if (on_window) {
      Pointer(10, 10);
    } else {
      X({"xdotool", "mousemove", std::to_string(beside), std::to_string(screen_.second / 2)});
    }
    // Close, switch window, the Windows key, switch desktop, show the bare desktop.
    for (const char* keys :
         {"alt+F4", "alt+Tab", "super", "ctrl+alt+Right", "ctrl+alt+Left", "super+d"}) {
      SCOPED_TRACE(keys);
      desktop_->Keys(keys);
      std::this_thread::sleep_for(500ms);
      ASSERT_TRUE(program_->Running()) << "the program was closed";
      EXPECT_EQ(ActiveWindow(), window_);
      EXPECT_FALSE(Iconic());
      EXPECT_EQ(X({"xdotool", "get_desktop"}), desktop_before);
    }
  }
  desktop_->Keys("ctrl+x");
  EXPECT_TRUE(ShowsPanel("PICTURE/CTRLX.JPG")) << "the program's own shortcut did nothing";
}

INSTANTIATE_TEST_SUITE_P(Sizes, PanelsOnOtherDisplays,
                         testing::Values(std::pair{1280, 1024}, std::pair{1920, 1080}));

// The opener is told of its failure only after the program has gone; its own complaints are
// never heard, and one line of the program's own says that the page was not opened.
TEST_F(PanelsOnDesktop, LeavingWithNoBrowserLeavesOneLineOfOurOwnAndNoneOfTheOpeners) {
  test_support::TempFolder folder;
  const fs::path opener = folder.path() / "xdg-open";
  std::ofstream(opener) << "#!/bin/sh\nsleep 1\necho 'x-www-browser: Permission denied' >&2\n"
                        << "echo 'no method available for opening' >&2\necho junk\nexit 3\n";
  fs::permissions(opener, fs::perms::owner_all);
  const std::string old_path = ::getenv("PATH");
  ::setenv("PATH", (folder.path().string() + ":" + old_path).c_str(), 1);
  const fs::path log = folder.path() / "program.log";
  StartProgram(log.string());
  ::setenv("PATH", old_path.c_str(), 1);
  desktop_->Keys("ctrl+x");
  ASSERT_TRUE(ShowsPanel("PICTURE/CTRLX.JPG")) << "no exit dialog";
  ClickAt(kYesButton);
  ASSERT_TRUE(program_->WaitForExit(20s).has_value()) << "the program did not end";
  const auto said = [&] {
    std::ifstream in(log);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  EXPECT_TRUE(WaitFor([&] { return said().find("was not opened") != std::string::npos; }, 10s))
      << said();
  std::this_thread::sleep_for(500ms);
  std::istringstream lines(said());
  int told = 0;
  for (std::string line; std::getline(lines, line);) {
    EXPECT_EQ(line.rfind("colouring-book: ", 0), 0u) << "not the program's own: " << line;
    if (line.find("MAKER.HTML was not opened: ") != std::string::npos) {
      ++told;
      EXPECT_NE(line.find("status 3"), std::string::npos) << line;
    }
  }
  EXPECT_EQ(told, 1) << said();
}

}  // namespace
}  // namespace panels_test
