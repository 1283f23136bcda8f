// The program on a real X display: the gallery opened, a thumbnail highlighted and chosen,
// all through the desktop's own pointer, and checked in screenshots.
#include <algorithm>
#include <chrono>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "desktop.h"
#include "platform/picture.h"
#include "xvfb_session.h"

namespace {

using namespace std::chrono_literals;
using test_support::Started;
using test_support::WaitFor;

class GalleryOnDesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test_support::Desktop::Installed()) {
      GTEST_SKIP() << "needs Xvfb, openbox, xdotool and ImageMagick's import";
    }
    desktop_ = std::make_unique<test_support::Desktop>(x_.Start(1024, 768, 24));
  }

  void Pointer(const std::string& window, int x, int y) {
    desktop_->Tool(
        {"xdotool", "mousemove", "--window", window, std::to_string(x), std::to_string(y)});
  }

  // The share of the picture's pixels that the window shows at (left, top), all channels
  // within a small tolerance.
  double Match(const std::string& window, int left, int top, const std::string& relative) {
    try {
      return test_support::Likeness(
          desktop_->Shot(window), left, top,
          test_support::ImageOf(*platform::LoadPicture(data_.File(relative).string())), 3);
    } catch (const std::exception&) {
      return 0;
    }
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
  std::unique_ptr<test_support::Desktop> desktop_;
};

TEST_F(GalleryOnDesktop, HoverHighlightsAThumbnailAndItsChoiceReachesTheCanvas) {
  // Killed outright when it goes: an orderly end would open the maker's web page.
  Started program({data_.File("colouring-book").string()},
                  {{"DISPLAY", desktop_->display()}, {"SDL_VIDEODRIVER", std::nullopt}});
  // The window shows after start-up's first wait and takes the whole display once start-up
  // has switched the display mode; the pointer is to be trusted only from then on.
  std::string window;
  ASSERT_TRUE(WaitFor(
      [&] {
        const std::vector<std::string> windows = desktop_->Windows("Colouring Book", true);
        window = windows.empty() ? "" : windows.front();
        return !window.empty() &&
               desktop_->Tool({"xdotool", "getwindowgeometry", window}).out.find("1024x768") !=
                   std::string::npos;
      },
      60s))
      << "no full-screen window";
  ASSERT_TRUE(program.Running());
  ASSERT_GT(Shows(window, 832, 241, "PICTURE/MOREIMAGES1.JPG"), 0.98) << "no main screen";

  Pointer(window, 912, 325);  // the gallery button
  desktop_->Click();
  // Thumbnail 7, second row and column, resting.
  ASSERT_GT(Shows(window, 198, 185, "PICTURE/GALERIJA1BELE_21.JPG"), 0.98) << "no gallery";

  Pointer(window, 198 + 65, 185 + 61);
  EXPECT_GT(Shows(window, 198, 185, "PICTURE/GALERIJA1ZUTE_21.JPG"), 0.98) << "no highlight";
  EXPECT_GT(Shows(window, 54, 185, "PICTURE/GALERIJA1BELE_19.JPG"), 0.98) << "neighbour changed";

  desktop_->Click();
  EXPECT_GT(Shows(window, 30, 29, "PICTURE/07.GIF"), 0.98) << "drawing 7 is not on the canvas";
  EXPECT_TRUE(program.Running());
}

}  // namespace
