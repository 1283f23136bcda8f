// The thumbnail under the pointer shows its highlighted picture; the one highlighted before
// gets its resting picture back, on the next thumbnail or over the bare form.
#include "frame/error_trap.h"
#include "frame/forma_main.h"
#include "frame/module_state.h"
#include "gallery/thumbnail_numbers.h"

void FormaMain::highlight_thumbnail(int i) {
  error_trap([&] {
    // Both tests run on every event; a thumbnail still at its design place fails the first.
    const bool in_its_row = Galerija(i).Top() == thumbnails::TopOf(i);
    const bool on_gallery = galerija_prikazana == 1;
    if (!(in_its_row & on_gallery)) return;
    load_picture(Galerija(i), thumbnails::HighlightedPicture(i));
    for (int j = 1; j <= thumbnails::kCount; ++j) {
      if (j != i && poslednja_osvetljena == j) {
        load_picture(Galerija(j), thumbnails::RestingPicture(j));
      }
    }
    // Written last, so a failed load leaves the number of the one still highlighted.
    poslednja_osvetljena = static_cast<std::int16_t>(i);
  });
}

void FormaMain::mouse_move_galerija1_bele() {
  error_trap([&] {
    for (int j = 1; j <= thumbnails::kCount; ++j) {
      if (poslednja_osvetljena == j) load_picture(Galerija(j), thumbnails::RestingPicture(j));
    }
  });
}
