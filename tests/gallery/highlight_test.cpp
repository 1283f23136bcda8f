// The hover highlight of the thumbnails and its reset over the bare window.
#include <SDL.h>

#include "gallery_fixture.h"

namespace gallery_test {
namespace {

using test_support::LoadLog;
using test_support::MoveMouse;
using test_support::Shows;
using Names = std::vector<std::string>;

class HighlightTest : public GalleryTest {
 protected:
  void SetUp() override {
    GalleryTest::SetUp();
    OpenGallery();
  }
  static void OverBareWindow() { MoveMouse(kBareX, kBareY); }
};

TEST_F(HighlightTest, EveryMoveOverAThumbnailReloadsItsHighlight) {
  LoadLog log;
  OverThumbnail(7);
  OverThumbnail(7, 10, 10);
  OverThumbnail(7, 120, 100);
  EXPECT_EQ(ThumbnailLoads(log), Names(3, Highlighted(7)));
  EXPECT_TRUE(Shows(forma->Galerija(7), "GALERIJA1ZUTE_21.JPG"));
  EXPECT_EQ(forma->poslednja_osvetljena, 7);
}

TEST_F(HighlightTest, StraightOntoTheNextThumbnailRestsTheOneBefore) {
  OverThumbnail(7, 125);
  LoadLog log;
  OverThumbnail(8, 2);
  EXPECT_EQ(ThumbnailLoads(log), (Names{"GALERIJA1ZUTE_23.JPG", "GALERIJA1BELE_21.JPG"}));
  EXPECT_TRUE(Shows(forma->Galerija(8), "GALERIJA1ZUTE_23.JPG"));
  EXPECT_TRUE(Shows(forma->Galerija(7), "GALERIJA1BELE_21.JPG"));
  EXPECT_EQ(forma->poslednja_osvetljena, 8);
}

TEST_F(HighlightTest, BareWindowRestsTheLastOneAndKeepsItsNumber) {
  OverThumbnail(7);
  LoadLog log;
  OverBareWindow();
  OverBareWindow();
  EXPECT_EQ(ThumbnailLoads(log), Names(2, Resting(7)));
  EXPECT_TRUE(Shows(forma->Galerija(7), Resting(7)));
  EXPECT_EQ(forma->poslednja_osvetljena, 7);

  // Onto another thumbnail: the kept number rests thumbnail 7 once more.
  log.Clear();
  OverThumbnail(12);
  EXPECT_EQ(ThumbnailLoads(log), (Names{Highlighted(12), Resting(7)}));
  EXPECT_EQ(forma->poslednja_osvetljena, 12);

  // Back onto the same one: its highlight only.
  OverBareWindow();
  log.Clear();
  OverThumbnail(12);
  EXPECT_EQ(ThumbnailLoads(log), Names{Highlighted(12)});
}

TEST_F(HighlightTest, NothingHighlightedYetRestsNothing) {
  LoadLog log;
  OverBareWindow();
  EXPECT_TRUE(ThumbnailLoads(log).empty());
  EXPECT_EQ(forma->poslednja_osvetljena, 0);
}

TEST_F(HighlightTest, LastThumbnailIsRestedToo) {
  OverThumbnail(25);
  LoadLog log;
  OverBareWindow();
  EXPECT_EQ(ThumbnailLoads(log), Names{"GALERIJA1BELE_81.JPG"});
}

TEST_F(HighlightTest, ReopenedGalleryRestsAllAndKeepsTheNumber) {
  OverThumbnail(7);
  MoveMouse(kBackX, kBackY);  // straight onto the back button: no reset on the way
  ASSERT_TRUE(Shows(forma->Galerija(7), Highlighted(7)));
  GoBack();
  EXPECT_TRUE(Shows(forma->Galerija(7), Highlighted(7)));  // hidden with its highlight

  OpenGallery();
  for (int i = 1; i <= 25; ++i) EXPECT_TRUE(Shows(forma->Galerija(i), Resting(i))) << i;
  EXPECT_EQ(forma->poslednja_osvetljena, 7);
  LoadLog log;
  OverThumbnail(12);
  EXPECT_EQ(ThumbnailLoads(log), (Names{Highlighted(12), Resting(7)}));

  GoBack();
  OpenGallery();
  log.Clear();
  OverThumbnail(12);
  EXPECT_EQ(ThumbnailLoads(log), Names{Highlighted(12)});
}

// A panel disables the thumbnails, so moves over them are the bare window's and rest the last.
TEST_F(HighlightTest, UnderAPanelThumbnailsAreBareWindow) {
  OverThumbnail(7);
  test_support::TypeKey(SDLK_r, KMOD_LCTRL);
  ASSERT_TRUE(forma->Registered.Visible()) << "Ctrl+R did not open the about panel";
  LoadLog log;
  OverThumbnail(8);
  EXPECT_EQ(ThumbnailLoads(log), Names{Resting(7)});
  EXPECT_EQ(forma->poslednja_osvetljena, 7);
}

TEST_F(HighlightTest, MissingRestingPictureKeepsTheHighlights) {
  OverThumbnail(7);
  data->Remove("PICTURE/" + Resting(7));
  OverThumbnail(8);
  EXPECT_TRUE(Shows(forma->Galerija(8), Highlighted(8)));
  EXPECT_TRUE(Shows(forma->Galerija(7), Highlighted(7)));
  EXPECT_EQ(forma->poslednja_osvetljena, 7);

  LoadLog log;
  OverBareWindow();
  EXPECT_TRUE(Shows(forma->Galerija(7), Highlighted(7)));
  // The failed reset ends only itself: the window's own move handler goes on loading.
  ASSERT_FALSE(log.Names().empty());
  EXPECT_EQ(std::count(log.Names().begin(), log.Names().end(), Resting(7)), 1);
  EXPECT_NE(log.Names().back(), Resting(7));
  OverThumbnail(9);
  // Each thumbnail visited keeps its highlight while number 7 cannot be rested.
  for (int i : {7, 8, 9}) EXPECT_TRUE(Shows(forma->Galerija(i), Highlighted(i))) << i;
  EXPECT_EQ(forma->poslednja_osvetljena, 7);
}

TEST_F(HighlightTest, MissingHighlightChangesNothing) {
  OverThumbnail(7);
  data->Remove("PICTURE/" + Highlighted(8));
  OverThumbnail(8);
  EXPECT_TRUE(Shows(forma->Galerija(8), Resting(8)));
  EXPECT_TRUE(Shows(forma->Galerija(7), Highlighted(7)));
  EXPECT_EQ(forma->poslednja_osvetljena, 7);
}

}  // namespace
}  // namespace gallery_test
