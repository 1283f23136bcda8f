#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/canvas.h"
#include "platform/controls.h"
#include "platform/directx7.h"
#include "platform/form.h"

// The program's one window and everything on it. The window's design (the controls, their
// places and design pictures) is made by the constructor; each subsystem's folder defines
// the handlers and procedures it owns:
//   frame/              start-up and shutdown, data-file test, screens, music, panels, keys
//   colouring/          canvas tools, palette, wipe, printing, button pictures
//   gallery/            gallery screen, thumbnail grid, choosing a drawing
//   gallery_highlight/  the thumbnails' hover highlight
class FormaMain : public platform::Form {
 public:
  FormaMain();

  using PictureBox = platform::PictureBox;
  using Mouse = std::int16_t;

  // ---- Controls, in stacking order: each lies above those after it. ----
  PictureBox Papir, Rubber, olovka, kapljica, PrintPict, Back, Ne, Da, Izlaz, Zatvori, Firma,
      visit_site, Registered;
  // Galerija(1) to Galerija(25); stacked with 25 uppermost.
  PictureBox& Galerija(int i) { return *galerija_.at(static_cast<std::size_t>(i - 1)); }
  PictureBox PaletaPink, PaletaCrna, PaletaPlava, PaletaBraon, PaletaTamnozuta, PaletaSiva,
      PaletaLjubicasta, PaletaOranz, PaletaSvPlava, PaletaZuta, PaletaZelena, PaletaCrvena;
  // The palette buttons by colour number 01 to 12, left to right.
  PictureBox& Paleta(int nn) { return *paleta_.at(static_cast<std::size_t>(nn - 1)); }
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
  std::array<std::int16_t, 12> boje_faza3{};  // selected flag of colours 01 to 12
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
  void Izlaz_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Da_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Ne_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Registered_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void visit_site_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Firma_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Zatvori_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  // The shortcut keys, the one rule of the 21 key-down carriers.
  void shortcut_keys(Mouse KeyCode, Mouse Shift);
  void Form_KeyDown(Mouse KeyCode, Mouse Shift);
  void Slika_KeyDown(Mouse KeyCode, Mouse Shift);
  void MoreImages_KeyDown(Mouse KeyCode, Mouse Shift);
  void MuteWave_KeyDown(Mouse KeyCode, Mouse Shift);
  void MusicOn_KeyDown(Mouse KeyCode, Mouse Shift);
  void Rubber_KeyDown(Mouse KeyCode, Mouse Shift);
  void Papir_KeyDown(Mouse KeyCode, Mouse Shift);
  void olovka_KeyDown(Mouse KeyCode, Mouse Shift);
  void kapljica_KeyDown(Mouse KeyCode, Mouse Shift);
  void PaletaCrvena_KeyDown(Mouse KeyCode, Mouse Shift);
  void PaletaZelena_KeyDown(Mouse KeyCode, Mouse Shift);
  void PaletaZuta_KeyDown(Mouse KeyCode, Mouse Shift);
  void PaletaSvPlava_KeyDown(Mouse KeyCode, Mouse Shift);
  void PaletaOranz_KeyDown(Mouse KeyCode, Mouse Shift);
  void PaletaLjubicasta_KeyDown(Mouse KeyCode, Mouse Shift);
  void PaletaSiva_KeyDown(Mouse KeyCode, Mouse Shift);
  void PaletaTamnozuta_KeyDown(Mouse KeyCode, Mouse Shift);
  void PaletaBraon_KeyDown(Mouse KeyCode, Mouse Shift);
  void PaletaPlava_KeyDown(Mouse KeyCode, Mouse Shift);
  void PaletaCrna_KeyDown(Mouse KeyCode, Mouse Shift);
  void PaletaPink_KeyDown(Mouse KeyCode, Mouse Shift);

  // ---- Colouring page (colouring/). ----
  void Slika_MouseDown(Mouse Button, Mouse Shift, float X, float Y);
  void Slika_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void kapljica_Click();
  void olovka_Click();
  void gasi_boje_3_faze();
  void palette_click(int nn);  // the rule of the twelve palette clicks
  void palette_hover(int nn);  // the rule of the twelve palette hover handlers
  void PaletaCrvena_Click();
  void PaletaZelena_Click();
  void PaletaZuta_Click();
  void PaletaSvPlava_Click();
  void PaletaOranz_Click();
  void PaletaLjubicasta_Click();
  void PaletaSiva_Click();
  void PaletaTamnozuta_Click();
  void PaletaBraon_Click();
  void PaletaPlava_Click();
  void PaletaCrna_Click();
  void PaletaPink_Click();
  void PaletaCrvena_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void PaletaZelena_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void PaletaZuta_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void PaletaSvPlava_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void PaletaOranz_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void PaletaLjubicasta_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void PaletaSiva_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void PaletaTamnozuta_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void PaletaBraon_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void PaletaPlava_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void PaletaCrna_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void PaletaPink_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void brisanje_slika();
  void Rubber_Click();
  void Papir_Click();
  void stampanje_slike();
  void Form_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void MoreImages_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void MuteWave_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void MusicOn_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Rubber_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Papir_MouseMove(Mouse Button, Mouse Shift, float X, float Y);

  // ---- Gallery (gallery/). ----
  void MoreImages_Click();
  void Back_Click();
  void Back_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Galerijske_pozicije();
  void Prikaz_Prve_Galerije();
  void choose_drawing(int i);  // the rule of the 25 thumbnail clicks
  void Galerija1_Click();
  void Galerija2_Click();
  void Galerija3_Click();
  void Galerija4_Click();
  void Galerija5_Click();
  void Galerija6_Click();
  void Galerija7_Click();
  void Galerija8_Click();
  void Galerija9_Click();
  void Galerija10_Click();
  void Galerija11_Click();
  void Galerija12_Click();
  void Galerija13_Click();
  void Galerija14_Click();
  void Galerija15_Click();
  void Galerija16_Click();
  void Galerija17_Click();
  void Galerija18_Click();
  void Galerija19_Click();
  void Galerija20_Click();
  void Galerija21_Click();
  void Galerija22_Click();
  void Galerija23_Click();
  void Galerija24_Click();
  void Galerija25_Click();

  // ---- Gallery thumbnail highlighting (gallery_highlight/). ----
  void highlight_thumbnail(int i);  // the rule of the 25 thumbnail hover handlers
  void mouse_move_galerija1_bele();
  void Galerija1_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Galerija2_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Galerija3_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Galerija4_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Galerija5_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Galerija6_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Galerija7_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Galerija8_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Galerija9_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Galerija10_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Galerija11_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Galerija12_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Galerija13_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Galerija14_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Galerija15_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Galerija16_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Galerija17_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Galerija18_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Galerija19_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Galerija20_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Galerija21_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Galerija22_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Galerija23_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Galerija24_MouseMove(Mouse Button, Mouse Shift, float X, float Y);
  void Galerija25_MouseMove(Mouse Button, Mouse Shift, float X, float Y);

 private:
  // Each subsystem binds the events of its controls to its handlers.
  void wire_frame_handlers();
  void wire_panel_and_key_handlers();
  void wire_colouring_handlers();
  void wire_gallery_handlers();
  void wire_highlight_handlers();

  std::array<std::unique_ptr<PictureBox>, 25> galerija_;
  std::array<PictureBox*, 12> paleta_;
};
