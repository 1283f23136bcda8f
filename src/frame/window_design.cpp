// The window's design: every control at its place and size, with its stacking, visibility,
// pointer, tab position and design picture, as it stands before any procedure runs.
#include <utility>

#include "frame/design_pictures.h"
#include "frame/forma_main.h"
#include "frame/module_state.h"
#include "platform/failure.h"

namespace {

using platform::Picture;

Picture Design(std::string_view name) {
  return platform::LoadPictureFromMemory(design_pictures::Get(name),
                                         "design:" + std::string(name));
}

struct ThumbnailPlace {
  float left, top;
};
// Where the thumbnails wait, hidden, until the gallery first lays them out.
constexpr std::array<ThumbnailPlace, 25> kThumbnailDesignPlaces = {{
    {800, 0},   {808, 8},    {816, 16},   {824, 24},   {832, 32},
    {1000, 344}, {1008, 296}, {1000, 168}, {1000, 440}, {1008, 448},
    {192, 0},   {176, 8},    {168, 24},   {160, 40},   {144, 64},
    {496, 0},   {472, 8},    {456, 24},   {440, 32},   {432, 48},
    {8, 200},   {24, 208},   {40, 216},   {64, 232},   {96, 248},
}};

constexpr int kPaletteTop = 675;
constexpr int kPaletteHeight = 85;

}  // namespace

FormaMain::FormaMain()
    : platform::Form("Colouring Book", 1023, 766),
      Papir("Papir", 936, 412, 63, 61, 54),
      Rubber("Rubber", 825, 412, 112, 61, 53),
      olovka("olovka", 804, 571, 62, 81, 52),
      kapljica("kapljica", 871, 571, 58, 81, 51),
      PrintPict("PrintPict", 312, 259, 400, 250, 49),
      Back("Back", 30, 0, 192, 40, 48),
      Ne("Ne", 568, 409, 85, 50, 47),
      Da("Da", 368, 409, 107, 50, 46),
      Izlaz("Izlaz", 312, 259, 400, 250, 45),
      Zatvori("Zatvori", 632, 269, 73, 27, 44),
      Firma("Firma", 459, 462, 110, 35, 43),
      visit_site("visit_site", 346, 395, 330, 62, 42),
      Registered("Registered", 312, 259, 400, 250, 41),
      PaletaPink("PaletaPink", 932, kPaletteTop, 84, kPaletteHeight, 15),
      PaletaCrna("PaletaCrna", 848, kPaletteTop, 84, kPaletteHeight, 14),
      PaletaPlava("PaletaPlava", 764, kPaletteTop, 84, kPaletteHeight, 13),
      PaletaBraon("PaletaBraon", 680, kPaletteTop, 84, kPaletteHeight, 12),
      PaletaTamnozuta("PaletaTamnozuta", 596, kPaletteTop, 84, kPaletteHeight, 11),
      PaletaSiva("PaletaSiva", 513, kPaletteTop, 83, kPaletteHeight, 10),
      PaletaLjubicasta("PaletaLjubicasta", 428, kPaletteTop, 85, kPaletteHeight, 9),
      PaletaOranz("PaletaOranz", 345, kPaletteTop, 83, kPaletteHeight, 8),
      PaletaSvPlava("PaletaSvPlava", 261, kPaletteTop, 84, kPaletteHeight, 7),
      PaletaZuta("PaletaZuta", 176, kPaletteTop, 84, kPaletteHeight, 6),
      PaletaZelena("PaletaZelena", 93, kPaletteTop, 84, kPaletteHeight, 5),
      PaletaCrvena("PaletaCrvena", 8, kPaletteTop, 85, kPaletteHeight, 4),
      MoreImages("MoreImages", 832, 241, 160, 169, 3),
      MuteWave("MuteWave", 835, 485, 78, 79, 2),
      MusicOn("MusicOn", 919, 485, 78, 78, 1),
      tmrRepeat("tmrRepeat", 500),
      Slika("Slika", 30, 29, 750, 600, 0),
      lblPlay("lblPlay", 816, 168, 9, 17, 50),
      paleta_{&PaletaCrvena, &PaletaZelena, &PaletaZuta,       &PaletaSvPlava,
              &PaletaOranz,  &PaletaLjubicasta, &PaletaSiva, &PaletaTamnozuta,
              &PaletaBraon,  &PaletaPlava,  &PaletaCrna,       &PaletaPink} {
  for (int i = 1; i <= 25; ++i) {
    const ThumbnailPlace& p = kThumbnailDesignPlaces[static_cast<std::size_t>(i - 1)];
    galerija_[static_cast<std::size_t>(i - 1)] = std::make_unique<PictureBox>(
        "Galerija" + std::to_string(i), p.left, p.top, 131, 122, 15 + i);
  }

  // Stacking: each control lies above every control added after it.
  for (PictureBox* c : {&Papir, &Rubber, &olovka, &kapljica, &PrintPict, &Back, &Ne, &Da, &Izlaz,
                        &Zatvori, &Firma, &visit_site, &Registered}) {
    Add(*c);
  }
  for (int i = 25; i >= 1; --i) Add(Galerija(i));
  for (int nn = 12; nn >= 1; --nn) Add(Paleta(nn));
  for (PictureBox* c : {&MoreImages, &MuteWave, &MusicOn}) Add(*c);
  Add(tmrRepeat);
  Add(Slika);
  Add(lblPlay);

  // Visible at start: the 20 controls of the main screen.
  for (PictureBox* c : {&PrintPict, &Back, &Ne, &Da, &Izlaz, &Zatvori, &Firma, &visit_site,
                        &Registered}) {
    c->SetVisible(false);
  }
  for (int i = 1; i <= 25; ++i) Galerija(i).SetVisible(false);
  lblPlay.SetVisible(false);

  const std::pair<PictureBox*, std::string_view> design_pictures[] = {
      {&Papir, "PAPIR1.JPG"},          {&Rubber, "GUMICA1.JPG"},     {&olovka, "OLOVKA2.JPG"},
      {&kapljica, "KAPLJICA1.JPG"},    {&PrintPict, "PRINTING.JPG"}, {&Back, "BACK1.JPG"},
      {&Ne, "NO1.JPG"},                {&Da, "YES1.JPG"},            {&Izlaz, "CTRLX.JPG"},
      {&Zatvori, "CLOSE1.JPG"},        {&Firma, "CTRLR5821.JPG"},    {&visit_site, "VISIT1.JPG"},
      {&Registered, "CTRL-R.JPG"},     {&MoreImages, "MOREIMAGES1.JPG"},
      {&MuteWave, "ZVUCNIK1.JPG"},     {&MusicOn, "MUSICOFF2.JPG"},
  };
  for (const auto& [box, name] : design_pictures) box->SetPicture(Design(name));
  for (int nn = 1; nn <= 12; ++nn) {
    const std::string name = (nn < 10 ? "BOJE1_0" : "BOJE1_") + std::to_string(nn) + ".JPG";
    Paleta(nn).SetPicture(Design(name));
  }
  SetPicture(Design("GLAVNA.JPG"));
  SetIcon(Design("WINDOW.ICO"));

  // The canvas: the start drawing, a 3 px solid pen, buffered drawing so that colouring
  // survives a visit to the gallery.
  Slika.SetBackColor(0xFFFFFFFF);
  Slika.SetForeColor(0x000000);
  Slika.SetDrawWidth(3);
  Slika.SetAutoRedraw(true);
  Slika.SetPicture(Design("START.GIF"));

  const Picture arrow = Design("ARROW.CUR");
  const Picture hand = Design("HAND.CUR");
  const Picture dropper = Design("DROPPER.ICO");
  SetMouseIcon(arrow, 0, 0);
  for (platform::Control* c : Controls()) c->SetMouseIcon(arrow, 0, 0);
  olovka.SetMouseIcon(hand, 12, 1);
  kapljica.SetMouseIcon(hand, 12, 1);
  for (int nn = 1; nn <= 12; ++nn) Paleta(nn).SetMouseIcon(dropper);
  Slika.SetMouseIcon(Design("DROP.ICO"));
  Izlaz.SetMouseIcon(nullptr);
  lblPlay.SetMouseIcon(nullptr);

  OnLoad = [this] { Form_Load(); };
  OnUnload = [this](std::int16_t& cancel) { Form_Unload(cancel); };
  wire_frame_handlers();
  wire_panel_and_key_handlers();
  wire_colouring_handlers();
  wire_gallery_handlers();
  wire_highlight_handlers();
}

void FormaMain::load_picture(PictureBox& box, std::string_view literal) {
  box.SetPicture(platform::LoadPicture(putanja_programa + std::string(literal)));
}
