// The wipe animation behind the eraser and the blank paper: the canvas whitened pixel by
// pixel in one of eight sweeps, then the blank page.
#include "colouring/wipe.h"

#include <array>
#include <cmath>

#include "frame/error_trap.h"
#include "frame/forma_main.h"
#include "frame/module_state.h"
#include "gallery/thumbnail_numbers.h"
#include "platform/runtime.h"
#include "platform/sound.h"

namespace {

constexpr int kWidth = 750, kHeight = 600;
constexpr std::int32_t kStepsPerPass = kWidth * kHeight;
constexpr std::uint32_t kWhite = 0xFFFFFF;

enum class Pass { None, TopDownRows, LeftRightColumns, RightLeftColumns, BottomUpRows, Interlaced };

struct Pattern {
  Pass first, second;
};
// By pattern number 1 to 8.
constexpr std::array<Pattern, 8> kPatterns = {{
    {Pass::TopDownRows, Pass::None},
    {Pass::LeftRightColumns, Pass::None},
    {Pass::RightLeftColumns, Pass::None},
    {Pass::BottomUpRows, Pass::None},
    {Pass::Interlaced, Pass::LeftRightColumns},
    {Pass::Interlaced, Pass::TopDownRows},
    {Pass::Interlaced, Pass::RightLeftColumns},
    {Pass::Interlaced, Pass::BottomUpRows},
}};

void run_pass(platform::Canvas& canvas, Pass pass) {
  int x = 0, y = 0;
  if (pass == Pass::RightLeftColumns) x = kWidth - 1;
  if (pass == Pass::BottomUpRows) {
    x = kWidth - 1;
    y = kHeight - 1;
  }
  for (std::int32_t step = 0; step < kStepsPerPass; ++step) {
    platform::SetPixelV(canvas.hDC(), x, y, kWhite);
    switch (pass) {
      case Pass::TopDownRows:
        if (++x == kWidth) {
          x = 0;
          ++y;
        }
        break;
      case Pass::LeftRightColumns:
        if (++y == kHeight) {
          y = 0;
          ++x;
        }
        break;
      case Pass::RightLeftColumns:
        if (++y == kHeight) {
          y = 0;
          --x;
        }
        break;
      case Pass::BottomUpRows:
        if (--x < 0) {
          x = kWidth - 1;
          --y;
        }
        break;
      case Pass::Interlaced:
        // Its second half runs below the canvas: a pause as long as the visible half.
        if (++x == kWidth) {
          x = 0;
          y += 2;
        }
        break;
      case Pass::None:
        return;
    }
  }
}

}  // namespace

std::int16_t draw_wipe_pattern() {
  std::int16_t pattern = 0;
  do {
    const float r = platform::Rnd();
    pattern = static_cast<std::int16_t>(std::floor(r * 9.0f));
    platform::Randomize();
  } while (pattern < 1 || pattern > 8);
  return pattern;
}

void sweep_wipe_pattern(platform::Canvas& canvas, std::int16_t pattern) {
  const Pattern& p = kPatterns.at(static_cast<std::size_t>(pattern - 1));
  run_pass(canvas, p.first);
  if (p.second != Pass::None) run_pass(canvas, p.second);
}

// No trap: a failure passes to the click that started the wipe.
void FormaMain::brisanje_slika() {
  const std::int16_t nacin_brisanja = draw_wipe_pattern();
  if (zvuk_ukljucen_forma != 0) {
    platform::sndPlaySoundA(putanja_programa + "\\SOUND\\LJUBICASTA.WAV", platform::SND_ASYNC);
  }
  // Straight onto the screen, so that the sweep is seen as it goes.
  Slika.SetAutoRedraw(false);
  sweep_wipe_pattern(Slika, nacin_brisanja);
  Slika.SetAutoRedraw(true);
  load_picture(Slika, "\\PICTURE\\00.GIF");
}

void FormaMain::Rubber_Click() {
  error_trap([&] {
    brisanje_slika();
    for (int n = 1; n <= thumbnails::kCount; ++n) {
      if (trenutna_slika == n) {
        load_picture(Slika, "\\PICTURE\\" + thumbnails::TwoDigits(n) + ".GIF");
      }
    }
  });
}

// No trap: the event loop drops a failure of the wipe and the program goes on.
void FormaMain::Papir_Click() { brisanje_slika(); }
