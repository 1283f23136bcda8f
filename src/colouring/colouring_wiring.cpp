// Binds the colouring page's controls, and the bare form's pointer moves, to their handlers.
#include "frame/forma_main.h"

namespace {

using Click = void (FormaMain::*)();
using Move = void (FormaMain::*)(FormaMain::Mouse, FormaMain::Mouse, float, float);

struct PaletteHandlers {
  Click click;
  Move move;
};
// By colour number 01 to 12.
constexpr PaletteHandlers kPaletteHandlers[] = {
    {&FormaMain::PaletaCrvena_Click, &FormaMain::PaletaCrvena_MouseMove},
    {&FormaMain::PaletaZelena_Click, &FormaMain::PaletaZelena_MouseMove},
    {&FormaMain::PaletaZuta_Click, &FormaMain::PaletaZuta_MouseMove},
    {&FormaMain::PaletaSvPlava_Click, &FormaMain::PaletaSvPlava_MouseMove},
    {&FormaMain::PaletaOranz_Click, &FormaMain::PaletaOranz_MouseMove},
    {&FormaMain::PaletaLjubicasta_Click, &FormaMain::PaletaLjubicasta_MouseMove},
    {&FormaMain::PaletaSiva_Click, &FormaMain::PaletaSiva_MouseMove},
    {&FormaMain::PaletaTamnozuta_Click, &FormaMain::PaletaTamnozuta_MouseMove},
    {&FormaMain::PaletaBraon_Click, &FormaMain::PaletaBraon_MouseMove},
    {&FormaMain::PaletaPlava_Click, &FormaMain::PaletaPlava_MouseMove},
    {&FormaMain::PaletaCrna_Click, &FormaMain::PaletaCrna_MouseMove},
    {&FormaMain::PaletaPink_Click, &FormaMain::PaletaPink_MouseMove},
};

}  // namespace

void FormaMain::wire_colouring_handlers() {
  const auto bind_click = [this](Click handler) { return [this, handler] { (this->*handler)(); }; };
  const auto bind_mouse = [this](Move handler) {
    return [this, handler](Mouse b, Mouse s, float x, float y) { (this->*handler)(b, s, x, y); };
  };

  Slika.MouseDown = bind_mouse(&FormaMain::Slika_MouseDown);
  Slika.MouseMove = bind_mouse(&FormaMain::Slika_MouseMove);
  kapljica.Click = bind_click(&FormaMain::kapljica_Click);
  olovka.Click = bind_click(&FormaMain::olovka_Click);

  for (int nn = 1; nn <= 12; ++nn) {
    const PaletteHandlers& h = kPaletteHandlers[nn - 1];
    Paleta(nn).Click = bind_click(h.click);
    Paleta(nn).MouseMove = bind_mouse(h.move);
  }

  Rubber.Click = bind_click(&FormaMain::Rubber_Click);
  Papir.Click = bind_click(&FormaMain::Papir_Click);
  Rubber.MouseMove = bind_mouse(&FormaMain::Rubber_MouseMove);
  Papir.MouseMove = bind_mouse(&FormaMain::Papir_MouseMove);
  MoreImages.MouseMove = bind_mouse(&FormaMain::MoreImages_MouseMove);
  MuteWave.MouseMove = bind_mouse(&FormaMain::MuteWave_MouseMove);
  MusicOn.MouseMove = bind_mouse(&FormaMain::MusicOn_MouseMove);
  MouseMove = bind_mouse(&FormaMain::Form_MouseMove);
}
