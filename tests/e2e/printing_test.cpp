// Ctrl+P: the picture saved in the user's own folder and printed on a virtual printer of the test's
// own print scheduler.
#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "cups_sandbox.h"
#include "program_on_desktop.h"

namespace e2e {
namespace {

// The smallest box around a picture's ink: whatever is clearly not white paper.
struct Box {
  int left, top, right, bottom;
};
Box InkBox(const Image& image) {
  Box box{image.width, image.height, -1, -1};
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const Rgb c = image.At(x, y);
      if (c.r + c.g + c.b > 3 * 255 - 96) continue;
      box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
             std::max(box.bottom, y)};
    }
  }
  return box;
}

class Printing : public ProgramOnDesktop {
 protected:
  test_support::CupsSandbox printer_;
};

TEST_F(Printing, CtrlPSavesTheColouredPictureAsABitmapAndPrintsItAtTheTopLeftOfALandscapePage) {
  if (!test_support::CupsSandbox::Installed() || !OnPath("pdftoppm")) {
    GTEST_SKIP() << "needs the print scheduler, its PDF printer and pdftoppm";
  }
  printer_.Start();
  ASSERT_NO_FATAL_FAILURE(Launch(1024, 768, {{"CUPS_SERVER", printer_.server()}}));

  const Image start_drawing = CanvasShot();
  const std::optional<Image> coloured = FillLargestArea(start_drawing).after;
  ASSERT_TRUE(coloured) << "the fill changed nothing";

  desktop().Keys("ctrl+p");
  EXPECT_TRUE(WaitForShot([&](const Image& shot) {
    return Likeness(shot, kPanel.left, kPanel.top, Picture("PRINTING.JPG")) > 0.95;
  })) << "no printing notice";
  const fs::path saved = SavedPicture();
  char magic[2] = {};
  std::ifstream(saved, std::ios::binary).read(magic, 2);
  EXPECT_EQ(std::string(magic, 2), "BM") << "the saved picture holds no bitmap";
  EXPECT_EQ(Differences(ReadPicture(saved), *coloured), 0);
  EXPECT_TRUE(WaitForShot([&](const Image& shot) {
    return Differences(shot.Part(kCanvas.left, kCanvas.top, kCanvasWidth, kCanvasHeight),
                       *coloured) == 0;
  })) << "the notice stayed, or the canvas changed";

  const std::vector<std::string> pages = printer_.WaitForOutput(1, 60s);
  ASSERT_EQ(pages.size(), 1u) << "no page was printed";
  // At 96 dots to the inch a page pixel is a picture pixel.
  const fs::path page_file = temp_.path() / "page";
  ASSERT_EQ(RunTool({"pdftoppm", "-r", "96", "-singlefile", pages[0], page_file.string()}).status,
            0);
  const Image page = ReadPicture(page_file.string() + ".ppm");
  EXPECT_GT(page.width, page.height) << "not a landscape page";
  EXPECT_GT(Likeness(page, 0, 0, *coloured, 24), 0.95) << "the page does not hold the picture";
  // At its own size in the page's corner, and nothing else on the paper.
  const Box ink = InkBox(page), picture = InkBox(*coloured);
  EXPECT_LE(std::abs(ink.left - picture.left), 1);
  EXPECT_LE(std::abs(ink.top - picture.top), 1);
  EXPECT_LE(std::abs(ink.right - picture.right), 1);
  EXPECT_LE(std::abs(ink.bottom - picture.bottom), 1);
}

}  // namespace
}  // namespace e2e
