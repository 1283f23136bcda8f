// Choosing a drawing in the gallery puts it, clean, on the canvas and returns to the main screen.
#include "gallery_fixture.h"

namespace gallery_test {
namespace {

using test_support::LoadLog;
using test_support::Shows;

TEST_F(GalleryTest, ChoiceOfSevenPutsItCleanOnTheCanvasAndTheEraserBringsItBack) {
  ColourSomething();
  const auto colour = trenutna_boja;
  OpenGallery();
  ClickThumbnail(7);

  EXPECT_TRUE(Shows(forma->Slika, "07.GIF")) << test_support::ShownName(forma->Slika);
  EXPECT_EQ(CanvasPixels(), FilePixels("PICTURE/07.GIF"));
  EXPECT_EQ(trenutna_slika, 7);
  EXPECT_EQ(galerija_prikazana, 0);
  EXPECT_TRUE(MainScreenShown());
  EXPECT_FALSE(forma->Back.Visible());
  EXPECT_EQ(VisibleThumbnails(), 0);
  EXPECT_EQ(Background(), "GLAVNA.JPG");
  EXPECT_EQ(trenutna_boja, colour);

  // Colour the new drawing, then the eraser must bring back drawing 7, not the first one.
  const auto [x, y] = ColourSomething();
  ASSERT_NE(CanvasColour(x, y), 0xFFFFFFu);
  LoadLog log;
  test_support::ClickMouse(kEraserX, kEraserY);
  EXPECT_NE(std::find(log.Names().begin(), log.Names().end(), "07.GIF"), log.Names().end());
  EXPECT_EQ(CanvasPixels(), FilePixels("PICTURE/07.GIF"));
}

TEST_F(GalleryTest, EachThumbnailChoosesItsOwnNumberNotItsPictureNumber) {
  for (int i : {1, 16, 25}) {
    OpenGallery();
    OverThumbnail(i);
    LoadLog log;
    ClickInPlace(LeftOf(i) + 65, TopOf(i) + 61);
    EXPECT_EQ(log.Names(), (std::vector<std::string>{Number(i) + ".GIF", "GLAVNA.JPG"}));
    EXPECT_TRUE(Shows(forma->Slika, Number(i) + ".GIF")) << "thumbnail " << i;
    EXPECT_EQ(trenutna_slika, i);
    EXPECT_EQ(galerija_prikazana, 0);
  }
}

TEST_F(GalleryTest, ChoosingTheDrawingOnTheCanvasAgainDiscardsItsColouring) {
  OpenGallery();
  ClickThumbnail(4);
  ColourSomething();
  ASSERT_NE(CanvasPixels(), FilePixels("PICTURE/04.GIF"));
  OpenGallery();
  ClickThumbnail(4);
  EXPECT_EQ(CanvasPixels(), FilePixels("PICTURE/04.GIF"));
}

TEST_F(GalleryTest, UnreadableDrawingKeepsTheGalleryAndTheCanvas) {
  ColourSomething();
  const auto before = CanvasPixels();
  data->Overwrite("PICTURE/09.GIF", 'x');
  OpenGallery();
  ClickThumbnail(9);

  EXPECT_EQ(galerija_prikazana, 1);
  EXPECT_EQ(trenutna_slika, 1);
  EXPECT_EQ(CanvasPixels(), before);
  EXPECT_EQ(VisibleThumbnails(), 25);
  EXPECT_TRUE(forma->Back.Visible());
  EXPECT_FALSE(forma->Slika.Visible());

  ClickThumbnail(10);
  EXPECT_TRUE(Shows(forma->Slika, "10.GIF"));
  EXPECT_EQ(trenutna_slika, 10);
  EXPECT_TRUE(MainScreenShown());
}

TEST_F(GalleryTest, MissingMainBackgroundStillReturnsWithTheNewDrawing) {
  data->Remove("PICTURE/GLAVNA.JPG");
  OpenGallery();
  ClickThumbnail(2);
  EXPECT_TRUE(Shows(forma->Slika, "02.GIF"));
  EXPECT_EQ(galerija_prikazana, 0);
  EXPECT_EQ(VisibleThumbnails(), 0);
  EXPECT_TRUE(MainScreenShown());
  EXPECT_EQ(Background(), "GALERIJA.JPG");
}

}  // namespace
}  // namespace gallery_test
