// The window as it stands when start-up has ended: every control's design, and every variable's
// start value.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "frame/data_files.h"
#include "frame/design_pictures.h"
#include "frame/module_state.h"
#include "frame_fixture.h"
#include "platform/picture.h"
#include "platform/runtime.h"

namespace frame_test {
namespace {

enum class Pointer { kArrow, kHand, kDropper, kDrop, kStandard };

struct Design {
  const char* name;
  int left, top, width, height;
  bool visible;
  const char* picture;  // design picture; "" for none
  Pointer pointer;
  int tab;
};

// Top of the stack first. Thumbnails and palette are checked by their own rules below.
const std::vector<Design> kAbove = {
    {"Papir", 936, 412, 63, 61, true, "PAPIR1.JPG", Pointer::kArrow, 54},
    {"Rubber", 825, 412, 112, 61, true, "GUMICA1.JPG", Pointer::kArrow, 53},
    {"olovka", 804, 571, 62, 81, true, "OLOVKA2.JPG", Pointer::kHand, 52},
    {"kapljica", 871, 571, 58, 81, true, "KAPLJICA1.JPG", Pointer::kHand, 51},
    {"PrintPict", 312, 259, 400, 250, false, "PRINTING.JPG", Pointer::kArrow, 49},
    {"Back", 30, 0, 192, 40, false, "BACK1.JPG", Pointer::kArrow, 48},
    {"Ne", 568, 409, 85, 50, false, "NO1.JPG", Pointer::kArrow, 47},
    {"Da", 368, 409, 107, 50, false, "YES1.JPG", Pointer::kArrow, 46},
    {"Izlaz", 312, 259, 400, 250, false, "CTRLX.JPG", Pointer::kStandard, 45},
    {"Zatvori", 632, 269, 73, 27, false, "CLOSE1.JPG", Pointer::kArrow, 44},
    {"Firma", 459, 462, 110, 35, false, "CTRLR5821.JPG", Pointer::kArrow, 43},
    {"visit_site", 346, 395, 330, 62, false, "VISIT1.JPG", Pointer::kArrow, 42},
    {"Registered", 312, 259, 400, 250, false, "CTRL-R.JPG", Pointer::kArrow, 41},
};
const std::vector<Design> kBelow = {
    {"MoreImages", 832, 241, 160, 169, true, "MOREIMAGES1.JPG", Pointer::kArrow, 3},
    {"MuteWave", 835, 485, 78, 79, true, "ZVUCNIK1.JPG", Pointer::kArrow, 2},
    {"MusicOn", 919, 485, 78, 78, true, "MUSICOFF2.JPG", Pointer::kArrow, 1},
    {"Slika", 30, 29, 750, 600, true, "START.GIF", Pointer::kDrop, 0},
};

struct PaletteButton {
  const char* name;
  int left, width;
};
const PaletteButton kPalette[12] = {
    {"PaletaCrvena", 8, 85},    {"PaletaZelena", 93, 84},     {"PaletaZuta", 176, 84},
    {"PaletaSvPlava", 261, 84}, {"PaletaOranz", 345, 83},     {"PaletaLjubicasta", 428, 85},
    {"PaletaSiva", 513, 83},    {"PaletaTamnozuta", 596, 84}, {"PaletaBraon", 680, 84},
    {"PaletaPlava", 764, 84},   {"PaletaCrna", 848, 84},      {"PaletaPink", 932, 84},
};

struct Place {
  int left, top;
};
const Place kThumbnailPlaces[25] = {
    {800, 0},    {808, 8},    {816, 16},   {824, 24}, {832, 32}, {1000, 344}, {1008, 296},
    {1000, 168}, {1000, 440}, {1008, 448}, {192, 0},  {176, 8},  {168, 24},   {160, 40},
    {144, 64},   {496, 0},    {472, 8},    {456, 24}, {440, 32}, {432, 48},   {8, 200},
    {24, 208},   {40, 216},   {64, 232},   {96, 248},
};

// No literal put before a temporary string: GCC 12 warns falsely of it (-Wrestrict).
std::string Two(int n) {
  std::string digits = std::to_string(n);
  if (n < 10) digits.insert(digits.begin(), '0');
  return digits;
}

std::int32_t DataFileSize(const std::string& name) {
  for (const auto& f : data_files::kPictureSizes) {
    if (f.literal == "\\PICTURE\\" + name) return f.size;
  }
  return -1;
}

class StartStateTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    StartFully();
  }

  void ExpectDesign(const platform::PictureBox& box, const Design& d) {
    SCOPED_TRACE(d.name);
    EXPECT_EQ(box.Name(), d.name);
    EXPECT_EQ(box.Left(), d.left);
    EXPECT_EQ(box.Top(), d.top);
    EXPECT_EQ(box.Width(), d.width);
    EXPECT_EQ(box.Height(), d.height);
    EXPECT_EQ(box.Visible(), d.visible);
    EXPECT_TRUE(box.Enabled());
    EXPECT_EQ(box.TabIndex(), d.tab);
    EXPECT_EQ(test_support::ShownName(box), d.picture);
    EXPECT_EQ(box.GetPicture()->source, std::string("design:") + d.picture);
    // The design picture is the data file of the same size, where there is one.
    if (std::string(d.picture) != "START.GIF") {
      EXPECT_EQ(static_cast<std::int32_t>(design_pictures::Get(d.picture).size()),
                DataFileSize(d.picture));
    }
    ExpectPointer(box, d.pointer);
  }

  static void ExpectPointer(const platform::Control& c, Pointer p) {
    SCOPED_TRACE(c.Name());
    const platform::Picture& icon = c.MouseIcon();
    if (p == Pointer::kStandard) {
      EXPECT_EQ(icon, nullptr);
      return;
    }
    ASSERT_NE(icon, nullptr);
    switch (p) {
      case Pointer::kArrow:
        EXPECT_EQ(icon->source, "design:ARROW.CUR");
        EXPECT_EQ(icon->width, 32);
        EXPECT_EQ(c.HotX(), 0);
        EXPECT_EQ(c.HotY(), 0);
        break;
      case Pointer::kHand:
        EXPECT_EQ(icon->source, "design:HAND.CUR");
        EXPECT_EQ(icon->width, 32);
        EXPECT_EQ(c.HotX(), 12);
        EXPECT_EQ(c.HotY(), 1);
        break;
      case Pointer::kDropper:
        EXPECT_EQ(icon->source, "design:DROPPER.ICO");
        EXPECT_EQ(icon->width, 64);
        EXPECT_EQ(c.HotX(), 32);
        EXPECT_EQ(c.HotY(), 32);
        break;
      case Pointer::kDrop:
        EXPECT_EQ(icon->source, "design:DROP.ICO");
        EXPECT_EQ(icon->width, 32);
        EXPECT_EQ(c.HotX(), 16);
        EXPECT_EQ(c.HotY(), 16);
        break;
      case Pointer::kStandard:
        break;
    }
  }
};

TEST_F(StartStateTest, EveryControlIsAtItsDesignPlaceInStackingOrder) {
  const std::vector<platform::Control*>& stack = forma->Controls();
  ASSERT_EQ(stack.size(), 54u + 1u);  // 54 picture boxes and the label

  std::size_t at = 0;
  for (const Design& d : kAbove) {
    ExpectDesign(dynamic_cast<platform::PictureBox&>(*stack[at++]), d);
  }
  for (int i = 25; i >= 1; --i) {
    const platform::Control& c = *stack[at++];
    SCOPED_TRACE("Galerija" + std::to_string(i));
    EXPECT_EQ(&c, &forma->Galerija(i));
    EXPECT_EQ(c.Name(), "Galerija" + std::to_string(i));
    EXPECT_EQ(c.Left(), kThumbnailPlaces[i - 1].left);
    EXPECT_EQ(c.Top(), kThumbnailPlaces[i - 1].top);
    EXPECT_EQ(c.Width(), 131);
    EXPECT_EQ(c.Height(), 122);
    EXPECT_FALSE(c.Visible());
    EXPECT_TRUE(c.Enabled());
    EXPECT_EQ(c.TabIndex(), 15 + i);
    EXPECT_EQ(forma->Galerija(i).GetPicture(), nullptr);
    ExpectPointer(c, Pointer::kArrow);
  }
  for (int nn = 12; nn >= 1; --nn) {
    const PaletteButton& p = kPalette[nn - 1];
    const std::string picture = "BOJE1_" + Two(nn) + ".JPG";
    EXPECT_EQ(stack[at], &forma->Paleta(nn));
    ExpectDesign(forma->Paleta(nn), Design{p.name, p.left, 675, p.width, 85, true, picture.c_str(),
                                           Pointer::kDropper, 3 + nn});
    ++at;
  }
  for (const Design& d : kBelow) {
    ExpectDesign(dynamic_cast<platform::PictureBox&>(*stack[at++]), d);
  }
  const platform::Control& label = *stack[at];
  EXPECT_EQ(&label, &forma->lblPlay);
  EXPECT_EQ(label.Left(), 816);
  EXPECT_EQ(label.Top(), 168);
  EXPECT_EQ(label.Width(), 9);
  EXPECT_EQ(label.Height(), 17);
  EXPECT_FALSE(label.Visible());
  EXPECT_EQ(label.TabIndex(), 50);
  EXPECT_FALSE(label.TakesFocus());
  EXPECT_TRUE(forma->lblPlay.Caption.empty());
  ExpectPointer(label, Pointer::kStandard);

  EXPECT_EQ(forma->tmrRepeat.Interval(), 500);
  EXPECT_FALSE(forma->tmrRepeat.Enabled());
}

TEST_F(StartStateTest, WindowShowsTheMainScreenWithTheStartDrawing) {
  EXPECT_TRUE(forma->Visible());
  EXPECT_EQ(forma->ClientWidth(), 1023);
  EXPECT_EQ(forma->ClientHeight(), 766);
  EXPECT_EQ(forma->ActiveControl(), &forma->Slika);
  ASSERT_NE(forma->GetPicture(), nullptr);
  EXPECT_EQ(forma->GetPicture()->source, "design:GLAVNA.JPG");
  EXPECT_EQ(design_pictures::Get("GLAVNA.JPG").size(), 191156u);

  // The start drawing: a two-colour GIF89a of 750 x 600 that no data file matches in size.
  const auto gif = design_pictures::Get("START.GIF");
  ASSERT_EQ(gif.size(), 8558u);
  EXPECT_EQ(std::string(gif.begin(), gif.begin() + 6), "GIF89a");
  EXPECT_EQ(gif[6] | gif[7] << 8, 750);
  EXPECT_EQ(gif[8] | gif[9] << 8, 600);
  EXPECT_EQ(gif[10] & 0x87, 0x80);  // a global colour table of two entries
  for (const auto& f : data_files::kPictureSizes) EXPECT_NE(f.size, 8558) << f.literal;

  // What the screen shows of the canvas is that drawing, black lines on white.
  const platform::Picture start = platform::LoadPictureFromMemory(gif, "start");
  int black = 0, other = 0, mismatched = 0;
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 750; ++x) {
      const std::uint32_t shown = Pixel(30 + x, 29 + y) | 0xFF000000u;
      const std::uint32_t drawn =
          start->pixels[static_cast<std::size_t>(y) * 750 + x] | 0xFF000000u;
      if (shown != drawn) ++mismatched;
      if (shown == 0xFF000000u) ++black;
      if (shown != 0xFF000000u && shown != 0xFFFFFFFFu) ++other;
    }
  }
  EXPECT_EQ(mismatched, 0);
  EXPECT_EQ(other, 0);
  EXPECT_GT(black, 1000) << "a line drawing, not a blank page";

  // Column 260 lies between two palette buttons: the background picture shows there.
  const platform::Picture background = forma->GetPicture();
  EXPECT_EQ(Pixel(260, 700) | 0xFF000000u, background->pixels[700 * 1024 + 260] | 0xFF000000u);

  EXPECT_EQ(forma->Slika.DrawWidth(), 3);
  EXPECT_EQ(forma->Slika.ForeColor(), 0u);
}

TEST_F(StartStateTest, VariablesHoldTheirStartValues) {
  const std::string dir = data->Path().string();
  EXPECT_NE(forma->hook_id, 0);
  EXPECT_EQ(forma->putanja_app, dir + "\\");
  EXPECT_EQ(putanja_izvorna, dir);
  EXPECT_EQ(putanja_programa, platform::UCase(dir));
  EXPECT_EQ(forma->kapljica_izabrana, -1);
  EXPECT_EQ(trenutna_boja, 255);
  EXPECT_EQ(muzika_iskljucena, 1);
  EXPECT_EQ(zvuk_ukljucen, 1);
  EXPECT_EQ(forma->zvuk_ukljucen_forma, 1);
  EXPECT_EQ(galerija_prikazana, 0);
  EXPECT_EQ(trenutna_slika, 1);
  for (std::int16_t selected : forma->boje_faza3) EXPECT_EQ(selected, 0);

  // Untouched by start-up.
  EXPECT_EQ(forma->muzika_svira, 0);
  EXPECT_EQ(forma->poslednja_osvetljena, 0);
  EXPECT_EQ(forma->prethodni_x, 0);
  EXPECT_EQ(forma->prethodni_y, 0);
  EXPECT_EQ(dogadjaj_tastature.vkCode, 0u);
  EXPECT_EQ(forma->dx_muzika, nullptr);
  EXPECT_EQ(forma->loader, nullptr);
  EXPECT_EQ(forma->perf, nullptr);
  EXPECT_EQ(forma->seg, nullptr);
  EXPECT_EQ(forma->seg_state, nullptr);

  // The display taken over.
  EXPECT_NE(forma->dx_ekran, nullptr);
  EXPECT_NE(forma->dd, nullptr);
  EXPECT_EQ(forma->ddsd.lFlags, 1);
  EXPECT_EQ(forma->ddsd.ddsCaps.lCaps, 0x200);
  EXPECT_NE(forma->primarna_povrsina, nullptr);
  EXPECT_NE(SDL_GetWindowFlags(forma->hWnd()) & SDL_WINDOW_FULLSCREEN, 0u);

  EXPECT_EQ(fs::current_path(), fs::canonical(data->Path()));
}

}  // namespace
}  // namespace frame_test
