#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app_fixture.h"
#include "frame/forma_main.h"
#include "frame/module_state.h"
#include "processes.h"

namespace robustness {

using namespace std::chrono_literals;

using test_support::ClickOn;
using test_support::MoveOnto;
using test_support::PeakResidentKb;
using test_support::PumpFor;

// Printing finds no print server, at once, whatever the machine has: these tests print
// nothing on paper.
inline void SendPrintsNowhere() { ::setenv("CUPS_SERVER", "/nonexistent/cups.sock", 1); }

// The small General MIDI font when it is there: the music starts in milliseconds instead of
// loading a large one at every switch.
inline void UseSmallSoundFont() {
  const char* small = "/usr/share/sounds/sf2/TimGM6mb.sf2";
  if (std::filesystem::exists(small)) ::setenv("SDL_SOUNDFONTS", small, 1);
}

// The program still takes input and acts on it: from wherever it is, back on the main screen
// Ctrl+X opens the exit dialog and its No button closes it again.
inline void ExpectResponds(FormaMain& f) {
  if (f.Ne.Visible()) ClickOn(f.Ne);
  if (f.Zatvori.Visible()) ClickOn(f.Zatvori);
  if (galerija_prikazana == 1 && f.Back.Visible()) ClickOn(f.Back);
  ASSERT_TRUE(f.Slika.Visible()) << "the main screen does not come back";
  // A right press on the canvas takes the focus there and fills nothing.
  const platform::Rect canvas = f.Slika.Bounds();
  test_support::PressMouse(canvas.x + 5, canvas.y + 5, SDL_BUTTON_RIGHT);
  test_support::ReleaseMouse(canvas.x + 5, canvas.y + 5, SDL_BUTTON_RIGHT);
  test_support::TypeKey(SDLK_x, KMOD_LCTRL);
  ASSERT_TRUE(f.Izlaz.Visible()) << "Ctrl+X opened no exit dialog";
  ClickOn(f.Ne);
  EXPECT_FALSE(f.Izlaz.Visible()) << "No did not close the exit dialog";
  EXPECT_EQ(f.Frame().size(), static_cast<std::size_t>(f.ClientWidth()) * f.ClientHeight());
}

}  // namespace robustness
