// The twelve colour buttons: choosing the current colour, the selected mark and the hover
// pictures.
#include "colouring/palette_table.h"
#include "frame/error_trap.h"
#include "frame/forma_main.h"
#include "frame/module_state.h"
#include "platform/sound.h"

namespace {

constexpr float kPaletteTop = 675.0f;

std::int16_t& selected_flag(FormaMain& f, int nn) {
  return f.boje_faza3[static_cast<std::size_t>(nn - 1)];
}

}  // namespace

void FormaMain::gasi_boje_3_faze() {
  error_trap([&] {
    for (int nn = 1; nn <= 12; ++nn) selected_flag(*this, nn) = 0;
  });
}

void FormaMain::palette_click(int nn) {
  error_trap([&] {
    const PaletteColour& colour = kPalette[static_cast<std::size_t>(nn - 1)];
    // Colour and selection come before any picture, so a missing picture cannot undo them.
    trenutna_boja = colour.packed;
    if (zvuk_ukljucen_forma != 0) {
      platform::sndPlaySoundA(putanja_programa + colour.sound, platform::SND_ASYNC);
    }
    gasi_boje_3_faze();
    selected_flag(*this, nn) = 1;
    for (int k = 1; k <= 12; ++k) {
      load_picture(Paleta(k), palette_picture(selected_flag(*this, k) == 1 ? 3 : 1, k));
    }
  });
}

void FormaMain::palette_hover(int nn) {
  error_trap([&] {
    if (Paleta(nn).Top() != kPaletteTop) return;
    // A selected button keeps its selected picture under the pointer.
    load_picture(Paleta(nn), palette_picture(selected_flag(*this, nn) == 1 ? 3 : 2, nn));
    for (int neighbour : {nn - 1, nn + 1}) {
      if (neighbour < 1 || neighbour > 12) continue;
      load_picture(Paleta(neighbour),
                   palette_picture(selected_flag(*this, neighbour) == 1 ? 3 : 1, neighbour));
    }
  });
}

void FormaMain::PaletaCrvena_Click() { palette_click(1); }
void FormaMain::PaletaZelena_Click() { palette_click(2); }
void FormaMain::PaletaZuta_Click() { palette_click(3); }
void FormaMain::PaletaSvPlava_Click() { palette_click(4); }
void FormaMain::PaletaOranz_Click() { palette_click(5); }
void FormaMain::PaletaLjubicasta_Click() { palette_click(6); }
void FormaMain::PaletaSiva_Click() { palette_click(7); }
void FormaMain::PaletaTamnozuta_Click() { palette_click(8); }
void FormaMain::PaletaBraon_Click() { palette_click(9); }
void FormaMain::PaletaPlava_Click() { palette_click(10); }
void FormaMain::PaletaCrna_Click() { palette_click(11); }
void FormaMain::PaletaPink_Click() { palette_click(12); }

void FormaMain::PaletaCrvena_MouseMove(Mouse, Mouse, float, float) { palette_hover(1); }
void FormaMain::PaletaZelena_MouseMove(Mouse, Mouse, float, float) { palette_hover(2); }
void FormaMain::PaletaZuta_MouseMove(Mouse, Mouse, float, float) { palette_hover(3); }
void FormaMain::PaletaSvPlava_MouseMove(Mouse, Mouse, float, float) { palette_hover(4); }
void FormaMain::PaletaOranz_MouseMove(Mouse, Mouse, float, float) { palette_hover(5); }
void FormaMain::PaletaLjubicasta_MouseMove(Mouse, Mouse, float, float) { palette_hover(6); }
void FormaMain::PaletaSiva_MouseMove(Mouse, Mouse, float, float) { palette_hover(7); }
void FormaMain::PaletaTamnozuta_MouseMove(Mouse, Mouse, float, float) { palette_hover(8); }
void FormaMain::PaletaBraon_MouseMove(Mouse, Mouse, float, float) { palette_hover(9); }
void FormaMain::PaletaPlava_MouseMove(Mouse, Mouse, float, float) { palette_hover(10); }
void FormaMain::PaletaCrna_MouseMove(Mouse, Mouse, float, float) { palette_hover(11); }
void FormaMain::PaletaPink_MouseMove(Mouse, Mouse, float, float) { palette_hover(12); }
