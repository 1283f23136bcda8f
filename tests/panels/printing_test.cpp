// Ctrl+P: the saved picture, the printing notice around the wait, and the pages that reach a
// private print scheduler.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>

#include "cups_sandbox.h"
#include "panels_fixture.h"
#include "platform/canvas.h"
#include "platform/printer.h"
#include "platform/runtime.h"
#include "refused_sync.h"
#include "unprivileged.h"

namespace panels_test {
namespace {

using namespace std::chrono_literals;

// What the program looks like at each tick of a timer that runs inside the print's wait.
struct Moment {
  bool notice_shown;
  bool picture_saved;
  std::int16_t printer_orientation;
};

class Printing : public PanelsTest {
 protected:
  // Slow enough that the observer ticks many times in each three-second wait.
  Printing() { clock_rate = 50; }

  void SetUp() override {
    PanelsTest::SetUp();
    observer_.Tick = [this] {
      moments.push_back(
          {forma->PrintPict.Visible(), SavedPictureExists(), platform::Printer.Orientation()});
      if (every_tick) every_tick();
      if (forma->PrintPict.Visible() && while_notice_shown) {
        const std::function<void()> once = std::move(while_notice_shown);
        while_notice_shown = nullptr;
        once();
      }
    };
    observer_.SetEnabled(true);
    forma->Add(observer_);
    // The printer object outlives a test run in one process: portrait marks "not yet set".
    platform::Printer.SetOrientation(platform::vbPRORPortrait);
  }

  // A row and a block of distinct colours painted into the canvas's held image.
  void Colour(std::uint32_t seed) {
    for (int x = 0; x < 750; ++x) {
      platform::SetPixelV(forma->Slika.hDC(), x, 300,
                          (seed * 2654435761u + x * 0x0301F7u) & 0xFFFFFF);
    }
    for (int y = 100; y < 140; ++y) {
      for (int x = 200; x < 260; ++x)
        platform::SetPixelV(forma->Slika.hDC(), x, y, seed & 0xFFFFFF);
    }
  }
  std::vector<std::uint32_t> CanvasImage() { return forma->Slika.Image()->pixels; }
  std::string SavedBytes() {
    std::ifstream in(data->File("MY_PICTURE/01.GIF"), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  // Ctrl+P pressed in a child process run as the ordinary user, after `in_child` (a false
  // from it gives status 8), with what the child said on stderr. Status bits: 1 the saved
  // file changed from `before`, 2 the notice was shown, 4 it printed.
  struct PrintAsUser {
    test_support::UnprivilegedRun run;
    std::string said;
  };
  PrintAsUser PressCtrlPAsUser(
      const std::string& before, const std::function<bool()>& in_child = [] { return true; }) {
    // The child writes to the stderr caught here.
    testing::internal::CaptureStderr();
    const test_support::UnprivilegedRun run = test_support::RunUnprivileged([&] {
      if (!in_child()) return 8;
      moments.clear();
      Colour(0x010203);
      forma->SetFocus(&forma->Slika);
      PressCtrl(SDLK_p);
      return (SavedBytes() == before ? 0 : 1) | (NoticeEverShown() ? 2 : 0) |
             (platform::Printer.Orientation() == platform::vbPRORPortrait ? 0 : 4);
    });
    return {run, testing::internal::GetCapturedStderr()};
  }
  bool NoticeEverShown() {
    for (const Moment& m : moments) {
      if (m.notice_shown) return true;
    }
    return false;
  }
  // Every moment of the notice came after the save and before the printer was set up.
  void ExpectNoticeBetweenSaveAndPrinter() {
    ASSERT_TRUE(NoticeEverShown());
    for (const Moment& m : moments) {
      if (!m.notice_shown) continue;
      EXPECT_TRUE(m.picture_saved);
      EXPECT_EQ(m.printer_orientation, platform::vbPRORPortrait);
    }
    EXPECT_FALSE(forma->PrintPict.Visible());
  }

  std::vector<Moment> moments;
  // Runs once inside the print's wait, while the notice is up.
  std::function<void()> while_notice_shown;
  std::function<void()> every_tick;

 private:
  platform::Timer observer_{"observer", 1};
};

TEST_F(Printing, SavesTheColouredCanvasAsABitmapThatReadsBackUnchanged) {
  Colour(0x3366CC);
  const std::vector<std::uint32_t> coloured = CanvasImage();
  PressCtrl(SDLK_p);

  ASSERT_TRUE(SavedPictureExists());
  EXPECT_EQ(SavedBytes().substr(0, 2), "BM");
  const platform::Picture saved = platform::LoadPicture(data->File("MY_PICTURE/01.GIF").string());
  ASSERT_EQ(saved->width, 750);
  ASSERT_EQ(saved->height, 600);
  EXPECT_TRUE(saved->pixels == coloured) << "the saved picture differs from the canvas";
  // The canvas now shows the picture read back from the file.
  EXPECT_TRUE(test_support::Shows(forma->Slika, "01.GIF"));
  EXPECT_TRUE(forma->Slika.GetPicture()->pixels == coloured);
  EXPECT_TRUE(CanvasImage() == coloured);
}

TEST_F(Printing, WithoutAPrinterTheNoticeStillShowsAndThePictureIsSaved) {
  PressCtrl(SDLK_p);
  ExpectNoticeBetweenSaveAndPrinter();
  EXPECT_TRUE(SavedPictureExists());
  EXPECT_EQ(platform::Printer.Orientation(), platform::vbPRORLandscape);
}

TEST_F(Printing, TwoPrintsInARowLeaveOneFileWithTheLaterPicture) {
  Colour(0x112233);
  PressCtrl(SDLK_p);
  Colour(0xA0B0C0);
  const std::vector<std::uint32_t> later = CanvasImage();
  forma->SetFocus(&forma->Slika);
  PressCtrl(SDLK_p);

  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(data->File("MY_PICTURE"))) {
    files.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(files, std::vector<std::string>{"01.GIF"});
  EXPECT_TRUE(platform::LoadPicture(data->File("MY_PICTURE/01.GIF").string())->pixels == later);
}

TEST_F(Printing, WithoutItsFolderNothingIsSavedShownOrPrinted) {
  data->Remove("MY_PICTURE");
  Colour(0x445566);
  const std::vector<std::uint32_t> coloured = CanvasImage();
  PressCtrl(SDLK_p);
  EXPECT_FALSE(NoticeEverShown());
  EXPECT_FALSE(fs::exists(data->File("MY_PICTURE")));
  EXPECT_EQ(platform::Printer.Orientation(), platform::vbPRORPortrait);
  // The drawing was fixed into the canvas's picture before the save failed.
  EXPECT_TRUE(forma->Slika.GetPicture()->pixels == coloured);
}

TEST_F(Printing, AReadOnlySavedPictureStaysWholeAndNothingIsShown) {
  Colour(0x778899);
  PressCtrl(SDLK_p);
  const std::string first = SavedBytes();
  ASSERT_FALSE(first.empty());
  // The user may write into the folder but not the file; the superuser may write anything,
  // so the second print runs as an ordinary user.
  test_support::GiveToUnprivileged(data->File("MY_PICTURE"));
  test_support::GiveToUnprivileged(data->File("MY_PICTURE/01.GIF"));
  fs::permissions(data->File("MY_PICTURE/01.GIF"),
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

  const test_support::UnprivilegedRun run = test_support::RunUnprivileged([&] {
    moments.clear();
    Colour(0x010203);
    forma->SetFocus(&forma->Slika);
    PressCtrl(SDLK_p);
    return (SavedBytes() == first ? 0 : 1) | (NoticeEverShown() ? 2 : 0);
  });
  if (!run.ran) GTEST_SKIP() << run.why;
  EXPECT_EQ(run.status, 0) << "1: the file changed, 2: the notice was shown";
  EXPECT_EQ(SavedBytes(), first);
}

// With no process left to the user, the printer's thread cannot be made: that fails as a
// refused printer call does, caught by the shortcut's handler with one line that says what
// failed, and the picture is saved all the same.
TEST_F(Printing, APrinterThreadTheSystemWillNotMakeIsToldAndTrapped) {
  test_support::GiveToUnprivileged(data->File("MY_PICTURE"));
  testing::internal::CaptureStderr();
  const test_support::UnprivilegedRun run = test_support::RunUnprivileged([&] {
    const rlimit none{0, 0};
    if (::setrlimit(RLIMIT_NPROC, &none) != 0) return 8;
    Colour(0x040506);
    forma->SetFocus(&forma->Slika);
    PressCtrl(SDLK_p);
    return (SavedPictureExists() ? 0 : 1) | (NoticeEverShown() ? 0 : 2);
  });
  const std::string said = testing::internal::GetCapturedStderr();
  if (!run.ran) GTEST_SKIP() << run.why;
  EXPECT_EQ(run.status, 0) << "1: nothing saved, 2: no notice, 8: no limit";
  EXPECT_EQ(said,
            "colouring-book: no thread to send pages to the printer: Resource temporarily "
            "unavailable\n");
}

// How the save is refused, and the reason a parent then reads on stderr.
struct Refusal {
  const char* name;
  bool folder_there;
  bool folder_writable;  // by the ordinary user who prints
  bool file_there;       // from an earlier print, and not writable by that user
  const char* reason;
};

class RefusedSave : public Printing, public testing::WithParamInterface<Refusal> {};

TEST_P(RefusedSave, NamesTheFileAndTheReasonInOneLineAndNothingIsSavedShownOrPrinted) {
  const Refusal& refusal = GetParam();
  const fs::path folder = data->File("MY_PICTURE"), file = data->File("MY_PICTURE/01.GIF");
  if (refusal.file_there) {
    PressCtrl(SDLK_p);
    ASSERT_TRUE(SavedPictureExists());
    platform::Printer.SetOrientation(platform::vbPRORPortrait);
  }
  if (!refusal.folder_there) data->Remove("MY_PICTURE");
  const std::string before = SavedBytes();
  test_support::GiveToUnprivileged(refusal.folder_there ? folder : data->Path());
  if (refusal.file_there) {
    test_support::GiveToUnprivileged(file);
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  }
  if (refusal.folder_there && !refusal.folder_writable) {
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read |
                                fs::perms::others_exec);
  }

  const auto [run, said] = PressCtrlPAsUser(before);
  if (refusal.folder_there) fs::permissions(folder, fs::perms::owner_all);
  if (!run.ran) GTEST_SKIP() << run.why;
  EXPECT_EQ(run.status, 0) << "1: the file changed, 2: the notice was shown, 4: it printed";
  EXPECT_EQ(said, "colouring-book: the picture was not saved: cannot write " + file.string() +
                      ": " + refusal.reason + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, RefusedSave,
    testing::Values(Refusal{"NoFolder", false, false, false, "No such file or directory"},
                    Refusal{"ReadOnlyFolder", true, false, false, "Permission denied"},
                    Refusal{"ReadOnlyFile", true, true, true, "Permission denied"}),
    [](const testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

// A save whose data the disk did not take (the kernel refuses every sync of the process that
// prints) is refused as any other: one line, the old picture whole, no temporary left, nothing
// shown or printed.
TEST_F(Printing, ASaveTheDiskDidNotSyncIsRefusedAsAnyOther) {
  const fs::path folder = data->File("MY_PICTURE"), file = data->File("MY_PICTURE/01.GIF");
  PressCtrl(SDLK_p);
  ASSERT_TRUE(SavedPictureExists());
  platform::Printer.SetOrientation(platform::vbPRORPortrait);
  const std::string before = SavedBytes();
  test_support::GiveToUnprivileged(folder);
  test_support::GiveToUnprivileged(file);

  const auto [run, said] = PressCtrlPAsUser(before, test_support::RefuseSyncOnThisThread);
  if (!run.ran) GTEST_SKIP() << run.why;
  if (run.status == 8) GTEST_SKIP() << "this kernel takes no system call filter";
  EXPECT_EQ(run.status, 0) << "1: the file changed, 2: the notice was shown, 4: it printed";
  EXPECT_EQ(said, "colouring-book: the picture was not saved: cannot write " + file.string() +
                      ": Input/output error\n");
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(folder)) {
    left.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(left, std::vector<std::string>{"01.GIF"});
}

class PrintingToAPrinter : public Printing {
 protected:
  void SetUp() override {
    const std::string missing = test_support::CupsSandbox::Missing();
    if (!missing.empty()) GTEST_SKIP() << missing;
    Printing::SetUp();
    cups.Start();
  }
  void TearDown() override {
    cups.Stop();
    Printing::TearDown();
  }
  // The page as the printer would put it on paper, at the screen's 96 pixels to the inch.
  platform::Picture Render(const std::string& pdf) {
    const std::string out = (data->Path().parent_path() / "page").string();
    if (std::system(("pdftoppm -r 96 -singlefile -png '" + pdf + "' '" + out + "'").c_str()) != 0) {
      return nullptr;
    }
    return platform::LoadPicture(out + ".png");
  }
  // The share of the page's pixels in the rectangle that are of that colour (0xRRGGBB).
  static double Share(const platform::PictureData& page, std::uint32_t colour, int left, int top,
                      int w, int h) {
    int same = 0;
    for (int y = top; y < top + h; ++y) {
      for (int x = left; x < left + w; ++x) {
        same += (page.pixels[y * page.width + x] & 0xFFFFFF) == colour ? 1 : 0;
      }
    }
    return static_cast<double>(same) / (w * h);
  }
  static double GreenShare(const platform::PictureData& page, int left, int top, int w, int h) {
    return Share(page, 0x00FF00, left, top, w, h);
  }
  test_support::CupsSandbox cups;
};

TEST_F(PrintingToAPrinter, OnePrintGivesOneLandscapePageWithTheCanvasAtItsOrigin) {
  Colour(0x00FF00);  // a green block at (200, 100), 60 x 40
  PressCtrl(SDLK_p);
  ExpectNoticeBetweenSaveAndPrinter();
  const std::vector<std::string> pages = cups.WaitForOutput(1, 30s);
  ASSERT_EQ(pages.size(), 1u);
  const platform::Picture page = Render(pages[0]);
  ASSERT_TRUE(page) << "pdftoppm could not render the page";
  EXPECT_GT(page->width, page->height);
  // Upright and unscaled: a turned page would show the block 40 wide and 60 high.
  EXPECT_GT(GreenShare(*page, 202, 102, 56, 36), 0.95);
  EXPECT_LT(GreenShare(*page, 200, 142, 40, 18), 0.05);
  EXPECT_EQ(cups.WaitForOutput(2, 2s).size(), 1u) << "more than one page came out";
}

TEST_F(PrintingToAPrinter, ColouringDuringTheWaitStaysOnTheCanvasAndIsNotPrinted) {
  Colour(0x00FF00);  // a green block at (200, 100), 60 x 40, saved and printed
  constexpr std::uint32_t kMagenta = 0xFF00FF;
  while_notice_shown = [&] {
    ASSERT_TRUE(SavedPictureExists());
    for (int y = 100; y < 140; ++y) {
      for (int x = 400; x < 460; ++x) platform::SetPixelV(forma->Slika.hDC(), x, y, kMagenta);
    }
  };
  PressCtrl(SDLK_p);
  ASSERT_FALSE(while_notice_shown) << "the wait came and went unseen";
  EXPECT_EQ(CanvasImage()[120 * 750 + 430] & 0xFFFFFF, kMagenta) << "the colouring was lost";

  const std::vector<std::string> pages = cups.WaitForOutput(1, 30s);
  ASSERT_EQ(pages.size(), 1u);
  const platform::Picture page = Render(pages[0]);
  ASSERT_TRUE(page) << "pdftoppm could not render the page";
  EXPECT_GT(GreenShare(*page, 202, 102, 56, 36), 0.95);
  EXPECT_EQ(Share(*page, kMagenta, 0, 0, 750, 600), 0.0)
      << "the page shows what was coloured after the picture was saved";
}

TEST_F(PrintingToAPrinter, ASecondCtrlPDuringTheWaitPrintsTwice) {
  // Both presses are queued before the first one runs, so the second one arrives while the
  // first print waits.
  for (int press = 0; press < 2; ++press) {
    for (bool down : {true, false}) {
      SDL_Event e{};
      e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
      e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
      e.key.keysym.sym = SDLK_p;
      e.key.keysym.scancode = SDL_SCANCODE_P;
      e.key.keysym.mod = KMOD_LCTRL;
      SDL_PushEvent(&e);
    }
  }
  test_support::Pump();
  EXPECT_FALSE(forma->PrintPict.Visible());
  EXPECT_EQ(cups.WaitForOutput(2, 30s).size(), 2u);
}

TEST_F(PrintingToAPrinter, WithoutItsFolderNoPageComesOut) {
  data->Remove("MY_PICTURE");
  PressCtrl(SDLK_p);
  EXPECT_FALSE(NoticeEverShown());
  EXPECT_TRUE(cups.WaitForOutput(1, 3s).empty());
}

// A print server that takes the connection and never answers, as a hung one does.
class PrintingToASilentServer : public Printing {
 protected:
  using Clock = std::chrono::steady_clock;
  void SetUp() override {
    Printing::SetUp();
    silent_ = std::make_unique<test_support::SilentPrintServer>();
    // Start-up is over: from here the program's clock runs at the pace of the server's.
    platform::SetClockRate(1.0);
  }
  void TearDown() override {
    silent_.reset();
    Printing::TearDown();
  }

  // The pointer goes to and fro between the eraser button and the bare form; each move is
  // sent once the one before has its hover picture, and how long each took is kept, with
  // whether the notice was up when it was sent.
  struct Answer {
    std::chrono::milliseconds took;
    bool during_wait;
  };
  void Probe() {
    const Clock::time_point now = Clock::now();
    if (last_tick_ != Clock::time_point{})
      longest_pause = std::max(longest_pause, now - last_tick_);
    last_tick_ = now;
    const bool over_rubber = answers.size() % 2 == 0;
    if (sent_ != Clock::time_point{}) {
      if (!test_support::Shows(forma->Rubber, over_rubber ? "GUMICA2.JPG" : "GUMICA1.JPG")) return;
      answers.push_back(
          {std::chrono::duration_cast<std::chrono::milliseconds>(now - sent_), sent_during_wait_});
    }
    sent_ = Clock::now();
    sent_during_wait_ = forma->PrintPict.Visible();
    if (answers.size() % 2 == 0) {
      Move(Point{870, 440});
    } else {
      Move(Point{800, 100});
    }
  }

  std::vector<Answer> answers;
  Clock::duration longest_pause{};

 private:
  std::unique_ptr<test_support::SilentPrintServer> silent_;
  Clock::time_point last_tick_, sent_;
  bool sent_during_wait_ = false;
};

TEST_F(PrintingToASilentServer, TheNoticeGoesAtItsTimeAndThePointerIsAnsweredThroughout) {
  Move(Point{800, 100});
  test_support::Pump();
  const std::vector<std::uint32_t> before = forma->Frame();
  Clock::time_point shown, hidden;
  while_notice_shown = [&] { shown = Clock::now(); };
  every_tick = [&] {
    if (shown != Clock::time_point{} && hidden == Clock::time_point{} &&
        !forma->PrintPict.Visible()) {
      hidden = Clock::now();
    }
    Probe();
  };
  testing::internal::CaptureStderr();
  PressCtrl(SDLK_p);
  // Longer than the silent server can hold a page up: connecting and the transfer's limit.
  const Clock::time_point until = Clock::now() + 13s;
  while (Clock::now() < until) {
    test_support::Pump();
    SDL_Delay(1);
  }
  every_tick = nullptr;
  platform::Printer.WaitForJobs();
  const std::string said = testing::internal::GetCapturedStderr();

  ASSERT_NE(shown, Clock::time_point{}) << "no notice";
  ASSERT_NE(hidden, Clock::time_point{}) << "the notice stayed";
  EXPECT_GT(hidden - shown, 2500ms);
  EXPECT_LT(hidden - shown, 3500ms) << "the notice stayed past its wait";
  EXPECT_LT(longest_pause, 250ms) << "the program stopped answering for a while";
  int during = 0, after = 0;
  for (const Answer& a : answers) {
    EXPECT_LT(a.took, 250ms) << (a.during_wait ? "during" : "after") << " the wait";
    ++(a.during_wait ? during : after);
  }
  EXPECT_GT(during, 10);
  EXPECT_GT(after, 10);

  // Nothing but the page's loss is told, and only to the one who looks.
  Move(Point{800, 100});
  test_support::Pump();
  EXPECT_FALSE(forma->PrintPict.Visible());
  EXPECT_TRUE(forma->Frame() == before) << "something is shown after the print";
  EXPECT_EQ(said.rfind("colouring-book: a page was not printed", 0), 0u) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

}  // namespace
}  // namespace panels_test
