// The program on a real X display: the gallery opened, a thumbnail highlighted and chosen,
// all through the desktop's own pointer, and checked in screenshots.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app_fixture.h"
#include "platform/picture.h"
#include "xvfb_session.h"

namespace {

using namespace std::chrono_literals;

bool OnPath(const std::string& program) {
  return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

// The program started from its own directory on the given display, stopped by its pid.
class RunningProgram {
 public:
  RunningProgram(const std::string& executable, const std::string& display) {
    pid_ = ::fork();
    if (pid_ == 0) {
      ::setenv("DISPLAY", display.c_str(), 1);
      ::unsetenv("SDL_VIDEODRIVER");
      std::freopen("/dev/null", "w", stdout);
      ::execl(executable.c_str(), executable.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
  }
  ~RunningProgram() {
    // Killed outright: an orderly end would open the maker's web page.
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;
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

class GalleryOnDesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test_support::XvfbSession::Installed() || !OnPath("xdotool") || !OnPath("import")) {
      GTEST_SKIP() << "needs Xvfb, openbox, xdotool and ImageMagick's import";
    }
    display_ = x_.Start(1024, 768, 24);
    shot_ = data_.Path().parent_path() / "screen.bmp";
  }

  std::string X(const std::string& command) {
    return Output("DISPLAY=" + display_ + " " + command + " 2>/dev/null");
  }
  void Pointer(const std::string& window, int x, int y) {
    X("xdotool mousemove --window " + window + " " + std::to_string(x) + " " + std::to_string(y));
  }

  // The share of the picture's pixels that the window shows at (left, top), all channels
  // within a small tolerance.
  double Match(const std::string& window, int left, int top, const std::string& relative) {
    X("import -window " + window + " BMP3:'" + shot_.string() + "'");
    platform::Picture screen, want;
    try {
      screen = platform::LoadPicture(shot_.string());
      want = platform::LoadPicture(data_.File(relative).string());
    } catch (const std::exception&) {
      return 0;
    }
    if (screen->width < left + want->width || screen->height < top + want->height) return 0;
    int same = 0;
    for (int y = 0; y < want->height; ++y) {
      for (int x = 0; x < want->width; ++x) {
        const std::uint32_t a = screen->pixels[(top + y) * screen->width + left + x];
        const std::uint32_t b = want->pixels[y * want->width + x];
        bool close = true;
        for (int shift : {0, 8, 16}) {
          close = close && std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) <= 3;
        }
        same += close ? 1 : 0;
      }
    }
    return static_cast<double>(same) / (want->width * want->height);
  }
  // The best share seen until it passes 98 % or the time is up.
  double Shows(const std::string& window, int left, int top, const std::string& relative,
               std::chrono::seconds limit = 10s) {
    double best = 0;
    WaitFor(
        [&] {
          best = std::max(best, Match(window, left, top, relative));
          return best > 0.98;
        },
        limit);
    return best;
  }

  test_support::DataDir data_;
  test_support::XvfbSession x_;
  std::string display_;
  std::filesystem::path shot_;
};

TEST_F(GalleryOnDesktop, HoverHighlightsAThumbnailAndItsChoiceReachesTheCanvas) {
  RunningProgram program(data_.File("colouring-book").string(), display_);
  // The window shows after start-up's first wait and takes the whole display once start-up
  // has switched the display mode; the pointer is to be trusted only from then on.
  std::string window;
  ASSERT_TRUE(WaitFor(
      [&] {
        window = X("xdotool search --onlyvisible --name 'Colouring Book' | head -n 1");
        return !window.empty() &&
               X("xdotool getwindowgeometry " + window).find("1024x768") != std::string::npos;
      },
      60s))
      << "no full-screen window";
  ASSERT_TRUE(program.Running());
  ASSERT_GT(Shows(window, 832, 241, "PICTURE/MOREIMAGES1.JPG"), 0.98) << "no main screen";

  Pointer(window, 912, 325);  // the gallery button
  X("xdotool click 1");
  // Thumbnail 7, second row and column, resting.
  ASSERT_GT(Shows(window, 198, 185, "PICTURE/GALERIJA1BELE_21.JPG"), 0.98) << "no gallery";

  Pointer(window, 198 + 65, 185 + 61);
  EXPECT_GT(Shows(window, 198, 185, "PICTURE/GALERIJA1ZUTE_21.JPG"), 0.98) << "no highlight";
  EXPECT_GT(Shows(window, 54, 185, "PICTURE/GALERIJA1BELE_19.JPG"), 0.98) << "neighbour changed";

  X("xdotool click 1");
  EXPECT_GT(Shows(window, 30, 29, "PICTURE/07.GIF"), 0.98) << "drawing 7 is not on the canvas";
  EXPECT_TRUE(program.Running());
}

}  // namespace
