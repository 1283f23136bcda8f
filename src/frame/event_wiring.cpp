// Every event of the window and its controls bound to its handler. A family's handlers share
// one rule, so each family is bound in one loop from its table, straight to that rule.
#include <array>
#include <functional>
#include <string_view>

#include "frame/forma_main.h"
#include "frame/window_layout.h"

namespace {

// The shortcut carriers besides the palette buttons, whose key-down handlers the palette's
// table names: the window, the canvas and the main screen's other buttons.
constexpr int kKeyCarrierCount = 9 + kPaletteCount;

}  // namespace

void FormaMain::wire_handlers() {
  OnLoad = std::bind_front(&FormaMain::Form_Load, this);
  OnUnload = std::bind_front(&FormaMain::Form_Unload, this);

  // Program frame.
  MusicOn.Click = std::bind_front(&FormaMain::MusicOn_Click, this);
  MuteWave.Click = std::bind_front(&FormaMain::MuteWave_Click, this);
  tmrRepeat.Tick = std::bind_front(&FormaMain::tmrRepeat_Timer, this);
  wire_panel_handlers();

  struct KeyCarrier {
    std::string_view handler;
    platform::KeyHandler* key_down;
  };
  std::array<KeyCarrier, kKeyCarrierCount> carriers = {{
      {"Form_KeyDown", &KeyDown},
      {"Slika_KeyDown", &Slika.KeyDown},
      {"MoreImages_KeyDown", &MoreImages.KeyDown},
      {"MuteWave_KeyDown", &MuteWave.KeyDown},
      {"MusicOn_KeyDown", &MusicOn.KeyDown},
      {"Rubber_KeyDown", &Rubber.KeyDown},
      {"Papir_KeyDown", &Papir.KeyDown},
      {"olovka_KeyDown", &olovka.KeyDown},
      {"kapljica_KeyDown", &kapljica.KeyDown},
  }};
  for (int nn = 1; nn <= kPaletteCount; ++nn) {
    carriers[static_cast<std::size_t>(kKeyCarrierCount - kPaletteCount + nn - 1)] = {
        palette_colour(nn).key_down, &Paleta(nn).KeyDown};
  }
  for (const KeyCarrier& carrier : carriers) {
    *carrier.key_down = [this](KeyCode key, ShiftMask shift) { shortcut_keys(key, shift); };
  }

  // Colouring page.
  Slika.MouseDown = std::bind_front(&FormaMain::Slika_MouseDown, this);
  Slika.MouseMove = std::bind_front(&FormaMain::Slika_MouseMove, this);
  kapljica.Click = std::bind_front(&FormaMain::kapljica_Click, this);
  olovka.Click = std::bind_front(&FormaMain::olovka_Click, this);
  for (int nn = 1; nn <= kPaletteCount; ++nn) {
    Paleta(nn).Click = [this, nn] { palette_click(nn); };
    Paleta(nn).MouseMove = [this, nn](MouseButton, ShiftMask, float, float) { palette_hover(nn); };
  }
  Rubber.Click = std::bind_front(&FormaMain::Rubber_Click, this);
  Papir.Click = std::bind_front(&FormaMain::Papir_Click, this);
  Rubber.MouseMove = std::bind_front(&FormaMain::Rubber_MouseMove, this);
  Papir.MouseMove = std::bind_front(&FormaMain::Papir_MouseMove, this);
  MoreImages.MouseMove = std::bind_front(&FormaMain::MoreImages_MouseMove, this);
  MuteWave.MouseMove = std::bind_front(&FormaMain::MuteWave_MouseMove, this);
  MusicOn.MouseMove = std::bind_front(&FormaMain::MusicOn_MouseMove, this);
  MouseMove = std::bind_front(&FormaMain::Form_MouseMove, this);

  // Gallery and its highlight.
  MoreImages.Click = std::bind_front(&FormaMain::MoreImages_Click, this);
  Back.Click = std::bind_front(&FormaMain::Back_Click, this);
  Back.MouseMove = std::bind_front(&FormaMain::Back_MouseMove, this);
  for (int i = 1; i <= thumbnails::kCount; ++i) {
    Galerija(i).Click = [this, i] { choose_drawing(i); };
    Galerija(i).MouseMove = [this, i](MouseButton, ShiftMask, float, float) {
      highlight_thumbnail(i);
    };
  }
}
