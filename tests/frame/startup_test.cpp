// Start-up's data paths, its two waits, start-up without the companion program, and the ways
// out: the unload from outside and the close through the display objects.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "frame/module_state.h"
#include "frame/web_pages.h"
#include "frame_fixture.h"
#include "platform/keyboard_hook.h"
#include "platform/runtime.h"

namespace frame_test {
namespace {

class StartUpTest : public FrameTest {};

TEST_F(StartUpTest, MixedCaseDirectoryGivesUpperCaseDataPaths) {
  const std::string dir = data->Path().string();  // ".../colouring-test-xxxxxx/Colouring Book"
  ASSERT_NE(dir, platform::UCase(dir));
  StartFully();
  EXPECT_EQ(forma->putanja_app, dir + "\\");
  EXPECT_EQ(putanja_programa, platform::UCase(dir));
  EXPECT_EQ(fs::current_path(), fs::canonical(data->Path()));

  // A data file named through the upper-case path is found.
  forma->Prikazi_More_Images();
  EXPECT_EQ(forma->GetPicture()->source, platform::UCase(dir) + "\\PICTURE\\GALERIJA.JPG");
}

TEST_F(StartUpTest, DirectoryReportedWithItsSeparatorGetsNoSecondOne) {
  // As a drive root is reported: the separator already at its end.
  const std::string dir = data->Path().string() + "\\";
  platform::SetAppPath(dir);
  StartFully();
  EXPECT_EQ(forma->putanja_app, dir);
  EXPECT_EQ(putanja_programa, platform::UCase(dir));
  EXPECT_EQ(trenutna_boja, 255) << "companion started and data files found through \\\\";
  EXPECT_EQ(fs::current_path(), fs::canonical(data->Path()));
  forma->Prikazi_More_Images();
  EXPECT_EQ(forma->GetPicture()->source, platform::UCase(dir) + "\\PICTURE\\GALERIJA.JPG");
}

TEST_F(StartUpTest, FileSystemRootStopsWhereTheCompanionIsMissing) {
  ASSERT_FALSE(fs::exists("/MOVARI.EXE"));
  platform::SetAppPath("/");
  StartProgram();
  EXPECT_FALSE(ended.has_value());
  EXPECT_EQ(forma->putanja_app, "/\\");
  EXPECT_EQ(putanja_programa, "/");
  EXPECT_EQ(fs::current_path(), fs::path("/"));
  EXPECT_EQ(forma->kapljica_izabrana, -1);
  EXPECT_EQ(trenutna_boja, 0);
}

TEST_F(StartUpTest, WithoutTheCompanionStartUpStopsAndTheWindowShowsAnyway) {
  data->Remove("MOVARI.EXE");
  data->Remove("PICTURE/01.GIF");  // would end the program, were the files tested
  StartProgram();

  EXPECT_FALSE(ended.has_value());
  EXPECT_TRUE(forma->Visible());
  EXPECT_NE(forma->hook_id, 0);
  EXPECT_EQ(putanja_programa, platform::UCase(data->Path().string()));
  EXPECT_EQ(forma->kapljica_izabrana, -1);
  EXPECT_EQ(trenutna_boja, 0);
  EXPECT_EQ(muzika_iskljucena, 0);
  EXPECT_EQ(zvuk_ukljucen, 0);
  EXPECT_EQ(forma->zvuk_ukljucen_forma, 0);
  EXPECT_EQ(galerija_prikazana, 0);
  EXPECT_EQ(trenutna_slika, 0);
  EXPECT_EQ(forma->dd, nullptr) << "the display mode is left alone";
  EXPECT_EQ(SDL_GetWindowFlags(forma->hWnd()) & SDL_WINDOW_FULLSCREEN, 0u);
  EXPECT_EQ(forma->ActiveControl(), &forma->Slika);
}

// A click pushed from another thread while start-up waits, as a user's click would arrive.
Uint32 PushClickOnSoundSwitch(Uint32, void*) {
  for (Uint32 type : {SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
    SDL_Event e{};
    e.type = type;
    if (type == SDL_MOUSEMOTION) {
      e.motion.x = 874;
      e.motion.y = 524;
    } else {
      e.button.button = SDL_BUTTON_LEFT;
      e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
      e.button.clicks = 1;
      e.button.x = 874;
      e.button.y = 524;
    }
    SDL_PushEvent(&e);
  }
  return 0;
}

double EpochSeconds() {
  return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

class RealClockStartUpTest : public FrameTest {
 protected:
  RealClockStartUpTest() { clock_rate = 1.0; }
};

TEST_F(RealClockStartUpTest, TwoWaitsOfThreeSecondsHandleEvents) {
  const fs::path started = data->File("companion-started");
  WriteExecutable(data->File("MOVARI.EXE"),
                  "#!/bin/sh\ndate +%s.%N > '" + started.string() + "'\n");

  struct Handled {
    bool window_visible;
    std::int32_t colour;
  };
  std::vector<Handled> handled;
  SDL_TimerID first = 0, second = 0;
  double load_began = 0;
  StartProgram([&](FormaMain& f) {
    auto click = f.MuteWave.Click;
    f.MuteWave.Click = [&f, &handled, click] {
      handled.push_back({f.Visible(), trenutna_boja});
      click();
    };
    first = SDL_AddTimer(1500, PushClickOnSoundSwitch, nullptr);
    second = SDL_AddTimer(4500, PushClickOnSoundSwitch, nullptr);
    load_began = EpochSeconds();
  });
  const double load_ended = EpochSeconds();
  SDL_RemoveTimer(first);
  SDL_RemoveTimer(second);
  ASSERT_FALSE(ended.has_value());

  // The companion starts before the waits, and they take six seconds and more after it.
  const std::vector<std::string> companion = Lines(started);
  ASSERT_EQ(companion.size(), 1u) << "the companion program ran once";
  EXPECT_LT(std::stod(companion[0]) - load_began, 0.5);
  EXPECT_GE(load_ended - load_began, 6.0);
  EXPECT_LT(load_ended - load_began, 7.0);

  // One click in each wait: the first before the window was shown again, the second after
  // the start values were given, which it then turned off.
  ASSERT_EQ(handled.size(), 2u);
  EXPECT_FALSE(handled[0].window_visible);
  EXPECT_EQ(handled[0].colour, 0);
  EXPECT_TRUE(handled[1].window_visible);
  EXPECT_EQ(handled[1].colour, 255);
  EXPECT_EQ(zvuk_ukljucen, 0);
  EXPECT_EQ(forma->zvuk_ukljucen_forma, 0);
}

TEST_F(StartUpTest, WaitAcrossMidnightEndsThreeSecondsLater) {
  StartFully();
  // Ends the program should the wait never end.
  platform::Timer watchdog("watchdog", 3000);
  watchdog.Tick = [] { platform::End(99); };
  watchdog.SetEnabled(true);
  forma->Add(watchdog);

  // Slow enough that setting the clock does not itself pass midnight.
  platform::SetClockRate(10.0);
  platform::SetClockOffset(0);
  platform::SetClockOffset(86400.0 - 1.5 - platform::SecondsSinceMidnight());
  const double before = platform::SecondsSinceMidnight();
  ASSERT_GT(before, 86398.0);
  try {
    forma->pauza();
  } catch (const platform::ProgramEnd&) {
    FAIL() << "the wait did not end after midnight";
  }
  const double after = platform::SecondsSinceMidnight();
  watchdog.SetEnabled(false);
  EXPECT_GE(after, 1.5);
  EXPECT_LT(after, 3.0);
}

TEST_F(StartUpTest, UnloadFromOutsideRemovesTheFilterAndOpensTheMakersPageOnce) {
  FakeBrowser browser;
  StartFully();
  ClickOn(forma->MusicOn);
  ASSERT_EQ(forma->muzika_svira, 1);

  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  test_support::Pump();

  EXPECT_TRUE(forma->Unloaded());
  EXPECT_FALSE(platform::KeyboardFilterInstalled());
  EXPECT_FALSE(forma->perf->IsPlaying(forma->seg, forma->seg_state)) << "performance closed";
  EXPECT_EQ(browser.Opened(), std::vector<std::string>{maker_page_address()});

  // The page beside the program, its address encoded ("Colouring Book" has a space).
  std::string encoded = data->Path().string();
  encoded.replace(encoded.find(' '), 1, "%20");
  EXPECT_EQ(maker_page_address(), "file://" + encoded + "/MAKER.HTML");
  EXPECT_TRUE(fs::exists(data->File("MAKER.HTML")));
}

TEST_F(StartUpTest, ClosingRestoresTheDisplayBeforeTheUnload) {
  FakeBrowser browser;
  StartFully();
  bool full_screen_at_unload = true;
  auto unload = forma->OnUnload;
  forma->OnUnload = [&](std::int16_t& cancel) {
    full_screen_at_unload = (SDL_GetWindowFlags(forma->hWnd()) & SDL_WINDOW_FULLSCREEN) != 0;
    unload(cancel);
  };
  forma->zatvori_program();
  EXPECT_TRUE(forma->Unloaded());
  EXPECT_FALSE(full_screen_at_unload);
  EXPECT_EQ(browser.Opened().size(), 1u);
}

TEST_F(StartUpTest, ClosingWithoutTheDisplayObjectsUnloadsNothing) {
  FakeBrowser browser;
  data->Remove("MOVARI.EXE");
  StartProgram();
  forma->zatvori_program();
  EXPECT_FALSE(forma->Unloaded());
  EXPECT_TRUE(platform::KeyboardFilterInstalled());
  EXPECT_TRUE(browser.Opened().empty());
}

}  // namespace
}  // namespace frame_test
