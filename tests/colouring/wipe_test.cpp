// The wipe animation, the eraser and the blank paper.
#include "colouring/wipe.h"

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <fstream>

#include "colouring_test.h"
#include "frame/module_state.h"
#include "platform/failure.h"
#include "platform/picture.h"
#include "platform/runtime.h"
#include "platform/sound.h"

namespace colouring_test {
namespace {

using test_support::LoadLog;
using test_support::Shows;

bool CanvasAreaIsWhite(const std::vector<std::uint32_t>& frame, int stride) {
  for (int y = kCanvasTop; y < kCanvasTop + kCanvasHeight; ++y) {
    for (int x = kCanvasLeft; x < kCanvasLeft + kCanvasWidth; ++x) {
      if ((frame[static_cast<std::size_t>(y) * stride + x] & 0xFFFFFF) != 0xFFFFFF) return false;
    }
  }
  return true;
}

class WipeTest : public ColouringTest {
 protected:
  void Record() {
    forma->Slika.OnDirectWrite = [this](int x, int y) { writes.push_back(Packed(x, y)); };
  }
  // Pictures from the data set, read as the program reads them.
  platform::Picture DataPicture(const char* name) {
    return platform::LoadPicture(putanja_programa + "\\PICTURE\\" + name);
  }
  std::vector<std::uint32_t> ValuesOf(const platform::Picture& p) {
    std::vector<std::uint32_t> v;
    for (std::uint32_t argb : p->pixels) v.push_back(platform::ColourValueOf(argb));
    return v;
  }
  std::vector<std::uint32_t> writes;
};

TEST_F(WipeTest, EachPatternWhitensTheCanvasInItsOwnOrder) {
  Record();
  for (std::int16_t pattern = 1; pattern <= 8; ++pattern) {
    SCOPED_TRACE(pattern);
    forma->Slika.SetPicture(DataPicture("05.GIF"));
    writes.clear();
    forma->Slika.SetAutoRedraw(false);
    sweep_wipe_pattern(forma->Slika, pattern);
    EXPECT_TRUE(CanvasAreaIsWhite(forma->Frame(), forma->ClientWidth()));
    forma->Slika.SetAutoRedraw(true);
    ASSERT_EQ(writes.size(), pattern <= 4 ? 450000u : 675000u);
    EXPECT_TRUE(writes == ExpectedWipeWrites(pattern));
  }
}

TEST_F(WipeTest, BlankPaperSweepsToWhiteThenLoadsTheBlankPage) {
  Record();
  Click(OnCanvas(400, 300));  // a fill, which the wipe must take away
  Click(PalettePoint(6));
  const std::int32_t colour = trenutna_boja;
  const auto selection = forma->boje_faza3;

  bool white_before_blank_page = false, buffered_then = false;
  std::vector<std::size_t> writes_at_sound;
  platform::SetSoundObserver([&](const std::string& path, std::int32_t flags) {
    writes_at_sound.push_back(writes.size());
    EXPECT_EQ(path, Sound("\\SOUND\\LJUBICASTA.WAV"));
    EXPECT_EQ(flags, 1);
  });
  platform::SetPictureLoadObserver([&](const std::string& path) {
    if (!path.ends_with("\\00.GIF")) return;
    white_before_blank_page = CanvasAreaIsWhite(forma->Frame(), forma->ClientWidth());
    buffered_then = forma->Slika.AutoRedraw();
  });
  Move(kPapir);
  test_support::PressMouse(kPapir.x, kPapir.y);
  test_support::ReleaseMouse(kPapir.x, kPapir.y);
  platform::SetPictureLoadObserver(nullptr);
  platform::SetSoundObserver(nullptr);

  EXPECT_EQ(writes_at_sound, std::vector<std::size_t>{0}) << "one sound, before the first pixel";
  EXPECT_NE(PatternOf(writes), 0) << "no pattern wrote " << writes.size() << " pixels this way";
  EXPECT_TRUE(white_before_blank_page);
  EXPECT_TRUE(buffered_then);
  EXPECT_TRUE(forma->Slika.AutoRedraw());
  EXPECT_TRUE(Shows(forma->Slika, "00.GIF"));
  EXPECT_EQ(Canvas(), ValuesOf(DataPicture("00.GIF")));
  EXPECT_EQ(Pixel(kCanvasLeft + 400, kCanvasTop + 300),
            forma->Slika.Image()->pixels[300 * kCanvasWidth + 400] | 0xFF000000u);
  // The wipe writes no shared state.
  EXPECT_EQ(trenutna_boja, colour);
  EXPECT_EQ(forma->boje_faza3, selection);
  EXPECT_EQ(trenutna_slika, 1);
  EXPECT_EQ(forma->kapljica_izabrana, -1);
}

TEST_F(WipeTest, WithSoundsOffTheWipeIsSilent) {
  SoundLog sounds;
  forma->zvuk_ukljucen_forma = 0;
  Click(kPapir);
  EXPECT_TRUE(sounds.Calls().empty());
  EXPECT_TRUE(Shows(forma->Slika, "00.GIF"));
}

TEST_F(WipeTest, TheDrawGivesOneToEightAlikeOverManyWipes) {
  constexpr int kDraws = 9000;
  std::array<int, 10> seen{};
  for (int i = 0; i < kDraws; ++i) {
    // Wipes lie seconds apart, and every draw re-seeds from the clock.
    platform::SetClockOffset(i * 1.7);
    const std::int16_t p = draw_wipe_pattern();
    ASSERT_TRUE(p >= 1 && p <= 8) << p;
    ++seen[static_cast<std::size_t>(p)];
  }
  for (int p = 1; p <= 8; ++p) {
    EXPECT_NEAR(seen[static_cast<std::size_t>(p)], kDraws / 8, kDraws / 8 * 0.15) << p;
  }
}

// Each run of the program starts the generator afresh: the probe, a program of its own, starts
// up, clicks the blank paper and tells which pattern it saw.
int FirstPatternOfARun(const std::string& report) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::execl(FIRST_WIPE_PROBE, FIRST_WIPE_PROBE, report.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
  std::ifstream in(report);
  int pattern = -1;
  in >> pattern;
  return pattern;
}

TEST_F(WipeTest, TheFirstWipeOfEveryRunShowsTheSamePattern) {
  const std::string report = (data->Path() / "first-wipe.txt").string();
  const int first = FirstPatternOfARun(report);
  ASSERT_GE(first, 1);
  ASSERT_LE(first, 8);
  EXPECT_EQ(FirstPatternOfARun(report), first);
}

TEST_F(WipeTest, TheEraserReloadsDrawingOneThenTheDrawingChosenInTheGallery) {
  LoadLog loads;
  Click(kRubber);
  EXPECT_TRUE(Shows(forma->Slika, "01.GIF"));
  EXPECT_EQ(loads.Names(),
            (std::vector<std::string>{"GUMICA2.JPG", "PAPIR1.JPG", "00.GIF", "01.GIF"}));
  EXPECT_EQ(Canvas(), ValuesOf(DataPicture("01.GIF")));

  Click(kMoreImages);
  ASSERT_EQ(galerija_prikazana, 1);
  const platform::PictureBox& seven = forma->Galerija(7);
  Click({static_cast<int>(seven.Left()) + 60, static_cast<int>(seven.Top()) + 60});
  ASSERT_EQ(trenutna_slika, 7);
  ASSERT_EQ(galerija_prikazana, 0);
  Click(kPapir);
  EXPECT_TRUE(Shows(forma->Slika, "00.GIF"));
  Click(kRubber);
  EXPECT_TRUE(Shows(forma->Slika, "07.GIF"));
  EXPECT_EQ(trenutna_slika, 7);
}

TEST_F(WipeTest, TheEraserLeavesTheBlankPageWithoutADrawingToLoad) {
  for (std::int16_t number : {0, 26}) {
    trenutna_slika = number;
    Click(kRubber);
    EXPECT_TRUE(Shows(forma->Slika, "00.GIF")) << number;
  }
  trenutna_slika = 4;
  data->Remove("PICTURE/04.GIF");
  Click(kRubber);
  EXPECT_TRUE(Shows(forma->Slika, "00.GIF"));
  EXPECT_NO_THROW(forma->Rubber_Click());
}

TEST_F(WipeTest, ABlankPaperClickWithoutTheBlankPageStopsAndTheProgramGoesOn) {
  data->Remove("PICTURE/00.GIF");
  Record();
  Click(kPapir);
  EXPECT_GE(writes.size(), 450000u) << "the sweep ran before the failure";
  EXPECT_TRUE(forma->Slika.AutoRedraw());
  // Nothing in the click or the wipe catches the failure; the event loop drops it.
  EXPECT_THROW(forma->Papir_Click(), platform::RuntimeError);

  Click(PalettePoint(2));
  EXPECT_EQ(trenutna_boja, 0x0067CC34);
  // The eraser catches the same failure and loads no drawing.
  LoadLog loads;
  EXPECT_NO_THROW(forma->Rubber_Click());
  EXPECT_EQ(loads.Names(), std::vector<std::string>{"00.GIF"});
}

// The one timed check: at the real pace a sweep is an animation, and the writes below the
// canvas take their time like the others (900,000 writes, not the 675,000 that show).
TEST_F(WipeTest, AtTheRealPaceAnInterlacedWipeTakesAboutThreeSeconds) {
  platform::SetDirectDrawingPace(300000.0);
  forma->Slika.SetAutoRedraw(false);
  const auto start = std::chrono::steady_clock::now();
  sweep_wipe_pattern(forma->Slika, 5);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  forma->Slika.SetAutoRedraw(true);
  EXPECT_GE(took.count(), 2.9);
}

}  // namespace
}  // namespace colouring_test
