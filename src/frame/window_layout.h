#pragma once

#include <array>
#include <string_view>

#include "gallery/thumbnail_numbers.h"

// The window's layout: every control's design place, size, tab position and design picture.
// The window's design builds the controls from it, and every hover guard compares a control's
// top edge with its entry here, so a control moved here keeps its hover.
struct ControlDesign {
  std::string_view name;
  float left, top;
  int width, height;
  int tab;
  std::string_view picture;  // the built-in design picture; empty for none
};

namespace layout {

inline constexpr ControlDesign kPapir{"Papir", 936, 412, 63, 61, 54, "PAPIR1.JPG"};
inline constexpr ControlDesign kRubber{"Rubber", 825, 412, 112, 61, 53, "GUMICA1.JPG"};
inline constexpr ControlDesign kOlovka{"olovka", 804, 571, 62, 81, 52, "OLOVKA2.JPG"};
inline constexpr ControlDesign kKapljica{"kapljica", 871, 571, 58, 81, 51, "KAPLJICA1.JPG"};
inline constexpr ControlDesign kPrintPict{"PrintPict", 312, 259, 400, 250, 49, "PRINTING.JPG"};
inline constexpr ControlDesign kBack{"Back", 30, 0, 192, 40, 48, "BACK1.JPG"};
inline constexpr ControlDesign kNe{"Ne", 568, 409, 85, 50, 47, "NO1.JPG"};
inline constexpr ControlDesign kDa{"Da", 368, 409, 107, 50, 46, "YES1.JPG"};
inline constexpr ControlDesign kIzlaz{"Izlaz", 312, 259, 400, 250, 45, "CTRLX.JPG"};
inline constexpr ControlDesign kZatvori{"Zatvori", 632, 269, 73, 27, 44, "CLOSE1.JPG"};
inline constexpr ControlDesign kFirma{"Firma", 459, 462, 110, 35, 43, "CTRLR5821.JPG"};
inline constexpr ControlDesign kVisitSite{"visit_site", 346, 395, 330, 62, 42, "VISIT1.JPG"};
inline constexpr ControlDesign kRegistered{"Registered", 312, 259, 400, 250, 41, "CTRL-R.JPG"};
inline constexpr ControlDesign kMoreImages{"MoreImages", 832, 241, 160, 169, 3, "MOREIMAGES1.JPG"};
inline constexpr ControlDesign kMuteWave{"MuteWave", 835, 485, 78, 79, 2, "ZVUCNIK1.JPG"};
inline constexpr ControlDesign kMusicOn{"MusicOn", 919, 485, 78, 78, 1, "MUSICOFF2.JPG"};
inline constexpr ControlDesign kSlika{"Slika", 30, 29, 750, 600, 0, "START.GIF"};
inline constexpr ControlDesign kLblPlay{"lblPlay", 816, 168, 9, 17, 50, ""};

// The palette's row; each button's column and width are a row of the palette's own table
// (colouring/palette_table.h), so that a colour is added in one place.
inline constexpr float kPaletteTop = 675;
inline constexpr int kPaletteHeight = 85;
constexpr int PaletteTab(int nn) { return 3 + nn; }

// The thumbnails wait here, hidden, until the gallery first lays them out on its grid
// (gallery/thumbnail_numbers.h). Each row also names the thumbnail's two handlers.
struct ThumbnailDesign {
  float left, top;
  std::string_view click, mouse_move;
};
inline constexpr int kThumbnailWidth = 131, kThumbnailHeight = 122;
constexpr int ThumbnailTab(int i) { return 15 + i; }
inline constexpr std::array<ThumbnailDesign, thumbnails::kCount> kThumbnails = {{
    {800, 0, "Galerija1_Click", "Galerija1_MouseMove"},
    {808, 8, "Galerija2_Click", "Galerija2_MouseMove"},
    {816, 16, "Galerija3_Click", "Galerija3_MouseMove"},
    {824, 24, "Galerija4_Click", "Galerija4_MouseMove"},
    {832, 32, "Galerija5_Click", "Galerija5_MouseMove"},
    {1000, 344, "Galerija6_Click", "Galerija6_MouseMove"},
    {1008, 296, "Galerija7_Click", "Galerija7_MouseMove"},
    {1000, 168, "Galerija8_Click", "Galerija8_MouseMove"},
    {1000, 440, "Galerija9_Click", "Galerija9_MouseMove"},
    {1008, 448, "Galerija10_Click", "Galerija10_MouseMove"},
    {192, 0, "Galerija11_Click", "Galerija11_MouseMove"},
    {176, 8, "Galerija12_Click", "Galerija12_MouseMove"},
    {168, 24, "Galerija13_Click", "Galerija13_MouseMove"},
    {160, 40, "Galerija14_Click", "Galerija14_MouseMove"},
    {144, 64, "Galerija15_Click", "Galerija15_MouseMove"},
    {496, 0, "Galerija16_Click", "Galerija16_MouseMove"},
    {472, 8, "Galerija17_Click", "Galerija17_MouseMove"},
    {456, 24, "Galerija18_Click", "Galerija18_MouseMove"},
    {440, 32, "Galerija19_Click", "Galerija19_MouseMove"},
    {432, 48, "Galerija20_Click", "Galerija20_MouseMove"},
    {8, 200, "Galerija21_Click", "Galerija21_MouseMove"},
    {24, 208, "Galerija22_Click", "Galerija22_MouseMove"},
    {40, 216, "Galerija23_Click", "Galerija23_MouseMove"},
    {64, 232, "Galerija24_Click", "Galerija24_MouseMove"},
    {96, 248, "Galerija25_Click", "Galerija25_MouseMove"},
}};

}  // namespace layout
