#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "colouring/palette_table.h"
#include "gallery/thumbnail_numbers.h"
#include "platform/canvas.h"
#include "platform/controls.h"
#include "platform/directx7.h"
#include "platform/form.h"

// Reading the code
//
// The window, its controls, its procedures and its state keep the identifiers they were first
// given, in Serbian (`ugasi_glavni_ekran`, `boje_faza3`, `poslednja_osvetljena`): a behaviour
// can then be traced by the same name from the handler that the window system calls, through
// the procedures, to the state it changes. New names of ours are plain English. Event handlers
// are named after the control and the event (`Da_Click`, `Slika_MouseDown`); the handlers of a
// family (the palette, the thumbnails, the shortcut carriers, the panels' hover pictures) share
// one rule, and their original names are a column of the family's table.
//
// The platform layer (src/platform) keeps the names of the system calls it stands in for
// (`ExtFloodFill`, `sndPlaySoundA`, `SetWindowsHookExA`, `DoEvents`, `LoadPicture`), with
// signatures of its own over SDL2, SDL2_image, SDL2_mixer and libcups.
//
// Controls: `Slika` (picture) the canvas; `Paleta(nn)` the palette buttons; `kapljica`
// (droplet) the fill tool and `olovka` (pencil); `Rubber` the eraser and `Papir` (paper) the
// blank page; `MoreImages` the gallery button and `Galerija(i)` (gallery) its thumbnails, with
// `Back`; `MuteWave` the sound switch and `MusicOn` the music switch; `Izlaz` (exit) the exit
// dialog with `Da` (yes) and `Ne` (no); `Registered` the about panel with `Zatvori` (close),
// `Firma` (firm: the maker's page) and `visit_site` (the product's page); `PrintPict` the
// printing notice; `tmrRepeat` the timer that repeats the music; `lblPlay` an unused label.
//
// Window state: `putanja_app` program path; `hook_id` the keyboard filter's handle;
// `kapljica_izabrana` droplet chosen (fill tool, else pencil); `prethodni_x`, `prethodni_y` the
// previous pencil point; `zvuk_ukljucen_forma` sound switched on (the window's copy);
// `muzika_svira` music playing; `boje_faza3` colours in phase 3 (selected); `poslednja_osvetljena`
// the last thumbnail lit; `dx_muzika`, `loader`, `perf`, `seg`, `seg_state` the music engine;
// `dx_ekran`, `dd`, `ddsd`, `primarna_povrsina` (primary surface) the full-screen display mode.
// The module's state is glossed in frame/module_state.h.
//
// Procedures: `pauza` pause; `zatvori_program` close the program; `provera_datoteka` checking of
// the files; `ugasi_`/`upali_glavni_ekran` switch the main screen off/on;
// `glavni_ekran_zamrznut`/`odmrznut` main screen frozen/unfrozen, likewise `galerijski_ekran_`
// for the gallery screen and `galerijski_ekran_ugasi` switch it off; `Prikazi_More_Images` show
// the gallery's background; `zaustavi_muziku` stop the music; `prikazi_izlaz` show the exit
// dialog; `prikazi_o_programu` show the about panel; `gasi_boje_3_faze` switch off the colours'
// phase 3; `brisanje_slika` wiping of the picture; `stampanje_slike` printing of the picture;
// `Galerijske_pozicije` gallery positions; `Prikaz_Prve_Galerije` showing of the first gallery;
// `mouse_move_galerija1_bele` gallery back to white: the last lit thumbnail rests again.
//
// Each subsystem's folder defines the handlers and procedures it owns:
//   frame/              the window's design and layout, event wiring, start-up and shutdown,
//                       data-file check, screens, music, panels, keys
//   colouring/          canvas tools, palette, wipe, printing, button pictures
//   gallery/            gallery screen, thumbnail grid, choosing a drawing
//   gallery_highlight/  the thumbnails' hover highlight
class FormaMain : public platform::Form {
 public:
  FormaMain();

  using PictureBox = platform::PictureBox;
  using MouseButton = platform::MouseButton;
  using ShiftMask = platform::ShiftMask;
  using KeyCode = platform::KeyCode;

 private:
  // The two families, made from their tables before the controls that name them.
  std::array<std::unique_ptr<PictureBox>, thumbnails::kCount> galerija_;
  std::array<std::unique_ptr<PictureBox>, kPaletteCount> paleta_;

 public:
  // ---- Controls, in stacking order: each lies above those after it. ----
  PictureBox Papir, Rubber, olovka, kapljica, PrintPict, Back, Ne, Da, Izlaz, Zatvori, Firma,
      visit_site, Registered;
  // Galerija(1) to Galerija(25); stacked with 25 uppermost.
  PictureBox& Galerija(int i) { return *galerija_.at(static_cast<std::size_t>(i - 1)); }
  // The palette buttons by colour number, left to right; stacked with the last uppermost.
  PictureBox& Paleta(int nn) { return *paleta_.at(static_cast<std::size_t>(nn - 1)); }
  // The palette buttons by name, for code that means one colour.
  PictureBox &PaletaCrvena = Paleta(1), &PaletaZelena = Paleta(2), &PaletaZuta = Paleta(3),
             &PaletaSvPlava = Paleta(4), &PaletaOranz = Paleta(5), &PaletaLjubicasta = Paleta(6),
             &PaletaSiva = Paleta(7), &PaletaTamnozuta = Paleta(8), &PaletaBraon = Paleta(9),
             &PaletaPlava = Paleta(10), &PaletaCrna = Paleta(11), &PaletaPink = Paleta(12);
  PictureBox MoreImages, MuteWave, MusicOn;
  platform::Timer tmrRepeat;
  platform::Canvas Slika;
  platform::Label lblPlay;

  // ---- Window-object state. ----
  std::string putanja_app;  // program directory, always ending in a backslash
  std::int32_t hook_id = 0;
  std::int16_t kapljica_izabrana = 0;  // -1 fill tool, 0 pencil
  std::int32_t prethodni_x = 0, prethodni_y = 0;
  std::int16_t zvuk_ukljucen_forma = 0;
  std::int16_t muzika_svira = 0;
  std::array<std::int16_t, kPaletteCount> boje_faza3{};  // selected flag of each colour
  std::int16_t poslednja_osvetljena = 0;

  std::shared_ptr<platform::DirectX7> dx_muzika;
  std::shared_ptr<platform::DirectMusicLoader> loader;
  std::shared_ptr<platform::DirectMusicPerformance> perf;
  std::shared_ptr<platform::DirectMusicSegment> seg;
  std::shared_ptr<platform::DirectMusicSegmentState> seg_state;

  std::shared_ptr<platform::DirectX7> dx_ekran;
  std::shared_ptr<platform::DirectDraw7> dd;
  platform::DDSURFACEDESC2 ddsd{};
  std::shared_ptr<platform::DirectDrawSurface7> primarna_povrsina;

  // Loads a data file, named by its literal under the data path, into a control's picture.
  void load_picture(PictureBox& box, std::string_view literal);

  // ---- Program frame (frame/). ----
  void Form_Load();
  void Form_Unload(std::int16_t& cancel);
  void pauza();
  void zatvori_program();
  void provera_datoteka();
  void ugasi_glavni_ekran();
  void upali_glavni_ekran();
  void glavni_ekran_zamrznut();
  void glavni_ekran_odmrznut();
  void galerijski_ekran_zamrznut();
  void galerijski_ekran_odmrznut();
  void galerijski_ekran_ugasi();
  void Prikazi_More_Images();
  void MusicOn_Click();
  void MuteWave_Click();
  void tmrRepeat_Timer();
  void SetVolume(std::uint8_t& nVolume);
  void zaustavi_muziku();
  void prikazi_izlaz();
  void prikazi_o_programu();
  void Ne_Click();
  void Zatvori_Click();
  void Da_Click();
  void visit_site_Click();
  void Firma_Click();
  // The rule of the 21 key-down carriers (`Form_KeyDown`, `Slika_KeyDown`, ...).
  void shortcut_keys(KeyCode key, ShiftMask Shift);

  // ---- Colouring page (colouring/). ----
  void Slika_MouseDown(MouseButton Button, ShiftMask Shift, float X, float Y);
  void Slika_MouseMove(MouseButton Button, ShiftMask Shift, float X, float Y);
  void kapljica_Click();
  void olovka_Click();
  void gasi_boje_3_faze();
  void palette_click(int nn);  // the rule of the palette's clicks (`PaletaZelena_Click`, ...)
  void palette_hover(int nn);  // and of their hover handlers (`PaletaZelena_MouseMove`, ...)
  void brisanje_slika();
  void Rubber_Click();
  void Papir_Click();
  void stampanje_slike();
  void Form_MouseMove(MouseButton Button, ShiftMask Shift, float X, float Y);
  void MoreImages_MouseMove(MouseButton Button, ShiftMask Shift, float X, float Y);
  void MuteWave_MouseMove(MouseButton Button, ShiftMask Shift, float X, float Y);
  void MusicOn_MouseMove(MouseButton Button, ShiftMask Shift, float X, float Y);
  void Rubber_MouseMove(MouseButton Button, ShiftMask Shift, float X, float Y);
  void Papir_MouseMove(MouseButton Button, ShiftMask Shift, float X, float Y);

  // ---- Gallery (gallery/). ----
  void MoreImages_Click();
  void Back_Click();
  void Back_MouseMove(MouseButton Button, ShiftMask Shift, float X, float Y);
  void Galerijske_pozicije();
  void Prikaz_Prve_Galerije();
  void choose_drawing(int i);  // the rule of the thumbnails' clicks (`Galerija7_Click`, ...)

  // ---- Gallery thumbnail highlighting (gallery_highlight/). ----
  // The rule of the thumbnails' hover handlers (`Galerija7_MouseMove`, ...).
  void highlight_thumbnail(int i);
  void mouse_move_galerija1_bele();

 private:
  // Binds every event of the window and its controls to its handler (frame/event_wiring.cpp);
  // the panels bind theirs from their own tables.
  void wire_handlers();
  void wire_panel_handlers();
};
