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

void FormaMain::Galerija1_MouseMove(Mouse, Mouse, float, float) { highlight_thumbnail(1); }
void FormaMain::Galerija2_MouseMove(Mouse, Mouse, float, float) { highlight_thumbnail(2); }
void FormaMain::Galerija3_MouseMove(Mouse, Mouse, float, float) { highlight_thumbnail(3); }
void FormaMain::Galerija4_MouseMove(Mouse, Mouse, float, float) { highlight_thumbnail(4); }
void FormaMain::Galerija5_MouseMove(Mouse, Mouse, float, float) { highlight_thumbnail(5); }
void FormaMain::Galerija6_MouseMove(Mouse, Mouse, float, float) { highlight_thumbnail(6); }
void FormaMain::Galerija7_MouseMove(Mouse, Mouse, float, float) { highlight_thumbnail(7); }
void FormaMain::Galerija8_MouseMove(Mouse, Mouse, float, float) { highlight_thumbnail(8); }
void FormaMain::Galerija9_MouseMove(Mouse, Mouse, float, float) { highlight_thumbnail(9); }
void FormaMain::Galerija10_MouseMove(Mouse, Mouse, float, float) { highlight_thumbnail(10); }
void FormaMain::Galerija11_MouseMove(Mouse, Mouse, float, float) { highlight_thumbnail(11); }
void FormaMain::Galerija12_MouseMove(Mouse, Mouse, float, float) { highlight_thumbnail(12); }
void FormaMain::Galerija13_MouseMove(Mouse, Mouse, float, float) { highlight_thumbnail(13); }
void FormaMain::Galerija14_MouseMove(Mouse, Mouse, float, float) { highlight_thumbnail(14); }
void FormaMain::Galerija15_MouseMove(Mouse, Mouse, float, float) { highlight_thumbnail(15); }
void FormaMain::Galerija16_MouseMove(Mouse, Mouse, float, float) { highlight_thumbnail(16); }
void FormaMain::Galerija17_MouseMove(Mouse, Mouse, float, float) { highlight_thumbnail(17); }
void FormaMain::Galerija18_MouseMove(Mouse, Mouse, float, float) { highlight_thumbnail(18); }
void FormaMain::Galerija19_MouseMove(Mouse, Mouse, float, float) { highlight_thumbnail(19); }
void FormaMain::Galerija20_MouseMove(Mouse, Mouse, float, float) { highlight_thumbnail(20); }
void FormaMain::Galerija21_MouseMove(Mouse, Mouse, float, float) { highlight_thumbnail(21); }
void FormaMain::Galerija22_MouseMove(Mouse, Mouse, float, float) { highlight_thumbnail(22); }
void FormaMain::Galerija23_MouseMove(Mouse, Mouse, float, float) { highlight_thumbnail(23); }
void FormaMain::Galerija24_MouseMove(Mouse, Mouse, float, float) { highlight_thumbnail(24); }
void FormaMain::Galerija25_MouseMove(Mouse, Mouse, float, float) { highlight_thumbnail(25); }

void FormaMain::wire_highlight_handlers() {
  using MoveMember = void (FormaMain::*)(Mouse, Mouse, float, float);
  static constexpr MoveMember kMoves[thumbnails::kCount] = {
      &FormaMain::Galerija1_MouseMove,  &FormaMain::Galerija2_MouseMove,
      &FormaMain::Galerija3_MouseMove,  &FormaMain::Galerija4_MouseMove,
      &FormaMain::Galerija5_MouseMove,  &FormaMain::Galerija6_MouseMove,
      &FormaMain::Galerija7_MouseMove,  &FormaMain::Galerija8_MouseMove,
      &FormaMain::Galerija9_MouseMove,  &FormaMain::Galerija10_MouseMove,
      &FormaMain::Galerija11_MouseMove, &FormaMain::Galerija12_MouseMove,
      &FormaMain::Galerija13_MouseMove, &FormaMain::Galerija14_MouseMove,
      &FormaMain::Galerija15_MouseMove, &FormaMain::Galerija16_MouseMove,
      &FormaMain::Galerija17_MouseMove, &FormaMain::Galerija18_MouseMove,
      &FormaMain::Galerija19_MouseMove, &FormaMain::Galerija20_MouseMove,
      &FormaMain::Galerija21_MouseMove, &FormaMain::Galerija22_MouseMove,
      &FormaMain::Galerija23_MouseMove, &FormaMain::Galerija24_MouseMove,
      &FormaMain::Galerija25_MouseMove,
  };
  for (int i = 1; i <= thumbnails::kCount; ++i) {
    const MoveMember move = kMoves[i - 1];
    Galerija(i).MouseMove = [this, move](Mouse b, Mouse s, float x, float y) {
      (this->*move)(b, s, x, y);
    };
  }
}
