// The main screen's hover pictures and the resets over the bare form and the canvas.
#include "colouring_test.h"
#include "frame/module_state.h"

namespace colouring_test {
namespace {

using test_support::LoadLog;
using test_support::Shows;
using Names = std::vector<std::string>;

class ButtonPicturesTest : public ColouringTest {
 protected:
  Names LoadsOfMove(Point p) {
    LoadLog log;
    Move(p);
    return log.Names();
  }
};

Names FormResetLoads(int selected) {
  Names n{"MOREIMAGES1.JPG"};
  for (int nn = 1; nn <= 12; ++nn) {
    n.push_back(std::string(nn == selected ? "BOJE3_" : "BOJE1_") + (nn < 10 ? "0" : "") +
                std::to_string(nn) + ".JPG");
  }
  for (const char* s :
       {"GUMICA1.JPG", "PAPIR1.JPG", "BACK1.JPG", "ZVUCNIK1.JPG", "MUSICOFF2.JPG"}) {
    n.push_back(s);
  }
  return n;
}

TEST_F(ButtonPicturesTest, HoverHandlersLoadTheirPicturesInOrder) {
  struct Case {
    const char* name;
    Point over;
    std::int16_t sound, music_off;
    Names loads;
  };
  const Case cases[] = {
      {"gallery button",
       kMoreImages,
       1,
       1,
       {"MOREIMAGES2.JPG", "GUMICA1.JPG", "PAPIR1.JPG", "ZVUCNIK1.JPG"}},
      {"gallery button, sound off",
       kMoreImages,
       0,
       1,
       {"MOREIMAGES2.JPG", "GUMICA1.JPG", "PAPIR1.JPG", "SOUNDOFF2.JPG"}},
      {"sound on", kMuteWave, 1, 1, {"ZVUCNIK2.JPG", "GUMICA1.JPG", "PAPIR1.JPG"}},
      {"sound off", kMuteWave, 0, 1, {"SOUNDOFF1.JPG", "GUMICA1.JPG", "PAPIR1.JPG"}},
      {"sound flag out of range", kMuteWave, 2, 1, {}},
      {"gallery button, sound flag out of range",
       kMoreImages,
       2,
       1,
       {"MOREIMAGES2.JPG", "GUMICA1.JPG", "PAPIR1.JPG"}},
      {"music off", kMusicOn, 1, 1, {"MUSICOFF1.JPG", "GUMICA1.JPG", "PAPIR1.JPG", "ZVUCNIK1.JPG"}},
      {"music on", kMusicOn, 0, 0, {"MUZIKA2.JPG", "GUMICA1.JPG", "PAPIR1.JPG", "SOUNDOFF2.JPG"}},
      {"eraser", kRubber, 1, 1, {"GUMICA2.JPG", "PAPIR1.JPG"}},
      {"blank paper", kPapir, 1, 1, {"PAPIR2.JPG", "GUMICA1.JPG"}},
      {"canvas",
       OnCanvas(300, 300),
       1,
       1,
       {"MOREIMAGES1.JPG", "GUMICA1.JPG", "PAPIR1.JPG", "ZVUCNIK1.JPG", "MUSICOFF2.JPG"}},
      {"canvas, switches flipped",
       OnCanvas(300, 300),
       0,
       0,
       {"MOREIMAGES1.JPG", "GUMICA1.JPG", "PAPIR1.JPG", "SOUNDOFF2.JPG", "MUZIKA1.JPG"}},
      {"bare form", kBareForm, 1, 1, FormResetLoads(0)},
  };
  for (const Case& c : cases) {
    zvuk_ukljucen = c.sound;
    muzika_iskljucena = c.music_off;
    EXPECT_EQ(LoadsOfMove(c.over), c.loads) << c.name;
  }
}

TEST_F(ButtonPicturesTest, HoverGuardsCompareTheTopEdgeExactly) {
  struct Case {
    const char* name;
    platform::PictureBox* box;
    Point over;
  };
  const Case cases[] = {
      {"gallery button", &forma->MoreImages, kMoreImages},
      {"sound switch", &forma->MuteWave, kMuteWave},
      {"music switch", &forma->MusicOn, kMusicOn},
      {"eraser", &forma->Rubber, kRubber},
      {"blank paper", &forma->Papir, kPapir},
      {"canvas", &forma->Slika, OnCanvas(300, 300)},
  };
  // Both tests of each switch, with the flags one way and then the other.
  for (std::int16_t flag : {1, 0}) {
    zvuk_ukljucen = flag;
    muzika_iskljucena = flag;
    for (const Case& c : cases) {
      const float top = c.box->Top();
      c.box->SetTop(top + 0.5f);
      EXPECT_TRUE(LoadsOfMove(c.over).empty()) << c.name << ", flags " << flag;
      c.box->SetTop(top);
      EXPECT_FALSE(LoadsOfMove(c.over).empty()) << c.name << ", flags " << flag;
    }
  }
}

TEST_F(ButtonPicturesTest, TheBareFormRestsEveryButtonAndKeepsTheSelection) {
  Move(kRubber);
  Move(PalettePoint(7));
  test_support::ClickMouse(PalettePoint(3).x, PalettePoint(3).y);
  Move(kMusicOn);
  ASSERT_TRUE(Shows(forma->MusicOn, "MUSICOFF1.JPG"));
  ASSERT_TRUE(Shows(forma->Paleta(3), "BOJE3_03.JPG"));

  EXPECT_EQ(LoadsOfMove(kBareForm), FormResetLoads(3));
  EXPECT_TRUE(Shows(forma->MusicOn, "MUSICOFF2.JPG"));
  EXPECT_TRUE(Shows(forma->Back, "BACK1.JPG"));
  // The column between 03 and 04 belongs to no button.
  EXPECT_EQ(LoadsOfMove({260, 700}), FormResetLoads(3));
  EXPECT_TRUE(Shows(forma->olovka, "OLOVKA2.JPG"));
}

TEST_F(ButtonPicturesTest, AMissingPaletteRestingPictureStopsTheFormResetAfterButton04) {
  Move(kRubber);
  Move(PalettePoint(7));
  Move(kMuteWave);
  data->Remove("PICTURE/BOJE1_05.JPG");
  const Names all = FormResetLoads(0);
  EXPECT_EQ(LoadsOfMove(kBareForm), Names(all.begin(), all.begin() + 6));
  EXPECT_TRUE(Shows(forma->Paleta(4), "BOJE1_04.JPG"));
  EXPECT_TRUE(Shows(forma->Paleta(7), "BOJE2_07.JPG"));
  EXPECT_TRUE(Shows(forma->MuteWave, "ZVUCNIK2.JPG"));
  // The next movement starts over from the first step.
  EXPECT_EQ(LoadsOfMove({kBareForm.x, kBareForm.y + 5}).size(), 6u);
}

TEST_F(ButtonPicturesTest, AHoverHandlerStopsAtItsFirstMissingPicture) {
  Move(kPapir);
  data->Remove("PICTURE/GUMICA1.JPG");
  EXPECT_EQ(LoadsOfMove(kMoreImages), (Names{"MOREIMAGES2.JPG", "GUMICA1.JPG"}));
  EXPECT_TRUE(Shows(forma->MoreImages, "MOREIMAGES2.JPG"));
  EXPECT_TRUE(Shows(forma->Papir, "PAPIR2.JPG"));
  // Over the canvas the reset stops at the same file and the switches keep their pictures.
  Move(kMuteWave);
  EXPECT_EQ(LoadsOfMove(OnCanvas(300, 300)), (Names{"MOREIMAGES1.JPG", "GUMICA1.JPG"}));
  EXPECT_TRUE(Shows(forma->MuteWave, "ZVUCNIK2.JPG"));
}

TEST_F(ButtonPicturesTest, OnTheGalleryScreenTheLastHighlightedThumbnailRestsToo) {
  forma->poslednja_osvetljena = 3;
  Names main_screen = LoadsOfMove(kBareForm);
  EXPECT_EQ(main_screen, FormResetLoads(0));

  galerija_prikazana = 1;
  Names expected = FormResetLoads(0);
  expected.insert(expected.begin() + 16, "GALERIJA1BELE_05.JPG");
  EXPECT_EQ(LoadsOfMove({kBareForm.x, kBareForm.y + 5}), expected);
  EXPECT_TRUE(Shows(forma->Galerija(3), "GALERIJA1BELE_05.JPG"));

  // A thumbnail picture that cannot be loaded ends only the thumbnail reset.
  data->Remove("PICTURE/GALERIJA1BELE_05.JPG");
  zvuk_ukljucen = 0;
  const Names loads = LoadsOfMove(kBareForm);
  EXPECT_EQ(loads.back(), "MUSICOFF2.JPG");
  EXPECT_TRUE(Shows(forma->MuteWave, "SOUNDOFF2.JPG"));
}

}  // namespace
}  // namespace colouring_test
