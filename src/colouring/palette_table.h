#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The palette, by colour number 01 to 12 (left to right): one row per button, holding all that
// makes the colour, so that a colour is added in one row (and its pictures and sound). The
// buttons stand on the layout's palette row; each row also names the button's handlers.
struct PaletteColour {
  std::string_view control;                      // the button
  std::string_view click, mouse_move, key_down;  // its handlers
  float left;
  int width;
  std::int32_t packed;  // 0x00BBGGRR, as the fill and the pencil take it
  const char* sound;    // played when the colour is chosen
};

inline constexpr int kPaletteCount = 12;

inline constexpr std::array<PaletteColour, kPaletteCount> kPalette = {{
    {"PaletaCrvena", "PaletaCrvena_Click", "PaletaCrvena_MouseMove", "PaletaCrvena_KeyDown", 8, 85,
     0x000000FF, "\\SOUND\\CRVENA.WAV"},  // 01 red
    {"PaletaZelena", "PaletaZelena_Click", "PaletaZelena_MouseMove", "PaletaZelena_KeyDown", 93, 84,
     0x0067CC34, "\\SOUND\\ZELENA.WAV"},  // 02 green
    {"PaletaZuta", "PaletaZuta_Click", "PaletaZuta_MouseMove", "PaletaZuta_KeyDown", 176, 84,
     0x0000FFFF, "\\SOUND\\ZUTA.WAV"},  // 03 yellow
    {"PaletaSvPlava", "PaletaSvPlava_Click", "PaletaSvPlava_MouseMove", "PaletaSvPlava_KeyDown",
     261, 84, 0x00FFCC00, "\\SOUND\\SVPLAVA.WAV"},  // 04 light blue
    {"PaletaOranz", "PaletaOranz_Click", "PaletaOranz_MouseMove", "PaletaOranz_KeyDown", 345, 83,
     0x000066FF, "\\SOUND\\ORANZ.WAV"},  // 05 orange
    {"PaletaLjubicasta", "PaletaLjubicasta_Click", "PaletaLjubicasta_MouseMove",
     "PaletaLjubicasta_KeyDown", 428, 85, 0x00FF33CC, "\\SOUND\\LJUBICASTA.WAV"},  // 06 purple
    {"PaletaSiva", "PaletaSiva_Click", "PaletaSiva_MouseMove", "PaletaSiva_KeyDown", 513, 83,
     0x00B2B2B2, "\\SOUND\\SIVA.WAV"},  // 07 grey
    {"PaletaTamnozuta", "PaletaTamnozuta_Click", "PaletaTamnozuta_MouseMove",
     "PaletaTamnozuta_KeyDown", 596, 84, 0x00FFFFFF, "\\SOUND\\TAMNOZUTA.WAV"},  // 08 white
    {"PaletaBraon", "PaletaBraon_Click", "PaletaBraon_MouseMove", "PaletaBraon_KeyDown", 680, 84,
     0x003367CC, "\\SOUND\\BRAON.WAV"},  // 09 brown
    {"PaletaPlava", "PaletaPlava_Click", "PaletaPlava_MouseMove", "PaletaPlava_KeyDown", 764, 84,
     0x00FF0000, "\\SOUND\\PLAVA.WAV"},  // 10 blue
    // 11 black, kept above the outline values
    {"PaletaCrna", "PaletaCrna_Click", "PaletaCrna_MouseMove", "PaletaCrna_KeyDown", 848, 84,
     0x001E1E1E, "\\SOUND\\CRNA.WAV"},
    {"PaletaPink", "PaletaPink_Click", "PaletaPink_MouseMove", "PaletaPink_KeyDown", 932, 84,
     0x00FF00FF, "\\SOUND\\PINK.WAV"},  // 12 pink
}};

inline const PaletteColour& palette_colour(int nn) {
  return kPalette[static_cast<std::size_t>(nn - 1)];
}

// A palette button's picture: phase 1 resting, 2 hover, 3 selected ("\PICTURE\BOJE3_01.JPG").
inline std::string palette_picture(int phase, int nn) {
  return "\\PICTURE\\BOJE" + std::to_string(phase) + (nn < 10 ? "_0" : "_") + std::to_string(nn) +
         ".JPG";
}
