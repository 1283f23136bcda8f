// The procedures that show, hide, freeze and unfreeze the main screen and the gallery screen.
#include <array>

#include "frame/error_trap.h"
#include "frame/forma_main.h"
#include "frame/module_state.h"
#include "gallery/thumbnail_numbers.h"
#include "platform/picture.h"

namespace {

// The main screen's controls in the one order every procedure handles them.
constexpr std::size_t kMainScreenCount = 8 + kPaletteCount;
std::array<platform::PictureBox*, kMainScreenCount> main_screen(FormaMain& f) {
  std::array<platform::PictureBox*, kMainScreenCount> controls = {
      &f.Slika,  &f.MoreImages, &f.MuteWave, &f.MusicOn,
      &f.Rubber, &f.Papir,      &f.kapljica, &f.olovka};
  for (int nn = 1; nn <= kPaletteCount; ++nn) {
    controls[kMainScreenCount - kPaletteCount + static_cast<std::size_t>(nn - 1)] = &f.Paleta(nn);
  }
  return controls;
}

void show_main_screen(FormaMain& f, bool shown) {
  for (platform::PictureBox* c : main_screen(f)) c->SetVisible(shown);
}

// The blank-paper button is hidden rather than disabled while a panel lies over the screen.
void freeze_main_screen(FormaMain& f, bool frozen) {
  for (platform::PictureBox* c : main_screen(f)) {
    if (c == &f.Papir) {
      c->SetVisible(!frozen);
    } else {
      c->SetEnabled(!frozen);
    }
  }
}

void load_background(FormaMain& f, const char* literal) {
  f.SetPicture(platform::LoadPicture(putanja_programa + literal));
}

}  // namespace

void FormaMain::ugasi_glavni_ekran() {
  error_trap([&] { show_main_screen(*this, false); });
}

void FormaMain::upali_glavni_ekran() {
  error_trap([&] { show_main_screen(*this, true); });
}

void FormaMain::glavni_ekran_zamrznut() {
  error_trap([&] { freeze_main_screen(*this, true); });
}

void FormaMain::glavni_ekran_odmrznut() {
  error_trap([&] { freeze_main_screen(*this, false); });
}

void FormaMain::galerijski_ekran_zamrznut() {
  error_trap([&] {
    for (int i = 1; i <= thumbnails::kCount; ++i) Galerija(i).SetEnabled(false);
  });
}

void FormaMain::galerijski_ekran_odmrznut() {
  error_trap([&] {
    for (int i = 1; i <= thumbnails::kCount; ++i) Galerija(i).SetEnabled(true);
  });
}

void FormaMain::galerijski_ekran_ugasi() {
  error_trap([&] {
    Back.SetVisible(false);
    for (int i = 1; i <= thumbnails::kCount; ++i) Galerija(i).SetVisible(false);
    load_background(*this, "\\PICTURE\\GLAVNA.JPG");
  });
}

void FormaMain::Prikazi_More_Images() {
  error_trap([&] {
    Back.SetVisible(true);
    load_background(*this, "\\PICTURE\\GALERIJA.JPG");
  });
}
