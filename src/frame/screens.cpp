// The procedures that show, hide, freeze and unfreeze the main screen and the gallery screen.
#include <array>

#include "frame/error_trap.h"
#include "frame/forma_main.h"
#include "frame/module_state.h"
#include "platform/picture.h"

namespace {

// The main screen's controls in the one order every procedure handles them.
std::array<platform::PictureBox*, 20> main_screen(FormaMain& f) {
  return {
      &f.Slika,           &f.MoreImages,    &f.MuteWave,    &f.MusicOn,          &f.Rubber,
      &f.Papir,           &f.kapljica,      &f.olovka,      &f.PaletaCrvena,     &f.PaletaZelena,
      &f.PaletaZuta,      &f.PaletaSvPlava, &f.PaletaOranz, &f.PaletaLjubicasta, &f.PaletaSiva,
      &f.PaletaTamnozuta, &f.PaletaBraon,   &f.PaletaPlava, &f.PaletaCrna,       &f.PaletaPink};
}

void load_background(FormaMain& f, const char* literal) {
  f.SetPicture(platform::LoadPicture(putanja_programa + literal));
}

}  // namespace

void FormaMain::ugasi_glavni_ekran() {
  error_trap([&] {
    for (PictureBox* c : main_screen(*this)) c->SetVisible(false);
  });
}

void FormaMain::upali_glavni_ekran() {
  error_trap([&] {
    for (PictureBox* c : main_screen(*this)) c->SetVisible(true);
  });
}

// The blank-paper button is hidden rather than disabled while a panel lies over the screen.
void FormaMain::glavni_ekran_zamrznut() {
  error_trap([&] {
    for (PictureBox* c : main_screen(*this)) {
      if (c == &Papir) {
        c->SetVisible(false);
      } else {
        c->SetEnabled(false);
      }
    }
  });
}

void FormaMain::glavni_ekran_odmrznut() {
  error_trap([&] {
    for (PictureBox* c : main_screen(*this)) {
      if (c == &Papir) {
        c->SetVisible(true);
      } else {
        c->SetEnabled(true);
      }
    }
  });
}

void FormaMain::galerijski_ekran_zamrznut() {
  error_trap([&] {
    for (int i = 1; i <= 25; ++i) Galerija(i).SetEnabled(false);
  });
}

void FormaMain::galerijski_ekran_odmrznut() {
  error_trap([&] {
    for (int i = 1; i <= 25; ++i) Galerija(i).SetEnabled(true);
  });
}

void FormaMain::galerijski_ekran_ugasi() {
  error_trap([&] {
    Back.SetVisible(false);
    for (int i = 1; i <= 25; ++i) Galerija(i).SetVisible(false);
    load_background(*this, "\\PICTURE\\GLAVNA.JPG");
  });
}

void FormaMain::Prikazi_More_Images() {
  error_trap([&] {
    Back.SetVisible(true);
    load_background(*this, "\\PICTURE\\GALERIJA.JPG");
  });
}
