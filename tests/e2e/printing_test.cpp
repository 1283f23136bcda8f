// Ctrl+P: the picture saved in the user's own folder and printed on a virtual printer of the test's
// own print scheduler.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

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
  const std::string missing = test_support::CupsSandbox::Missing();
  if (!missing.empty()) GTEST_SKIP() << missing;
  if (!OnPath("pdftoppm")) GTEST_SKIP() << "needs pdftoppm (Debian package poppler-utils)";
  printer_.Start();
  ASSERT_NO_FATAL_FAILURE(Launch(1024, 768, {{"CUPS_SERVER", printer_.server()}}));

  const std::optional<Image> coloured = ColourAndPrint();
  ASSERT_TRUE(coloured);
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

// Five pages for a print server that takes the connection and never answers, then Yes: the
// program ends within seconds, saying what became of the pages, rather than waiting out the
// server page by page.
TEST_F(Printing, YesEndsTheProgramSoonWithPagesForASilentPrintServer) {
  test_support::SilentPrintServer silent;
  ASSERT_NO_FATAL_FAILURE(Launch(1024, 768, {{"CUPS_SERVER", silent.server()}}));
  // Each Ctrl+P waits with its notice shown; the presses during the wait print as well.
  for (int page = 0; page < 5; ++page) desktop().Keys("ctrl+p");
  ASSERT_TRUE(silent.WaitForConnection(30s)) << "no page went to the print server";
  EXPECT_TRUE(WaitForPanel("PRINTING.JPG", false)) << "the printing notice stayed";
  desktop().Keys("ctrl+x");
  ASSERT_TRUE(WaitForPanel("CTRLX.JPG", true)) << "no exit dialog";
  desktop().Click(kYes.x, kYes.y);
  const auto yes = std::chrono::steady_clock::now();
  const std::optional<int> status = program_->WaitForExit(60s);
  const auto took = std::chrono::steady_clock::now() - yes;
  ASSERT_TRUE(status.has_value()) << "the program did not end";
  EXPECT_EQ(*status, 0);
  const long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(took).count();
  std::printf("from Yes to the end of the process: %lld ms\n", ms);
  EXPECT_LT(took, 10s) << ms << " ms";
  std::ifstream log(temp_.path() / "program.log");
  const std::string said((std::istreambuf_iterator<char>(log)), {});
  EXPECT_NE(said.find("colouring-book: 4 pages not yet sent to the printer dropped\n"),
            std::string::npos)
      << said;
  EXPECT_NE(said.find("colouring-book: a page was not printed: the print server at " +
                      silent.server() + " did not answer: timed out\n"),
            std::string::npos)
      << said;
  EXPECT_EQ(said.find("no default printer"), std::string::npos) << said;
}

}  // namespace
}  // namespace e2e
