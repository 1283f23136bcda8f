// Binds the panels' clicks and pointer movements, and the key-down events of the 21
// shortcut carriers, to their handlers.
#include "frame/forma_main.h"

namespace {

using Mouse = FormaMain::Mouse;
using MouseMember = void (FormaMain::*)(Mouse, Mouse, float, float);
using KeyMember = void (FormaMain::*)(Mouse, Mouse);

struct MouseBinding {
  platform::PictureBox FormaMain::*box;
  MouseMember handler;
};
constexpr MouseBinding kPanelMouseMoves[] = {
    {&FormaMain::Izlaz, &FormaMain::Izlaz_MouseMove},
    {&FormaMain::Da, &FormaMain::Da_MouseMove},
    {&FormaMain::Ne, &FormaMain::Ne_MouseMove},
    {&FormaMain::Registered, &FormaMain::Registered_MouseMove},
    {&FormaMain::visit_site, &FormaMain::visit_site_MouseMove},
    {&FormaMain::Firma, &FormaMain::Firma_MouseMove},
    {&FormaMain::Zatvori, &FormaMain::Zatvori_MouseMove},
};

struct ClickBinding {
  platform::PictureBox FormaMain::*box;
  void (FormaMain::*handler)();
};
constexpr ClickBinding kPanelClicks[] = {
    {&FormaMain::Da, &FormaMain::Da_Click},
    {&FormaMain::Ne, &FormaMain::Ne_Click},
    {&FormaMain::Zatvori, &FormaMain::Zatvori_Click},
    {&FormaMain::visit_site, &FormaMain::visit_site_Click},
    {&FormaMain::Firma, &FormaMain::Firma_Click},
};

// The main-screen controls that carry the shortcuts; the canvas, of a class of its own, and
// the window are bound apart.
struct KeyBinding {
  platform::PictureBox FormaMain::*box;
  KeyMember handler;
};
constexpr KeyBinding kKeyCarriers[] = {
    {&FormaMain::PaletaPink, &FormaMain::PaletaPink_KeyDown},
    {&FormaMain::PaletaCrna, &FormaMain::PaletaCrna_KeyDown},
    {&FormaMain::PaletaPlava, &FormaMain::PaletaPlava_KeyDown},
    {&FormaMain::PaletaBraon, &FormaMain::PaletaBraon_KeyDown},
    {&FormaMain::PaletaTamnozuta, &FormaMain::PaletaTamnozuta_KeyDown},
    {&FormaMain::PaletaSiva, &FormaMain::PaletaSiva_KeyDown},
    {&FormaMain::PaletaLjubicasta, &FormaMain::PaletaLjubicasta_KeyDown},
    {&FormaMain::PaletaOranz, &FormaMain::PaletaOranz_KeyDown},
    {&FormaMain::PaletaSvPlava, &FormaMain::PaletaSvPlava_KeyDown},
    {&FormaMain::PaletaZuta, &FormaMain::PaletaZuta_KeyDown},
    {&FormaMain::PaletaZelena, &FormaMain::PaletaZelena_KeyDown},
    {&FormaMain::PaletaCrvena, &FormaMain::PaletaCrvena_KeyDown},
    {&FormaMain::MoreImages, &FormaMain::MoreImages_KeyDown},
    {&FormaMain::MuteWave, &FormaMain::MuteWave_KeyDown},
    {&FormaMain::MusicOn, &FormaMain::MusicOn_KeyDown},
    {&FormaMain::Rubber, &FormaMain::Rubber_KeyDown},
    {&FormaMain::Papir, &FormaMain::Papir_KeyDown},
    {&FormaMain::olovka, &FormaMain::olovka_KeyDown},
    {&FormaMain::kapljica, &FormaMain::kapljica_KeyDown},
};

}  // namespace

void FormaMain::wire_panel_and_key_handlers() {
  for (const MouseBinding& b : kPanelMouseMoves) {
    (this->*b.box).MouseMove = [this, h = b.handler](Mouse button, Mouse shift, float x, float y) {
      (this->*h)(button, shift, x, y);
    };
  }
  for (const ClickBinding& b : kPanelClicks) {
    (this->*b.box).Click = [this, h = b.handler] { (this->*h)(); };
  }
  for (const KeyBinding& b : kKeyCarriers) {
    (this->*b.box).KeyDown = [this, h = b.handler](Mouse key, Mouse shift) {
      (this->*h)(key, shift);
    };
  }
  Slika.KeyDown = [this](Mouse key, Mouse shift) { Slika_KeyDown(key, shift); };
  KeyDown = [this](Mouse key, Mouse shift) { Form_KeyDown(key, shift); };
}
