// The palette: choosing a colour, the selected mark, the hover pictures and their guard.
#include "colouring_test.h"
#include "frame/module_state.h"

namespace colouring_test {
namespace {

using test_support::LoadLog;
using test_support::Shows;

std::string Picture(int phase, int nn) {
  return "BOJE" + std::to_string(phase) + (nn < 10 ? "_0" : "_") + std::to_string(nn) + ".JPG";
}

struct Colour {
  std::int32_t packed;
  const char* sound;
};
const Colour kColours[12] = {
    {0x000000FF, "CRVENA"},  {0x0067CC34, "ZELENA"},    {0x0000FFFF, "ZUTA"},
    {0x00FFCC00, "SVPLAVA"}, {0x000066FF, "ORANZ"},     {0x00FF33CC, "LJUBICASTA"},
    {0x00B2B2B2, "SIVA"},    {0x00FFFFFF, "TAMNOZUTA"}, {0x003367CC, "BRAON"},
    {0x00FF0000, "PLAVA"},   {0x001E1E1E, "CRNA"},      {0x00FF00FF, "PINK"},
};

class PaletteTest : public ColouringTest {
 protected:
  // A click whose loads are the click's own, not those of the move onto the button.
  void PressAndRelease(int nn) {
    const Point p = PalettePoint(nn);
    Move(p);
    loads.Clear();
    test_support::PressMouse(p.x, p.y);
    test_support::ReleaseMouse(p.x, p.y);
  }
  void ExpectRow(const std::vector<std::string>& shown) {
    for (int nn = 1; nn <= 12; ++nn) {
      EXPECT_TRUE(Shows(forma->Paleta(nn), shown[nn - 1]))
          << "button " << nn << " shows " << test_support::ShownName(forma->Paleta(nn));
    }
  }
  LoadLog loads;
};

TEST_F(PaletteTest, EveryClickSelectsItsColourAloneAndRefreshesTheRowInOrder) {
  EXPECT_EQ(trenutna_boja, 0x000000FF);
  EXPECT_EQ(forma->boje_faza3, (std::array<std::int16_t, 12>{}));
  SoundLog sounds;
  // Every colour once, then one chosen again, then one moved to from another.
  for (int nn : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 12, 9, 5}) {
    SCOPED_TRACE(nn);
    sounds.Clear();
    PressAndRelease(nn);
    EXPECT_EQ(trenutna_boja, kColours[nn - 1].packed);
    std::array<std::int16_t, 12> flags{};
    flags[static_cast<std::size_t>(nn - 1)] = 1;
    EXPECT_EQ(forma->boje_faza3, flags);
    std::vector<std::string> row;
    for (int k = 1; k <= 12; ++k) row.push_back(Picture(k == nn ? 3 : 1, k));
    EXPECT_EQ(loads.Names(), row);
    ExpectRow(row);
    ASSERT_EQ(sounds.Calls().size(), 1u);
    EXPECT_EQ(sounds.Calls()[0].path,
              putanja_programa + "\\SOUND\\" + kColours[nn - 1].sound + ".WAV");
    EXPECT_EQ(sounds.Calls()[0].flags, 1);
  }
}

TEST_F(PaletteTest, WithSoundsOffAClickIsSilentAndOtherwiseTheSame) {
  forma->zvuk_ukljucen_forma = 0;
  SoundLog sounds;
  PressAndRelease(7);
  EXPECT_TRUE(sounds.Calls().empty());
  EXPECT_EQ(trenutna_boja, 0x00B2B2B2);
  EXPECT_TRUE(Shows(forma->Paleta(7), "BOJE3_07.JPG"));
}

TEST_F(PaletteTest, HoverShowsTheButtonsOwnPictureAndRestsItsNeighbours) {
  struct Case {
    int over;
    std::vector<std::string> loads;
  };
  // No colour selected yet, then 06 selected.
  const Case unselected[] = {
      {1, {"BOJE2_01.JPG", "BOJE1_02.JPG"}},
      {5, {"BOJE2_05.JPG", "BOJE1_04.JPG", "BOJE1_06.JPG"}},
      {12, {"BOJE2_12.JPG", "BOJE1_11.JPG"}},
  };
  for (const Case& c : unselected) {
    loads.Clear();
    Move(PalettePoint(c.over));
    EXPECT_EQ(loads.Names(), c.loads) << "over " << c.over;
  }
  PressAndRelease(6);
  const Case selected[] = {
      {6, {"BOJE3_06.JPG", "BOJE1_05.JPG", "BOJE1_07.JPG"}},
      {5, {"BOJE2_05.JPG", "BOJE1_04.JPG", "BOJE3_06.JPG"}},
      {7, {"BOJE2_07.JPG", "BOJE3_06.JPG", "BOJE1_08.JPG"}},
  };
  for (const Case& c : selected) {
    loads.Clear();
    Move(PalettePoint(c.over));
    EXPECT_EQ(loads.Names(), c.loads) << "over " << c.over;
  }
  // Jumping from 07 straight to 03 leaves 07 with its hover picture; 06 stays selected.
  Move(PalettePoint(3));
  EXPECT_TRUE(Shows(forma->Paleta(7), "BOJE2_07.JPG"));
  EXPECT_TRUE(Shows(forma->Paleta(6), "BOJE3_06.JPG"));
  EXPECT_TRUE(Shows(forma->Paleta(3), "BOJE2_03.JPG"));
}

TEST_F(PaletteTest, AHoverHandlerActsOnlyAtTheExactDesignTop) {
  forma->PaletaOranz.SetTop(675.5f);
  Move(PalettePoint(5));
  EXPECT_TRUE(loads.Names().empty());
  EXPECT_TRUE(Shows(forma->Paleta(5), "BOJE1_05.JPG"));
  forma->PaletaOranz.SetTop(675.0f);
  Move(PalettePoint(5));
  EXPECT_TRUE(Shows(forma->Paleta(5), "BOJE2_05.JPG"));
}

TEST_F(PaletteTest, AMissingPictureStopsTheRowButTheColourIsChosen) {
  PressAndRelease(12);
  data->Remove("PICTURE/BOJE1_05.JPG");
  PressAndRelease(9);
  EXPECT_EQ(trenutna_boja, 0x003367CC);
  EXPECT_EQ(forma->boje_faza3[8], 1);
  EXPECT_EQ(forma->boje_faza3[11], 0);
  EXPECT_EQ(loads.Names(), (std::vector<std::string>{"BOJE1_01.JPG", "BOJE1_02.JPG", "BOJE1_03.JPG",
                                                     "BOJE1_04.JPG", "BOJE1_05.JPG"}));
  // From 05 on the buttons keep what they showed.
  EXPECT_TRUE(Shows(forma->Paleta(12), "BOJE3_12.JPG"));
  EXPECT_FALSE(Shows(forma->Paleta(9), "BOJE3_09.JPG"));
  // A hover that fails at its left neighbour leaves the right one as it was.
  Move(PalettePoint(7));
  loads.Clear();
  Move(PalettePoint(6));
  EXPECT_EQ(loads.Names(), (std::vector<std::string>{"BOJE2_06.JPG", "BOJE1_05.JPG"}));
  EXPECT_TRUE(Shows(forma->Paleta(7), "BOJE2_07.JPG"));
}

}  // namespace
}  // namespace colouring_test
