// Start-up and the main road, on a screen that offers the program's display mode and on a
// larger one that does not, where the program runs windowed at the top-left.
#include <cstdio>
#include <ostream>

#include "program_on_desktop.h"

namespace e2e {
namespace {

struct ScreenSize {
  int width, height;
  bool offers_the_mode;
};
void PrintTo(const ScreenSize& s, std::ostream* out) { *out << s.width << "x" << s.height; }

class MainRoad : public ProgramOnDesktop, public ::testing::WithParamInterface<ScreenSize> {};

std::string TwoDigits(int n) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", n);
  return text;
}
std::string Resting(int i) { return "GALERIJA1BELE_" + TwoDigits(ThumbnailNumber(i)) + ".JPG"; }
std::string Highlighted(int i) { return "GALERIJA1ZUTE_" + TwoDigits(ThumbnailNumber(i)) + ".JPG"; }

// A canvas pixel deep inside the outline: black, and so are its neighbours.
Point OutlinePoint(const Image& canvas) {
  const Rgb black{0, 0, 0};
  for (int y = 1; y < canvas.height - 1; ++y) {
    for (int x = 1; x < canvas.width - 1; ++x) {
      if (canvas.At(x, y) == black && canvas.At(x - 1, y) == black &&
          canvas.At(x + 1, y) == black && canvas.At(x, y - 1) == black &&
          canvas.At(x, y + 1) == black) {
        return {x, y};
      }
    }
  }
  return {-1, -1};
}

TEST_P(MainRoad, StartsToTheMainScreenWithTheStartDrawing) {
  const ScreenSize screen = GetParam();
  ASSERT_TRUE(fs::is_symlink(install_->Command()));
  EXPECT_EQ(fs::canonical(install_->Command()), install_->AppFolder() / "colouring-book");
  ASSERT_NO_FATAL_FAILURE(Launch(screen.width, screen.height));

  const std::string state = desktop().Property(window_, "_NET_WM_STATE");
  if (screen.offers_the_mode) {
    EXPECT_NE(state.find("_NET_WM_STATE_FULLSCREEN"), std::string::npos) << state;
  } else {
    EXPECT_EQ(state.find("_NET_WM_STATE_FULLSCREEN"), std::string::npos) << state;
    EXPECT_EQ(desktop().Geometry(window_, "Absolute upper-left X"), 0);
    EXPECT_EQ(desktop().Geometry(window_, "Absolute upper-left Y"), 0);
    EXPECT_EQ(desktop().Geometry(window_, "Width"), 1023);
    EXPECT_EQ(desktop().Geometry(window_, "Height"), 766);
  }
  EXPECT_EQ(desktop().ScreenSize(), std::make_pair(screen.width, screen.height));

  const Image shot = Shot();
  EXPECT_EQ(Differences(shot.Part(kCanvas.left, kCanvas.top, kCanvasWidth, kCanvasHeight),
                        Picture("START.GIF")),
            0);
  struct Button {
    Place at;
    std::string picture;
  };
  std::vector<Button> buttons = {{{832, 241}, "MOREIMAGES1.JPG"}, {{825, 412}, "GUMICA1.JPG"},
                                 {{936, 412}, "PAPIR1.JPG"},      {{835, 485}, "ZVUCNIK1.JPG"},
                                 {{919, 485}, "MUSICOFF2.JPG"},   {{804, 571}, "OLOVKA2.JPG"},
                                 {{871, 571}, "KAPLJICA1.JPG"}};
  for (int nn = 1; nn <= 12; ++nn) {
    buttons.push_back({{PaletteLeft(nn), kPaletteTop}, "BOJE1_" + TwoDigits(nn) + ".JPG"});
  }
  for (const Button& b : buttons) EXPECT_EQ(ShownAt(shot, b.at, {b.picture}), b.picture);
  // The background shows where the hidden back button lies and on the bare window.
  const Image& background = Picture("GLAVNA.JPG");
  EXPECT_GT(Likeness(shot, 30, 0, background.Part(30, 0, 191, 29)), 0.95);
  EXPECT_GT(Likeness(shot, 792, 10, background.Part(792, 10, 200, 220)), 0.95);
}

TEST_P(MainRoad, TheGalleryPutsDrawingSevenOnTheCanvasAndAFillColoursOneArea) {
  const ScreenSize screen = GetParam();
  ASSERT_NO_FATAL_FAILURE(Launch(screen.width, screen.height));

  desktop().Click(kGalleryButton.x, kGalleryButton.y);
  ASSERT_EQ(WaitUntilShown(Thumbnail(1), Resting(1), {Highlighted(1)}), Resting(1));
  Image shot = Shot();
  for (int i = 1; i <= 25; ++i) {
    EXPECT_EQ(ShownAt(shot, Thumbnail(i), {Resting(i), Highlighted(i)}), Resting(i)) << i;
  }
  EXPECT_EQ(ShownAt(shot, {30, 0}, {"BACK1.JPG", "BACK2.JPG"}), "BACK1.JPG");

  const Point seven{Thumbnail(7).left + 65, Thumbnail(7).top + 61};
  desktop().MoveTo(seven.x, seven.y);
  EXPECT_EQ(WaitUntilShown(Thumbnail(7), Highlighted(7), {Resting(7)}), Highlighted(7));
  shot = Shot();
  for (int i : {2, 6, 8, 12}) {
    EXPECT_EQ(ShownAt(shot, Thumbnail(i), {Resting(i), Highlighted(i)}), Resting(i)) << i;
  }

  desktop().Click(seven.x, seven.y);
  const Image& drawing = Picture("07.GIF");
  ASSERT_TRUE(WaitForShot([&](const Image& s) {
    return Differences(s.Part(kCanvas.left, kCanvas.top, kCanvasWidth, kCanvasHeight), drawing) ==
           0;
  })) << "drawing 7 did not come onto the canvas";

  const Point green = PaletteButton(2);
  desktop().Click(green.x, green.y);
  EXPECT_EQ(WaitUntilShown({PaletteLeft(2), kPaletteTop}, "BOJE3_02.JPG",
                           {"BOJE1_02.JPG", "BOJE2_02.JPG"}),
            "BOJE3_02.JPG");

  const Image before = CanvasShot();
  const auto [area, filled] = FillLargestArea(before);
  ASSERT_TRUE(filled) << "the fill changed nothing";
  EXPECT_TRUE(FilledArea(before, *filled, area, kGreen));

  // A press on the outline fills nothing: the fill after it is the only change.
  const Point outline = OutlinePoint(*filled);
  ASSERT_GE(outline.x, 0);
  desktop().Click(kCanvas.left + outline.x, kCanvas.top + outline.y);
  const Point next = InsideLargestEnclosedArea(*filled);
  ASSERT_GE(next.x, 0);
  desktop().Click(kCanvas.left + next.x, kCanvas.top + next.y);
  const std::optional<Image> last = ChangedCanvas(*filled);
  ASSERT_TRUE(last) << "the second fill changed nothing";
  EXPECT_TRUE(FilledArea(*filled, *last, next, kGreen));
}

INSTANTIATE_TEST_SUITE_P(Screens, MainRoad,
                         ::testing::Values(ScreenSize{1024, 768, true},
                                           ScreenSize{1280, 1024, false}),
                         [](const auto& info) {
                           return std::to_string(info.param.width) + "x" +
                                  std::to_string(info.param.height);
                         });

}  // namespace
}  // namespace e2e
