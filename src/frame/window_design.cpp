// The window's design: every control at its place and size, with its stacking, visibility,
// pointer, tab position and design picture, as it stands before any procedure runs.
#include <utility>

#include "frame/design_pictures.h"
#include "frame/forma_main.h"
#include "frame/module_state.h"
#include "frame/window_layout.h"
#include "platform/failure.h"

namespace {

using platform::Picture;

Picture Design(std::string_view name) {
  return platform::LoadPictureFromMemory(design_pictures::Get(name), "design:" + std::string(name));
}

// A control at its place in the layout; returned whole, so that it is made where it stands.
template <class Control>
Control Made(const ControlDesign& d) {
  return Control(std::string(d.name), d.left, d.top, d.width, d.height, d.tab);
}

std::array<std::unique_ptr<platform::PictureBox>, thumbnails::kCount> MadeThumbnails() {
  std::array<std::unique_ptr<platform::PictureBox>, thumbnails::kCount> boxes;
  for (int i = 1; i <= thumbnails::kCount; ++i) {
    const layout::ThumbnailDesign& t = layout::kThumbnails[static_cast<std::size_t>(i - 1)];
    boxes[static_cast<std::size_t>(i - 1)] = std::make_unique<platform::PictureBox>(
        "Galerija" + std::to_string(i), t.left, t.top, layout::kThumbnailWidth,
        layout::kThumbnailHeight, layout::ThumbnailTab(i));
  }
  return boxes;
}

std::array<std::unique_ptr<platform::PictureBox>, kPaletteCount> MadePalette() {
  std::array<std::unique_ptr<platform::PictureBox>, kPaletteCount> boxes;
  for (int nn = 1; nn <= kPaletteCount; ++nn) {
    const PaletteColour& c = palette_colour(nn);
    boxes[static_cast<std::size_t>(nn - 1)] = std::make_unique<platform::PictureBox>(
        std::string(c.control), c.left, layout::kPaletteTop, c.width, layout::kPaletteHeight,
        layout::PaletteTab(nn));
  }
  return boxes;
}

}  // namespace

FormaMain::FormaMain()
    : platform::Form("Colouring Book", 1023, 766),
      galerija_(MadeThumbnails()),
      paleta_(MadePalette()),
      Papir(Made<PictureBox>(layout::kPapir)),
      Rubber(Made<PictureBox>(layout::kRubber)),
      olovka(Made<PictureBox>(layout::kOlovka)),
      kapljica(Made<PictureBox>(layout::kKapljica)),
      PrintPict(Made<PictureBox>(layout::kPrintPict)),
      Back(Made<PictureBox>(layout::kBack)),
      Ne(Made<PictureBox>(layout::kNe)),
      Da(Made<PictureBox>(layout::kDa)),
      Izlaz(Made<PictureBox>(layout::kIzlaz)),
      Zatvori(Made<PictureBox>(layout::kZatvori)),
      Firma(Made<PictureBox>(layout::kFirma)),
      visit_site(Made<PictureBox>(layout::kVisitSite)),
      Registered(Made<PictureBox>(layout::kRegistered)),
      MoreImages(Made<PictureBox>(layout::kMoreImages)),
      MuteWave(Made<PictureBox>(layout::kMuteWave)),
      MusicOn(Made<PictureBox>(layout::kMusicOn)),
      tmrRepeat("tmrRepeat", 500),
      Slika(Made<platform::Canvas>(layout::kSlika)),
      lblPlay(Made<platform::Label>(layout::kLblPlay)) {
  // Stacking: each control lies above every control added after it.
  for (PictureBox* c : {&Papir, &Rubber, &olovka, &kapljica, &PrintPict, &Back, &Ne, &Da, &Izlaz,
                        &Zatvori, &Firma, &visit_site, &Registered}) {
    Add(*c);
  }
  for (int i = thumbnails::kCount; i >= 1; --i) Add(Galerija(i));
  for (int nn = kPaletteCount; nn >= 1; --nn) Add(Paleta(nn));
  for (PictureBox* c : {&MoreImages, &MuteWave, &MusicOn}) Add(*c);
  Add(tmrRepeat);
  Add(Slika);
  Add(lblPlay);

  // Visible at start: the controls of the main screen.
  for (PictureBox* c :
       {&PrintPict, &Back, &Ne, &Da, &Izlaz, &Zatvori, &Firma, &visit_site, &Registered}) {
    c->SetVisible(false);
  }
  for (int i = 1; i <= thumbnails::kCount; ++i) Galerija(i).SetVisible(false);
  lblPlay.SetVisible(false);

  const std::pair<PictureBox*, const ControlDesign*> designed[] = {
      {&Papir, &layout::kPapir},
      {&Rubber, &layout::kRubber},
      {&olovka, &layout::kOlovka},
      {&kapljica, &layout::kKapljica},
      {&PrintPict, &layout::kPrintPict},
      {&Back, &layout::kBack},
      {&Ne, &layout::kNe},
      {&Da, &layout::kDa},
      {&Izlaz, &layout::kIzlaz},
      {&Zatvori, &layout::kZatvori},
      {&Firma, &layout::kFirma},
      {&visit_site, &layout::kVisitSite},
      {&Registered, &layout::kRegistered},
      {&MoreImages, &layout::kMoreImages},
      {&MuteWave, &layout::kMuteWave},
      {&MusicOn, &layout::kMusicOn},
  };
  for (const auto& [box, design] : designed) box->SetPicture(Design(design->picture));
  for (int nn = 1; nn <= kPaletteCount; ++nn) {
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
  Slika.SetPicture(Design(layout::kSlika.picture));

  const Picture arrow = Design("ARROW.CUR");
  const Picture hand = Design("HAND.CUR");
  const Picture dropper = Design("DROPPER.ICO");
  SetMouseIcon(arrow, 0, 0);
  for (platform::Control* c : Controls()) c->SetMouseIcon(arrow, 0, 0);
  olovka.SetMouseIcon(hand, 12, 1);
  kapljica.SetMouseIcon(hand, 12, 1);
  for (int nn = 1; nn <= kPaletteCount; ++nn) Paleta(nn).SetMouseIcon(dropper);
  Slika.SetMouseIcon(Design("DROP.ICO"));
  Izlaz.SetMouseIcon(nullptr);
  lblPlay.SetMouseIcon(nullptr);

  wire_handlers();
}

void FormaMain::load_picture(PictureBox& box, std::string_view literal) {
  box.SetPicture(platform::LoadPicture(putanja_programa + std::string(literal)));
}
