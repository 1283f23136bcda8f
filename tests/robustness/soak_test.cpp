// A long stretch of random use: pointer moves, clicks and drags anywhere (buttons, canvas,
// gallery, panels), and key presses with the shortcuts among them. The program must neither
// fail nor keep more memory at the end than after it had warmed up.
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include "app_fixture.h"
#include "platform/failure.h"
#include "robustness_support.h"

namespace robustness {
namespace {

#if defined(__SANITIZE_ADDRESS__)
// Freed memory waits in quarantine up to a fixed size, so resident memory says nothing.
constexpr bool kMemoryIsMeaningful = false;
#else
constexpr bool kMemoryIsMeaningful = true;
#endif

// Free memory the allocator still holds is handed back first: what stays is what the program
// keeps.
long ResidentKb() {
  ::malloc_trim(0);
  long pages_total = 0, pages_resident = 0;
  std::ifstream("/proc/self/statm") >> pages_total >> pages_resident;
  return pages_resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

constexpr int kWindowWidth = 1023, kWindowHeight = 766;

struct KeyPress {
  SDL_Keycode key;
  std::uint16_t modifiers;
};
// Ctrl+P is left out: it waits, and comes at its own, lower rate.
constexpr KeyPress kKeys[] = {
    {SDLK_x, KMOD_LCTRL},          {SDLK_r, KMOD_LCTRL},
    {SDLK_x, KMOD_LCTRL},          {SDLK_a, KMOD_NONE},
    {SDLK_p, KMOD_NONE},           {SDLK_x, KMOD_NONE},
    {SDLK_TAB, KMOD_NONE},         {SDLK_TAB, KMOD_LSHIFT},
    {SDLK_RETURN, KMOD_NONE},      {SDLK_SPACE, KMOD_NONE},
    {SDLK_ESCAPE, KMOD_NONE},      {SDLK_LEFT, KMOD_NONE},
    {SDLK_F4, KMOD_LALT},          {SDLK_x, KMOD_LALT},
    {SDLK_TAB, KMOD_LALT},         {SDLK_LGUI, KMOD_NONE},
    {SDLK_APPLICATION, KMOD_NONE}, {SDLK_LSHIFT, KMOD_NONE},
    {SDLK_F10, KMOD_NONE},         {SDLK_p, KMOD_LCTRL | KMOD_LSHIFT},
};

class Soak : public test_support::AppTest {
 protected:
  void SetUp() override {
    SendPrintsNowhere();
    UseSmallSoundFont();
    AppTest::SetUp();
    StartProgram();
    ASSERT_FALSE(ended);
  }

  // The control a press at this point goes to, as the window finds it.
  const platform::Control* Under(int x, int y) const {
    for (const platform::Control* c : forma->Controls()) {
      if (c->Visible() && c->Bounds().Contains(x, y)) return c;
    }
    return nullptr;
  }
  // The exit dialog's Yes ends the program, and the two web links start a browser.
  bool Harmful(int x, int y) const {
    const platform::Control* c = Under(x, y);
    return c == &forma->Da || c == &forma->Firma || c == &forma->visit_site;
  }

  // Half the presses aim at a visible control, so that the small ones are hit often.
  std::pair<int, int> Aim() {
    if (dice() % 2 == 0) {
      return {static_cast<int>(dice() % kWindowWidth), static_cast<int>(dice() % kWindowHeight)};
    }
    const auto& controls = forma->Controls();
    for (int tries = 0; tries < 8; ++tries) {
      const platform::Control* c = controls[dice() % controls.size()];
      if (!c->Visible()) continue;
      const platform::Rect b = c->Bounds();
      return {b.x + static_cast<int>(dice() % b.w), b.y + static_cast<int>(dice() % b.h)};
    }
    return {static_cast<int>(dice() % kWindowWidth), static_cast<int>(dice() % kWindowHeight)};
  }

  void Step() {
    const unsigned roll = dice() % 1000;
    auto [x, y] = Aim();
    if (roll < 2) {
      test_support::TypeKey(SDLK_p, KMOD_LCTRL);  // print, into nowhere
    } else if (roll < 110) {
      const KeyPress& k = kKeys[dice() % std::size(kKeys)];
      test_support::TypeKey(k.key, k.modifiers);
    } else if (Harmful(x, y)) {
      test_support::MoveMouse(x, y);
    } else if (roll < 330) {
      test_support::ClickMouse(x, y);
    } else if (roll < 370) {
      const std::uint8_t button = roll % 2 ? SDL_BUTTON_RIGHT : SDL_BUTTON_MIDDLE;
      test_support::PressMouse(x, y, button);
      test_support::ReleaseMouse(x, y, button);
    } else if (roll < 430) {
      // A drag: the pencil's line, or a press that leaves its control before the release.
      test_support::MoveMouse(x, y);
      test_support::PressMouse(x, y);
      for (int i = static_cast<int>(dice() % 6); i >= 0; --i) {
        x = std::clamp(x + static_cast<int>(dice() % 121) - 60, 0, kWindowWidth - 1);
        y = std::clamp(y + static_cast<int>(dice() % 121) - 60, 0, kWindowHeight - 1);
        test_support::MoveMouse(x, y, SDL_BUTTON_LMASK);
      }
      test_support::ReleaseMouse(x, y);
    } else {
      test_support::MoveMouse(x, y);
    }
  }

  // What holds between any two inputs, whatever came before.
  void ExpectConsistent(int step) {
    const FormaMain& f = *forma;
    SCOPED_TRACE("after step " + std::to_string(step));
    EXPECT_TRUE(galerija_prikazana == 0 || galerija_prikazana == 1);
    EXPECT_EQ(f.Slika.Visible(), galerija_prikazana == 0) << "one screen at a time";
    EXPECT_EQ(f.Back.Visible(), galerija_prikazana == 1);
    EXPECT_GE(trenutna_slika, 1);
    EXPECT_LE(trenutna_slika, 25);
    EXPECT_EQ(zvuk_ukljucen, f.zvuk_ukljucen_forma);
    EXPECT_TRUE(muzika_iskljucena == 0 || muzika_iskljucena == 1);
    EXPECT_LE(std::count(f.boje_faza3.begin(), f.boje_faza3.end(), 1), 1) << "colours chosen";
    EXPECT_TRUE(f.Slika.AutoRedraw()) << "a wipe left the canvas drawing straight to the screen";
    EXPECT_FALSE(f.PrintPict.Visible()) << "the printing notice stayed";
    EXPECT_EQ(f.Da.Visible(), f.Izlaz.Visible());
    EXPECT_EQ(f.Ne.Visible(), f.Izlaz.Visible());
    for (const platform::Control* c : {&f.visit_site, &f.Firma, &f.Zatvori}) {
      EXPECT_EQ(c->Visible(), f.Registered.Visible()) << c->Name();
    }
  }

  // Runs steps; an end of the program fails the test, and it is started again.
  void Run(int steps, std::chrono::seconds at_least = std::chrono::seconds(0)) {
    const auto until = std::chrono::steady_clock::now() + at_least;
    for (int i = 0; i < steps || std::chrono::steady_clock::now() < until; ++i) {
      if (i % 100 == 0) ExpectConsistent(i);
      if (HasFailure()) return;
      try {
        Step();
      } catch (const platform::ProgramEnd& end) {
        ADD_FAILURE() << "the program ended with status " << end.status << " at step " << i;
        forma.reset();
        StartProgram();
      }
    }
  }

  // Every part of the program once, so that what it sets up at first use is in place before
  // memory is measured.
  void Warm() {
    ClickOn(forma->MusicOn);
    PumpFor(600ms);
    ClickOn(forma->MusicOn);
    test_support::TypeKey(SDLK_p, KMOD_LCTRL);
    ClickOn(forma->Rubber);
    ClickOn(forma->Papir);
    ClickOn(forma->MoreImages);
    for (int i = 1; i <= 25; ++i) MoveOnto(forma->Galerija(i));
    ClickOn(forma->Galerija(5));
    Run(3000);
  }

  // The same quiet state for both measurements: main screen, no panel, music off.
  long SettledResidentKb() {
    ExpectResponds(*forma);
    if (muzika_iskljucena == 0) ClickOn(forma->MusicOn);
    test_support::MoveMouse(1010, 700);
    PumpFor(50ms);
    return ResidentKb();
  }

  std::mt19937 dice{20240611};
};

TEST_F(Soak, RandomUseNeitherFailsNorHoldsOnToMemory) {
  Warm();
  const long warm_kb = SettledResidentKb();

  const char* seconds = std::getenv("SOAK_SECONDS");
  Run(20000, std::chrono::seconds(seconds != nullptr ? std::atol(seconds) : 0));
  ASSERT_FALSE(HasFailure());

  const long end_kb = SettledResidentKb();
  RecordProperty("resident_kb_after_warm_up", std::to_string(warm_kb));
  RecordProperty("resident_kb_at_end", std::to_string(end_kb));
  if (kMemoryIsMeaningful) {
    constexpr long kToleranceKb = 16 * 1024;
    EXPECT_LE(end_kb, warm_kb + kToleranceKb) << "after warm-up " << warm_kb << " kB";
  }
}

}  // namespace
}  // namespace robustness
