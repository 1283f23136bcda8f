// The real program on a real X display: after start-up the main screen shows the start drawing,
// and the music switch turns the music on and off under real pointer clicks.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "frame/design_pictures.h"
#include "frame_fixture.h"
#include "platform/picture.h"
#include "xvfb_session.h"

namespace frame_test {
namespace {

constexpr int kScreenWidth = 1024, kScreenHeight = 768;

bool OnPath(const std::string& program) {
  return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

class OnScreenTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!test_support::XvfbSession::Installed() || !OnPath("xdotool") || !OnPath("import")) {
      GTEST_SKIP() << "needs Xvfb, openbox, xdotool and ImageMagick";
    }
    display_ = xvfb_.Start(kScreenWidth, kScreenHeight, 24);
    data_ = std::make_unique<test_support::DataDir>();
    program_ = data_->File("colouring-book");
    fs::copy_file(PROGRAM_PATH, program_, fs::copy_options::overwrite_existing);
  }

  void TearDown() override {
    StopProgram();
    xvfb_.Stop();
  }

  void StartTheProgram() {
    const std::string log = data_->File("program.log").string();
    pid_ = ::fork();
    if (pid_ == 0) {
      const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      ::dup2(out, STDOUT_FILENO);
      ::dup2(out, STDERR_FILENO);
      ::setenv("DISPLAY", display_.c_str(), 1);
      ::unsetenv("SDL_VIDEODRIVER");
      ::setenv("SDL_AUDIODRIVER", "dummy", 1);
      ::execl(program_.c_str(), program_.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ASSERT_GT(pid_, 0);
  }

  // Ends the program as the system would at log-off, and waits for it; gives its exit status.
  int StopProgram() {
    if (pid_ <= 0) return -1;
    ::kill(pid_, SIGTERM);
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, &status, 0);
        break;
      }
      std::this_thread::sleep_for(20ms);
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  void Xdotool(const std::string& arguments) {
    const std::string command = "DISPLAY=" + display_ + " xdotool " + arguments;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
  }

  // The whole screen, three bytes a pixel.
  std::vector<unsigned char> Screenshot() {
    const fs::path shot = data_->File("screen.rgb");
    const std::string command = "import -display " + display_ +
                                " -window root -depth 8 'rgb:" + shot.string() + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) return {};
    std::ifstream in(shot, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  // How many pixels of the area differ from the picture's top-left corner.
  static int Differences(const std::vector<unsigned char>& screen, int left, int top, int width,
                         int height, const platform::PictureData& picture) {
    if (screen.size() != std::size_t{kScreenWidth} * kScreenHeight * 3) return width * height;
    int differ = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const unsigned char* p = &screen[(std::size_t(top + y) * kScreenWidth + left + x) * 3];
        const std::uint32_t want = picture.pixels[std::size_t(y) * picture.width + x];
        if (p[0] != ((want >> 16) & 0xFF) || p[1] != ((want >> 8) & 0xFF) ||
            p[2] != (want & 0xFF)) {
          ++differ;
        }
      }
    }
    return differ;
  }

  // Waits until the area shows the picture; gives the differences last seen.
  int WaitUntilShown(int left, int top, int width, int height, const platform::PictureData& p,
                     std::chrono::seconds patience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    int differ = width * height;
    while (std::chrono::steady_clock::now() < deadline) {
      differ = Differences(Screenshot(), left, top, width, height, p);
      if (differ == 0) break;
      std::this_thread::sleep_for(200ms);
    }
    return differ;
  }

  int MusicSwitchShows(const char* name) {
    const platform::Picture picture =
        platform::LoadPicture(data_->File("PICTURE").string() + "/" + name);
    return WaitUntilShown(919, 485, 78, 78, *picture, 5s);
  }

  test_support::XvfbSession xvfb_;
  std::string display_;
  std::unique_ptr<test_support::DataDir> data_;
  fs::path program_;
  pid_t pid_ = -1;
};

TEST_F(OnScreenTest, MainScreenShowsTheStartDrawingAndTheMusicSwitchWorks) {
  FakeBrowser browser;
  const auto started = std::chrono::steady_clock::now();
  StartTheProgram();

  const platform::Picture start =
      platform::LoadPictureFromMemory(design_pictures::Get("START.GIF"), "start");
  ASSERT_EQ(WaitUntilShown(30, 29, 750, 600, *start, 30s), 0)
      << "the canvas's start drawing; the program said:\n"
      << [&] {
           std::string said;
           for (const std::string& line : Lines(data_->File("program.log"))) said += line + "\n";
           return said;
         }();
  EXPECT_GE(std::chrono::steady_clock::now() - started, 3s) << "shown after the first wait";
  std::this_thread::sleep_for(4s);  // start-up's second wait is surely over
  EXPECT_EQ(MusicSwitchShows("MUSICOFF2.JPG"), 0);

  // Music on: the switch shows the music-on pictures from the next pointer movement on.
  Xdotool("mousemove 958 524 click 1");
  Xdotool("mousemove 400 300");
  EXPECT_EQ(MusicSwitchShows("MUZIKA1.JPG"), 0);
  Xdotool("mousemove 958 524");
  EXPECT_EQ(MusicSwitchShows("MUZIKA2.JPG"), 0);

  // And off again.
  Xdotool("click 1");
  Xdotool("mousemove 400 300");
  EXPECT_EQ(MusicSwitchShows("MUSICOFF2.JPG"), 0);
  Xdotool("mousemove 958 524");
  EXPECT_EQ(MusicSwitchShows("MUSICOFF1.JPG"), 0);

  EXPECT_EQ(StopProgram(), 0);
  EXPECT_EQ(browser.Opened().size(), 1u) << "the unload opened the maker's page";
}

}  // namespace
}  // namespace frame_test
