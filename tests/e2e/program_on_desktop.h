#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "desktop.h"
#include "installation.h"
#include "point.h"
#include "xorg_session.h"
#include "xvfb_session.h"

namespace e2e {

// The suite is written against the shared helpers for tests on a real display.
using namespace test_support;

// The window's client area lies at the screen's top-left: window pixels are screen pixels.
struct Place {
  int left, top;
};

constexpr Place kCanvas{30, 29};
constexpr int kCanvasWidth = 750, kCanvasHeight = 600;
constexpr Point kGalleryButton{911, 325}, kEraser{880, 442}, kBlankPaper{967, 442},
    kSoundSwitch{873, 524}, kMusicSwitch{957, 523}, kPencil{834, 611};
constexpr Point kBareWindow{800, 150};
constexpr Place kPanel{312, 259};
constexpr Point kYes{421, 434}, kNo{610, 434}, kWebSite{511, 426}, kMaker{514, 479},
    kClose{668, 282};

// Palette button nn (1 to 12): its left edge, and a point inside it.
int PaletteLeft(int nn);
Point PaletteButton(int nn);
constexpr int kPaletteTop = 675;
// Gallery thumbnail i (1 to 25): its top-left corner and its picture number.
Place Thumbnail(int i);
int ThumbnailNumber(int i);

// Palette colours as the canvas shows them.
constexpr Rgb kRed{255, 0, 0}, kGreen{52, 204, 103}, kBlue{0, 0, 255}, kWhite{255, 255, 255};

// The installed program on a private X display with a window manager, driven with xdotool
// and watched through screenshots. Every process a test starts goes with the fixture.
class ProgramOnDesktop : public ::testing::Test {
 protected:
  void SetUp() override;

  // Starts the X display at that size, then the installed program, and waits until start-up
  // is over with the main screen shown. On Xorg the size is the desktop's own, and a server
  // the test started already is kept.
  void Launch(int width = 1024, int height = 768, Environment changes = {});

  // Installs from the Debian package instead of by cmake --install (set before SetUp).
  bool from_package_ = false;
  // Runs on Xorg with several display modes instead of Xvfb (set before SetUp).
  bool on_xorg_ = false;

  Desktop& desktop() { return *desktop_; }
  Image Shot() const { return desktop_->Shot(); }
  Image CanvasShot() const;
  // A picture of the installed data set ("07.GIF", "BOJE1_01.JPG"), or the canvas's start
  // drawing ("START.GIF"), decoded once per test.
  const Image& Picture(const std::string& name);

  // Which of the named pictures the shot shows with its top-left at `at`: the closest, or ""
  // when none is close.
  std::string ShownAt(const Image& shot, Place at, const std::vector<std::string>& names);
  // Takes shots until the screen shows `name` at `at` rather than any of `others`; gives what
  // it shows in the end.
  std::string WaitUntilShown(Place at, const std::string& name,
                             const std::vector<std::string>& others,
                             std::chrono::seconds limit = 10s);
  // Takes shots until the condition holds for one; false after the limit.
  bool WaitForShot(const std::function<bool(const Image&)>& condition,
                   std::chrono::seconds limit = 10s);

  // Whether the shot shows the panel of that background picture ("CTRLX.JPG"), judged by
  // its part left of and above its buttons; WaitForPanel takes shots until it is, or is not.
  bool PanelShown(const Image& shot, const std::string& picture);
  bool WaitForPanel(const std::string& picture, bool shown);

  // Waits until the canvas differs from `from` and holds still, so that no half-drawn frame
  // is taken; nothing when it has not changed within the limit.
  std::optional<Image> ChangedCanvas(const Image& from, std::chrono::seconds limit = 10s) const;

  // Clicks inside the largest enclosed area of the canvas `before` shows, and gives where it
  // clicked with the canvas once the fill has changed it (nothing when it did not change).
  struct Fill {
    Point area;
    std::optional<Image> after;
  };
  Fill FillLargestArea(const Image& before);
  // Colours the largest area of the start drawing, presses Ctrl+P and waits for the printing
  // notice; gives the coloured canvas, or nothing (and a failure) when the fill changed
  // nothing.
  std::optional<Image> ColourAndPrint();

  bool Iconic() const;

  // The user's own data folder the program is given ($XDG_DATA_HOME), and the picture that
  // Ctrl+P saves there.
  fs::path UserData() const { return temp_.path() / "user-data"; }
  fs::path SavedPicture() const { return UserData() / "colouring-book" / "MY_PICTURE" / "01.GIF"; }

  // Members go in reverse order: the program before the browser and the installation, and
  // the display last of all.
  XvfbSession x_;
  XorgSession xorg_;
  TempFolder temp_;
  std::unique_ptr<Installation> install_;
  std::unique_ptr<RecordingBrowser> browser_;
  std::unique_ptr<Desktop> desktop_;
  std::unique_ptr<Started> program_;
  std::string window_;

 private:
  std::map<std::string, Image> pictures_;
};

// Checks a fill on the canvas: the 4-connected area of `before`'s colour around `pressed`
// now has `colour` and every other pixel is as it was.
::testing::AssertionResult FilledArea(const Image& before, const Image& after, Point pressed,
                                      Rgb colour);
// A point of `canvas` (canvas pixels) inside the largest area of white that does not touch
// the canvas's edge, away from its outline.
Point InsideLargestEnclosedArea(const Image& canvas);

}  // namespace e2e
