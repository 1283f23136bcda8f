#include "platform/printer.h"

#include <cups/cups.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "cups_sandbox.h"
#include "platform/failure.h"
#include "processes.h"
#include "temp_folder.h"

namespace {

using namespace std::chrono_literals;

constexpr std::uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;

// 200 x 100 red, with a green square at its top-left and a blue one at its bottom-right, so
// that a turned or mirrored page shows.
platform::Picture Marked() {
  auto picture = std::make_shared<platform::PictureData>();
  picture->width = 200;
  picture->height = 100;
  picture->pixels.assign(200 * 100, kRed);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      picture->pixels[y * 200 + x] = kGreen;
      picture->pixels[(99 - y) * 200 + 199 - x] = kBlue;
    }
  }
  return picture;
}

std::string Output(const std::string& command) {
  FILE* out = ::popen(command.c_str(), "r");
  std::string text;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, out)) > 0;) text.append(buffer, n);
  ::pclose(out);
  return text;
}

// The page rendered at 96 dots to the inch, so that one dot is one pixel of the picture.
struct Page {
  int width = 0, height = 0;
  std::string rgb;
  std::uint32_t At(int x, int y) const {
    const auto* p = reinterpret_cast<const unsigned char*>(rgb.data()) + 3 * (y * width + x);
    return 0xFF000000u | p[0] << 16 | p[1] << 8 | p[2];
  }
};

Page Render(const std::string& pdf) {
  std::istringstream ppm(Output("pdftoppm -r 96 -singlefile '" + pdf + "'"));
  std::string magic;
  int max_value = 0;
  Page page;
  ppm >> magic >> page.width >> page.height >> max_value;
  ppm.get();
  page.rgb.assign(std::istreambuf_iterator<char>(ppm), {});
  EXPECT_EQ(magic, "P6");
  EXPECT_EQ(page.rgb.size(), static_cast<std::size_t>(3 * page.width * page.height));
  return page;
}

class PrinterTest : public testing::Test {
 protected:
  void SetUp() override {
    const std::string missing = test_support::CupsSandbox::Missing();
    if (!missing.empty()) GTEST_SKIP() << missing;
    cups_.Start();
  }
  int JobCount() const {
    cupsSetServer(nullptr);  // read CUPS_SERVER afresh: the library keeps the first one it saw
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
    cupsFreeJobs(count, jobs);
    return count;
  }

  test_support::CupsSandbox cups_;
  platform::PrinterDevice printer_;
};

TEST_F(PrinterTest, LandscapePageArrivesWithThePictureAtItsTopLeft) {
  printer_.SetOrientation(platform::vbPRORLandscape);
  printer_.PaintPicture(Marked(), 0, 0);
  printer_.EndDoc();
  printer_.WaitForJobs();
  EXPECT_EQ(JobCount(), 1);

  const auto files = cups_.WaitForOutput(1, 20s);
  ASSERT_EQ(files.size(), 1u) << "nothing printed in " << cups_.OutputFolder();
  EXPECT_NE(Output("pdfinfo '" + files[0] + "'").find("842 x 595 pts"), std::string::npos);

  const Page page = Render(files[0]);
  ASSERT_GT(page.width, page.height) << "the page arrived portrait";
  EXPECT_EQ(page.At(5, 5), kGreen);
  EXPECT_EQ(page.At(100, 50), kRed);
  EXPECT_EQ(page.At(194, 94), kBlue);
  EXPECT_EQ(page.At(215, 50), 0xFFFFFFFFu) << "the picture is larger than its own size";
  EXPECT_EQ(page.At(100, 110), 0xFFFFFFFFu);
}

TEST_F(PrinterTest, EmptyPageSendsNothingAndBadOrientationFails) {
  printer_.EndDoc();
  printer_.WaitForJobs();
  EXPECT_EQ(JobCount(), 0);
  EXPECT_THROW(printer_.SetOrientation(3), platform::RuntimeError);
  EXPECT_THROW(printer_.PaintPicture(nullptr, 0, 0), platform::RuntimeError);
}

TEST_F(PrinterTest, NoDefaultDestinationDropsThePageWithOneLine) {
  ASSERT_EQ(std::system(("/usr/sbin/lpadmin -h " + cups_.server() + " -x PDF").c_str()), 0);
  printer_.PaintPicture(Marked(), 0, 0);
  testing::internal::CaptureStderr();
  printer_.EndDoc();
  printer_.WaitForJobs();
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "colouring-book: a page was not printed: no default printer\n");
}

TEST_F(PrinterTest, APrinterThatTakesNoJobsDropsThePageAsRefused) {
  ASSERT_EQ(std::system(("/usr/sbin/cupsreject -h " + cups_.server() + " PDF").c_str()), 0);
  printer_.PaintPicture(Marked(), 0, 0);
  testing::internal::CaptureStderr();
  printer_.EndDoc();
  printer_.WaitForJobs();
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(said.rfind("colouring-book: a page was not printed: refused by the print server: ", 0),
            0u)
      << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

// The end of the program drops only what a working server has not taken in time: pages
// handed over just before leaving still come out.
TEST_F(PrinterTest, LeavingStillSendsThePagesAWorkingServerTakesInTime) {
  testing::internal::CaptureStderr();
  {
    platform::PrinterDevice leaving;
    for (int page = 0; page < 2; ++page) {
      leaving.PaintPicture(Marked(), 0, 0);
      leaving.EndDoc();
    }
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(cups_.WaitForOutput(2, 20s).size(), 2u) << "a page was lost to the program's end";
}

// The destination's own paper, upright in the printer, with the picture turned landscape at
// the top-left corner of the printable area.
class PrinterPaperTest : public testing::TestWithParam<const char*> {};

TEST_P(PrinterPaperTest, ThePageIsTheDefaultPaperWithThePictureInsideItsMargins) {
  const std::string missing = test_support::CupsSandbox::Missing();
  if (!missing.empty()) GTEST_SKIP() << missing;
  test_support::CupsSandbox cups;
  cups.StartWithPaper(GetParam());
  platform::PrinterDevice printer;
  printer.SetOrientation(platform::vbPRORLandscape);
  printer.PaintPicture(Marked(), 0, 0);
  printer.EndDoc();
  const auto files = cups.WaitForOutput(1, 20s);
  ASSERT_EQ(files.size(), 1u);
  // What the printer takes: the document it was sent, its page size and the picture's place.
  const std::string info = Output("pdfinfo '" + files[0] + "'");
  const bool letter = std::string(GetParam()) == "Letter";
  EXPECT_NE(info.find(letter ? "612 x 792 pts" : "595 x 842 pts"), std::string::npos) << info;
  const Page page = Render(files[0]);
  ASSERT_LT(page.width, page.height) << "the sheet lies upright in the printer";
  // The landscape page turned a quarter clockwise onto the sheet: its top-left corner lies at
  // the sheet's bottom-left, its top along the sheet's left edge. Pixels of the picture are
  // pixels of the page.
  constexpr int kSide = test_support::CupsSandbox::kSideMargin * 96 / 72;
  constexpr int kEnd = test_support::CupsSandbox::kEndMargin * 96 / 72;
  const auto at = [&](int x, int y) { return page.At(kSide + y, page.height - 1 - kEnd - x); };
  EXPECT_EQ(at(5, 5), kGreen);
  EXPECT_EQ(at(100, 50), kRed);
  EXPECT_EQ(at(194, 94), kBlue);
  EXPECT_EQ(at(215, 50), 0xFFFFFFFFu) << "the picture is larger than its own size";
  EXPECT_EQ(at(-10, 50), 0xFFFFFFFFu) << "the picture lies in the margin";
  EXPECT_EQ(at(100, -10), 0xFFFFFFFFu) << "the picture lies in the margin";
}

INSTANTIATE_TEST_SUITE_P(Papers, PrinterPaperTest, testing::Values("A4", "Letter"));

TEST(PrinterWithoutServerTest, EndDocReturnsAtOnceAndTheFailedPageIsDropped) {
  const std::string missing = test_support::CupsSandbox::Missing();
  if (!missing.empty()) GTEST_SKIP() << missing;
  // A port where nothing listens: a sandbox's own, once it has stopped.
  std::string dead_server;
  {
    test_support::CupsSandbox cups;
    cups.Start();
    dead_server = cups.server();
  }
  ::setenv("CUPS_SERVER", dead_server.c_str(), 1);
  platform::PrinterDevice printer;
  printer.SetOrientation(platform::vbPRORLandscape);
  printer.PaintPicture(Marked(), 0, 0);
  testing::internal::CaptureStderr();
  printer.EndDoc();
  printer.WaitForJobs();
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(said.rfind("colouring-book: a page was not printed: no print server", 0), 0u) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  ::unsetenv("CUPS_SERVER");

  // The failed page is gone: the next page comes out alone, not with the old one under it.
  test_support::CupsSandbox cups;
  cups.Start();
  printer.PaintPicture(Marked(), 0, 0);
  printer.EndDoc();
  const auto pages = cups.WaitForOutput(1, 20s);
  ASSERT_EQ(pages.size(), 1u);
  // pdfimages lists two heading lines, then one line for each picture on the page.
  FILE* list = ::popen(("pdfimages -list '" + pages[0] + "' | tail -n +3 | wc -l").c_str(), "r");
  ASSERT_NE(list, nullptr);
  int pictures = 0;
  EXPECT_EQ(std::fscanf(list, "%d", &pictures), 1);
  ::pclose(list);
  EXPECT_EQ(pictures, 1) << "the failed page came out again";
}

TEST(PrinterWithSilentServerTest, EndDocReturnsAtOnceAndThePageIsDroppedAsTimedOut) {
  test_support::SilentPrintServer silent;
  platform::PrinterDevice printer;
  printer.SetOrientation(platform::vbPRORLandscape);
  printer.PaintPicture(Marked(), 0, 0);
  testing::internal::CaptureStderr();
  const auto started = std::chrono::steady_clock::now();
  printer.EndDoc();
  // Handing the page over waits for no answer; the server's silence costs the caller nothing.
  EXPECT_LT(std::chrono::steady_clock::now() - started, 500ms);
  printer.WaitForJobs();
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(said, "colouring-book: a page was not printed: the print server at " + silent.server() +
                      " did not answer: timed out\n");
}

// The end of a process that printed five pages to a server that never answers: it drops
// what it has not sent and does not wait out the server.
TEST(PrinterWithSilentServerTest, LeavingDropsThePagesNotSentAndCutsTheOneOnItsWay) {
  test_support::SilentPrintServer silent;
  test_support::TempFolder folder;
  const std::string said_file = (folder.path() / "stderr").string();
  const auto started = std::chrono::steady_clock::now();
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::dup2(::open(said_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDERR_FILENO);
    {
      platform::PrinterDevice printer;
      for (int page = 1; page <= 5; ++page) {
        printer.PaintPicture(Marked(), 0, 0);
        printer.EndDoc();
        // The first page is on its way, waiting for the server, before the others queue.
        if (page == 1 && !silent.WaitForConnection(5s)) ::_exit(3);
      }
    }
    ::_exit(0);
  }
  int status = -1;
  const bool ended =
      test_support::WaitFor([&] { return ::waitpid(child, &status, WNOHANG) == child; }, 20s);
  const auto took = std::chrono::steady_clock::now() - started;
  if (!ended) test_support::EndProcess(child, 1s);
  ASSERT_TRUE(ended) << "the process waited on the print server";
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  // About two seconds for the page on its way, and a little for the last wait to notice.
  EXPECT_LT(took, 8s) << std::chrono::duration_cast<std::chrono::milliseconds>(took).count()
                      << " ms";
  std::ifstream in(said_file);
  const std::string said((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(said,
            "colouring-book: 4 pages not yet sent to the printer dropped\n"
            "colouring-book: a page was not printed: the print server at " +
                silent.server() + " did not answer: timed out\n");
}

}  // namespace
