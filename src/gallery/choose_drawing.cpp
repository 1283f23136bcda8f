// A click on a thumbnail puts its drawing, clean, on the canvas and returns to the main screen.
#include "frame/error_trap.h"
#include "frame/forma_main.h"
#include "frame/module_state.h"
#include "gallery/thumbnail_numbers.h"

void FormaMain::choose_drawing(int i) {
  error_trap([&] {
    if (galerija_prikazana == 1) {
      // The drawing number is the thumbnail's own, not its picture's file number. A drawing
      // that cannot be loaded ends the click here, so the gallery stays for another choice.
      load_picture(Slika, "\\PICTURE\\" + thumbnails::TwoDigits(i) + ".GIF");
      trenutna_slika = static_cast<std::int16_t>(i);
      galerija_prikazana = 0;
    }
    galerijski_ekran_ugasi();
    upali_glavni_ekran();
  });
}

void FormaMain::Galerija1_Click() { choose_drawing(1); }
void FormaMain::Galerija2_Click() { choose_drawing(2); }
void FormaMain::Galerija3_Click() { choose_drawing(3); }
void FormaMain::Galerija4_Click() { choose_drawing(4); }
void FormaMain::Galerija5_Click() { choose_drawing(5); }
void FormaMain::Galerija6_Click() { choose_drawing(6); }
void FormaMain::Galerija7_Click() { choose_drawing(7); }
void FormaMain::Galerija8_Click() { choose_drawing(8); }
void FormaMain::Galerija9_Click() { choose_drawing(9); }
void FormaMain::Galerija10_Click() { choose_drawing(10); }
void FormaMain::Galerija11_Click() { choose_drawing(11); }
void FormaMain::Galerija12_Click() { choose_drawing(12); }
void FormaMain::Galerija13_Click() { choose_drawing(13); }
void FormaMain::Galerija14_Click() { choose_drawing(14); }
void FormaMain::Galerija15_Click() { choose_drawing(15); }
void FormaMain::Galerija16_Click() { choose_drawing(16); }
void FormaMain::Galerija17_Click() { choose_drawing(17); }
void FormaMain::Galerija18_Click() { choose_drawing(18); }
void FormaMain::Galerija19_Click() { choose_drawing(19); }
void FormaMain::Galerija20_Click() { choose_drawing(20); }
void FormaMain::Galerija21_Click() { choose_drawing(21); }
void FormaMain::Galerija22_Click() { choose_drawing(22); }
void FormaMain::Galerija23_Click() { choose_drawing(23); }
void FormaMain::Galerija24_Click() { choose_drawing(24); }
void FormaMain::Galerija25_Click() { choose_drawing(25); }

void FormaMain::wire_gallery_handlers() {
  MoreImages.Click = [this] { MoreImages_Click(); };
  Back.Click = [this] { Back_Click(); };
  Back.MouseMove = [this](Mouse b, Mouse s, float x, float y) { Back_MouseMove(b, s, x, y); };

  using ClickMember = void (FormaMain::*)();
  static constexpr ClickMember kClicks[thumbnails::kCount] = {
      &FormaMain::Galerija1_Click,  &FormaMain::Galerija2_Click,  &FormaMain::Galerija3_Click,
      &FormaMain::Galerija4_Click,  &FormaMain::Galerija5_Click,  &FormaMain::Galerija6_Click,
      &FormaMain::Galerija7_Click,  &FormaMain::Galerija8_Click,  &FormaMain::Galerija9_Click,
      &FormaMain::Galerija10_Click, &FormaMain::Galerija11_Click, &FormaMain::Galerija12_Click,
      &FormaMain::Galerija13_Click, &FormaMain::Galerija14_Click, &FormaMain::Galerija15_Click,
      &FormaMain::Galerija16_Click, &FormaMain::Galerija17_Click, &FormaMain::Galerija18_Click,
      &FormaMain::Galerija19_Click, &FormaMain::Galerija20_Click, &FormaMain::Galerija21_Click,
      &FormaMain::Galerija22_Click, &FormaMain::Galerija23_Click, &FormaMain::Galerija24_Click,
      &FormaMain::Galerija25_Click,
  };
  for (int i = 1; i <= thumbnails::kCount; ++i) {
    const ClickMember click = kClicks[i - 1];
    Galerija(i).Click = [this, click] { (this->*click)(); };
  }
}
