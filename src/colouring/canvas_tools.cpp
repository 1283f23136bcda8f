// The canvas's two tools: the fill under a left press and the pencil while the left button
// is held; and the tool buttons that choose between them.
#include <cmath>

#include "colouring/button_pictures.h"
#include "frame/error_trap.h"
#include "frame/forma_main.h"
#include "frame/module_state.h"
#include "frame/window_layout.h"
#include "platform/canvas.h"
#include "platform/sound.h"

namespace {

// A half goes to the even neighbour (10.5 gives 10), as a float stored into a whole number.
std::int32_t whole_pixel(float v) { return static_cast<std::int32_t>(std::nearbyint(v)); }

// The black outline and the nine values just above it bound every fill.
bool is_outline(std::int32_t colour) { return colour >= 0 && colour <= 9; }

}  // namespace

void FormaMain::Slika_MouseDown(MouseButton Button, ShiftMask, float X, float Y) {
  error_trap([&] {
    prethodni_x = whole_pixel(X);
    prethodni_y = whole_pixel(Y);
    if (kapljica_izabrana == 0) return;
    if (Button == 1) {
      Slika.SetFillColor(static_cast<std::uint32_t>(trenutna_boja));
      if (is_outline(Slika.Point(X, Y))) return;
      platform::HDC dc = Slika.hDC();
      const auto surface = static_cast<std::uint32_t>(Slika.Point(X, Y));
      platform::ExtFloodFill(dc, whole_pixel(X), whole_pixel(Y), surface,
                             platform::FLOODFILLSURFACE);
    }
    // Also after a right or middle press, which fills nothing.
    if (zvuk_ukljucen_forma != 0) {
      platform::sndPlaySoundA(putanja_programa + "\\SOUND\\SVPLAVA.WAV", platform::SND_ASYNC);
    }
  });
}

void FormaMain::Slika_MouseMove(MouseButton Button, ShiftMask, float X, float Y) {
  error_trap([&] {
    if (Button == 1 && kapljica_izabrana == 0) {
      Slika.SetForeColor(static_cast<std::uint32_t>(trenutna_boja));
      Slika.Line(static_cast<float>(prethodni_x), static_cast<float>(prethodni_y), X, Y);
      prethodni_x = whole_pixel(X);
      prethodni_y = whole_pixel(Y);
      return;
    }
    if (Slika.Top() != layout::kSlika.top) return;
    reset_buttons_over_canvas(*this);
  });
}

// The tool clicks have no trap: a missing picture or icon stops the click at that step and
// the failure goes on to the event loop.
void FormaMain::kapljica_Click() {
  kapljica_izabrana = -1;
  load_picture(olovka, "\\PICTURE\\OLOVKA2.JPG");
  load_picture(kapljica, "\\PICTURE\\KAPLJICA1.JPG");
  Slika.SetMouseIcon(platform::LoadPicture(putanja_programa + "\\PICTURE\\KANTICA8.ICO"));
}

void FormaMain::olovka_Click() {
  kapljica_izabrana = 0;
  load_picture(olovka, "\\PICTURE\\OLOVKA1.JPG");
  load_picture(kapljica, "\\PICTURE\\KAPLJICA2.JPG");
  Slika.SetMouseIcon(platform::LoadPicture(putanja_programa + "\\PICTURE\\CETKA.ICO"));
}
