// The twelve colour buttons: choosing the current colour, the selected mark and the hover
// pictures.
#include "colouring/palette_table.h"
#include "frame/error_trap.h"
#include "frame/forma_main.h"
#include "frame/module_state.h"
#include "frame/window_layout.h"
#include "platform/sound.h"

namespace {

std::int16_t& selected_flag(FormaMain& f, int nn) {
  return f.boje_faza3[static_cast<std::size_t>(nn - 1)];
}

}  // namespace

void FormaMain::gasi_boje_3_faze() {
  error_trap([&] {
    for (int nn = 1; nn <= kPaletteCount; ++nn) selected_flag(*this, nn) = 0;
  });
}

void FormaMain::palette_click(int nn) {
  error_trap([&] {
    const PaletteColour& colour = palette_colour(nn);
    // Colour and selection come before any picture, so a missing picture cannot undo them.
    trenutna_boja = colour.packed;
    if (zvuk_ukljucen_forma != 0) {
      platform::sndPlaySoundA(putanja_programa + colour.sound, platform::SND_ASYNC);
    }
    gasi_boje_3_faze();
    selected_flag(*this, nn) = 1;
    for (int k = 1; k <= kPaletteCount; ++k) {
      load_picture(Paleta(k), palette_picture(selected_flag(*this, k) == 1 ? 3 : 1, k));
    }
  });
}

void FormaMain::palette_hover(int nn) {
  error_trap([&] {
    if (Paleta(nn).Top() != layout::kPaletteTop) return;
    // A selected button keeps its selected picture under the pointer.
    load_picture(Paleta(nn), palette_picture(selected_flag(*this, nn) == 1 ? 3 : 2, nn));
    for (int neighbour : {nn - 1, nn + 1}) {
      if (neighbour < 1 || neighbour > kPaletteCount) continue;
      load_picture(Paleta(neighbour),
                   palette_picture(selected_flag(*this, neighbour) == 1 ? 3 : 1, neighbour));
    }
  });
}
