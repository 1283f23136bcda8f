// The real program on a real X display: after start-up the main screen shows the start drawing,
// and the music switch turns the music on and off under real pointer clicks.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "desktop.h"
#include "frame/design_pictures.h"
#include "frame_fixture.h"
#include "platform/picture.h"
#include "xvfb_session.h"

namespace frame_test {
namespace {

constexpr int kScreenWidth = 1024, kScreenHeight = 768;

class OnScreenTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!test_support::Desktop::Installed()) {
      GTEST_SKIP() << "needs Xvfb, openbox, xdotool and ImageMagick's import";
    }
    desktop_ =
        std::make_unique<test_support::Desktop>(xvfb_.Start(kScreenWidth, kScreenHeight, 24));
    data_ = std::make_unique<test_support::DataDir>();
    program_ = data_->File("colouring-book");
    fs::copy_file(PROGRAM_PATH, program_, fs::copy_options::overwrite_existing);
  }

  void TearDown() override {
    StopProgram();
    xvfb_.Stop();
  }

  void StartTheProgram() {
    running_ = std::make_unique<test_support::Started>(
        std::vector<std::string>{program_.string()},
        test_support::Environment{{"DISPLAY", desktop_->display()},
                                  {"SDL_VIDEODRIVER", std::nullopt},
                                  {"SDL_AUDIODRIVER", "dummy"}},
        data_->File("program.log").string());
    ASSERT_GT(running_->pid(), 0);
  }

  // Ends the program as the system would at log-off, and waits for it; gives its exit status.
  int StopProgram() {
    if (!running_) return -1;
    const std::optional<int> status = running_->Stop(10s);
    running_.reset();
    return status.value_or(-1);
  }

  void Xdotool(const std::string& arguments) {
    std::vector<std::string> command{"xdotool"};
    std::istringstream words(arguments);
    for (std::string word; words >> word;) command.push_back(word);
    ASSERT_EQ(desktop_->Tool(command).status, 0) << "xdotool " << arguments;
  }

  // How many pixels of the screen's area differ from the picture's top-left corner.
  int Differences(int left, int top, int width, int height, const platform::PictureData& picture) {
    const test_support::Image screen = desktop_->TryShot();
    if (screen.width != kScreenWidth || screen.height != kScreenHeight) return width * height;
    return test_support::Differences(screen.Part(left, top, width, height),
                                     test_support::ImageOf(picture).Part(0, 0, width, height));
  }

  // Waits until the area shows the picture; gives the differences last seen.
  int WaitUntilShown(int left, int top, int width, int height, const platform::PictureData& p,
                     std::chrono::seconds patience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    int differ = width * height;
    while (std::chrono::steady_clock::now() < deadline) {
      differ = Differences(left, top, width, height, p);
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
  std::unique_ptr<test_support::Desktop> desktop_;
  std::unique_ptr<test_support::DataDir> data_;
  fs::path program_;
  std::unique_ptr<test_support::Started> running_;
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
