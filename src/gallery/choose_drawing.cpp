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
