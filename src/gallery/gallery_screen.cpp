// Opening the gallery screen, its thumbnail grid, and the way back without a choice.
#include "frame/error_trap.h"
#include "frame/forma_main.h"
#include "frame/module_state.h"
#include "frame/window_layout.h"
#include "gallery/thumbnail_numbers.h"

namespace {

// A panel over the gallery disables the thumbnails. Going back under it would leave them
// disabled into the next visit, where nothing would bring them back until a panel opened and
// closed there again, so the back button waits until the panel is closed.
bool GalleryFrozen(FormaMain& forma) {
  for (int i = 1; i <= thumbnails::kCount; ++i) {
    if (!forma.Galerija(i).Enabled()) return true;
  }
  return false;
}

}  // namespace

void FormaMain::MoreImages_Click() {
  error_trap([&] {
    ugasi_glavni_ekran();
    Prikazi_More_Images();
    Galerijske_pozicije();
    Prikaz_Prve_Galerije();
  });
}

void FormaMain::Galerijske_pozicije() {
  error_trap([&] {
    for (int i = 1; i <= thumbnails::kCount; ++i) {
      Galerija(i).SetLeft(thumbnails::LeftOf(i));
      Galerija(i).SetTop(thumbnails::TopOf(i));
    }
  });
}

void FormaMain::Prikaz_Prve_Galerije() {
  error_trap([&] {
    // Already the gallery while its thumbnails appear one by one.
    galerija_prikazana = 1;
    for (int i = 1; i <= thumbnails::kCount; ++i) {
      load_picture(Galerija(i), thumbnails::RestingPicture(i));
      Galerija(i).SetVisible(true);
    }
  });
}

void FormaMain::Back_Click() {
  error_trap([&] {
    if (GalleryFrozen(*this)) return;
    galerijski_ekran_ugasi();
    upali_glavni_ekran();
    galerija_prikazana = 0;
  });
}

void FormaMain::Back_MouseMove(MouseButton, ShiftMask, float, float) {
  error_trap([&] {
    if (Back.Top() == layout::kBack.top) load_picture(Back, "\\PICTURE\\BACK2.JPG");
  });
}
