#pragma once

#include <array>
#include <cstdint>
#include <string>

// The twelve colours of the palette, by colour number 01 to 12 (left to right).
struct PaletteColour {
  std::int32_t packed;  // 0x00BBGGRR, as the fill and the pencil take it
  const char* sound;    // played when the colour is chosen
};

inline constexpr std::array<PaletteColour, 12> kPalette = {{
    {0x000000FF, "\\SOUND\\CRVENA.WAV"},      // 01 red
    {0x0067CC34, "\\SOUND\\ZELENA.WAV"},      // 02 green
    {0x0000FFFF, "\\SOUND\\ZUTA.WAV"},        // 03 yellow
    {0x00FFCC00, "\\SOUND\\SVPLAVA.WAV"},     // 04 light blue
    {0x000066FF, "\\SOUND\\ORANZ.WAV"},       // 05 orange
    {0x00FF33CC, "\\SOUND\\LJUBICASTA.WAV"},  // 06 purple
    {0x00B2B2B2, "\\SOUND\\SIVA.WAV"},        // 07 grey
    {0x00FFFFFF, "\\SOUND\\TAMNOZUTA.WAV"},   // 08 white
    {0x003367CC, "\\SOUND\\BRAON.WAV"},       // 09 brown
    {0x00FF0000, "\\SOUND\\PLAVA.WAV"},       // 10 blue
    {0x001E1E1E, "\\SOUND\\CRNA.WAV"},        // 11 black, kept above the outline values
    {0x00FF00FF, "\\SOUND\\PINK.WAV"},        // 12 pink
}};

// A palette button's picture: phase 1 resting, 2 hover, 3 selected ("\PICTURE\BOJE3_01.JPG").
inline std::string palette_picture(int phase, int nn) {
  return "\\PICTURE\\BOJE" + std::to_string(phase) + (nn < 10 ? "_0" : "_") + std::to_string(nn) +
         ".JPG";
}
