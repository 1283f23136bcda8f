// The program on a real X display with a window manager: the exit dialog opened by a key and
// closed again, Alt+Tab kept from the window manager, and a web link that minimises the
// window, all checked in screenshots and in the window manager's own records.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

#include "frame/web_pages.h"
#include "panels_fixture.h"
#include "platform/picture.h"
#include "xvfb_session.h"

namespace panels_test {
namespace {

using namespace std::chrono_literals;

bool OnPath(const std::string& program) {
  return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

// A program started on the display, stopped by its pid.
class Started {
 public:
  Started(std::vector<std::string> arguments, const std::string& display) {
    pid_ = ::fork();
    if (pid_ == 0) {
      ::setenv("DISPLAY", display.c_str(), 1);
      ::unsetenv("SDL_VIDEODRIVER");
      std::freopen("/dev/null", "w", stdout);
      std::freopen("/dev/null", "w", stderr);
      std::vector<char*> argv;
      for (std::string& a : arguments) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execvp(argv[0], argv.data());
      ::_exit(127);
    }
  }
  ~Started() {
    // Killed outright: an orderly end of the program would open the maker's web page.
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  Started(const Started&) = delete;
  Started& operator=(const Started&) = delete;
  bool Running() const { return pid_ > 0 && ::waitpid(pid_, nullptr, WNOHANG) == 0; }

 private:
  pid_t pid_ = -1;
};

std::string Output(const std::string& command) {
  std::string out;
  if (FILE* p = ::popen(command.c_str(), "r")) {
    char buf[256];
    while (std::fgets(buf, sizeof buf, p) != nullptr) out += buf;
    ::pclose(p);
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
  return out;
}

bool WaitFor(const std::function<bool()>& done, std::chrono::seconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    if (done()) return true;
    std::this_thread::sleep_for(100ms);
  }
  return done();
}

class PanelsOnDesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test_support::XvfbSession::Installed() || !OnPath("xdotool") || !OnPath("import") ||
        !OnPath("xmessage")) {
      GTEST_SKIP() << "needs Xvfb, openbox, xdotool, xmessage and ImageMagick's import";
    }
    ::setenv("CUPS_SERVER", "/nonexistent/cups.sock", 1);
    display_ = x_.Start(1024, 768, 24);
    shot_ = data_.Path().parent_path() / "screen.bmp";
  }
  void TearDown() override { ::unsetenv("CUPS_SERVER"); }

  std::string X(const std::string& command) {
    return Output("DISPLAY=" + display_ + " " + command + " 2>/dev/null");
  }
  void Pointer(int x, int y) {
    X("xdotool mousemove --window " + window_ + " " + std::to_string(x) + " " + std::to_string(y));
  }
  void ClickAt(At at) {
    Pointer(at.x, at.y);
    X("xdotool click 1");
  }

  // Starts the program and waits for its window, past the two waits of start-up.
  void StartProgram() {
    program_ = std::make_unique<Started>(
        std::vector<std::string>{data_.File("colouring-book").string()}, display_);
    ASSERT_TRUE(WaitFor(
        [&] {
          window_ = X("xdotool search --onlyvisible --name 'Colouring Book' | head -n 1");
          return !window_.empty();
        },
        60s))
        << "the window did not appear";
    // The display mode and the second three-second wait may follow its first appearance,
    // and the window may be made anew when it is first drawn: the one there now is the one.
    std::this_thread::sleep_for(4s);
    window_ = X("xdotool search --onlyvisible --name 'Colouring Book' | tail -n 1");
    ASSERT_FALSE(window_.empty());
    ASSERT_TRUE(program_->Running());
  }
  std::string ActiveWindow() { return X("xdotool getactivewindow"); }

  // The share of the picture's part (px, py, w, h) that the screen shows at (left, top),
  // every channel within a small tolerance.
  double Match(int left, int top, const std::string& relative, int px, int py, int w, int h) {
    X("import -window root BMP3:'" + shot_.string() + "'");
    platform::Picture screen, want;
    try {
      screen = platform::LoadPicture(shot_.string());
      want = platform::LoadPicture(data_.File(relative).string());
    } catch (const std::exception&) {
      return 0;
    }
    if (screen->width < left + w || screen->height < top + h) return 0;
    int same = 0;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const std::uint32_t a = screen->pixels[(top + y) * screen->width + left + x];
        const std::uint32_t b = want->pixels[(py + y) * want->width + px + x];
        bool close = true;
        for (int shift : {0, 8, 16}) {
          close = close && std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) <= 3;
        }
        same += close ? 1 : 0;
      }
    }
    return static_cast<double>(same) / (w * h);
  }
  bool Shows(int left, int top, const std::string& relative, int px, int py, int w, int h,
             double share = 0.98) {
    return WaitFor([&] { return Match(left, top, relative, px, py, w, h) > share; }, 10s);
  }
  // The panels' backgrounds above and left of their buttons.
  bool ShowsPanel(const std::string& relative) { return Shows(312, 259, relative, 0, 0, 310, 130); }
  bool Iconic() {
    return X("xprop -id " + window_ + " WM_STATE").find("Iconic") != std::string::npos;
  }

  test_support::DataDir data_;
  test_support::XvfbSession x_;
  std::string display_, window_;
  std::filesystem::path shot_;
  std::unique_ptr<Started> program_;
};

TEST_F(PanelsOnDesktop, CtrlXOpensTheExitDialogAndNoClosesIt) {
  StartProgram();
  X("xdotool key ctrl+x");
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
  Started other({"xmessage", "another program"}, display_);
  ASSERT_TRUE(
      WaitFor([&] { return !X("xdotool search --onlyvisible --name xmessage").empty(); }, 20s));
  StartProgram();
  ASSERT_TRUE(WaitFor([&] { return ActiveWindow() == window_; }, 10s));
  X("xdotool key alt+Tab");
  X("xdotool key alt+Tab");
  std::this_thread::sleep_for(1s);
  EXPECT_EQ(ActiveWindow(), window_);
  // The keys reached nothing else either: Ctrl+X still opens the dialog.
  X("xdotool key ctrl+x");
  EXPECT_TRUE(ShowsPanel("PICTURE/CTRLX.JPG"));
}

TEST_F(PanelsOnDesktop, AWebLinkMinimisesTheWindowAndThePanelWaitsForItsReturn) {
  RecordingBrowser browser;  // on PATH before the program starts
  StartProgram();
  X("xdotool key ctrl+r");
  ASSERT_TRUE(ShowsPanel("PICTURE/CTRL-R.JPG")) << "no about panel";
  ClickAt(kWebSiteButton);
  EXPECT_TRUE(WaitFor([&] { return Iconic(); }, 10s)) << "the window was not minimised";
  const std::vector<std::string> opened = browser.Addresses(1);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_NE(opened[0].find("PRODUCT.HTML"), std::string::npos) << opened[0];

  X("xdotool windowactivate --sync " + window_);
  EXPECT_TRUE(WaitFor([&] { return !Iconic(); }, 10s));
  EXPECT_TRUE(ShowsPanel("PICTURE/CTRL-R.JPG"));
  // Still frozen: the blank-paper button stays hidden.
  EXPECT_LT(Match(936, 412, "PICTURE/PAPIR1.JPG", 0, 0, 63, 61), 0.5);
}

}  // namespace
}  // namespace panels_test
