// Opening the gallery, its grid and resting pictures, and going back without a choice.
#include <SDL.h>

#include "gallery_fixture.h"
#include "platform/picture.h"

namespace gallery_test {
namespace {

using test_support::LoadLog;
using test_support::ShownName;
using test_support::Shows;

TEST_F(GalleryTest, OpeningLaysOutTheGridWithRestingPicturesInReadingOrder) {
  test_support::MoveMouse(kGalleryButtonX, kGalleryButtonY);
  LoadLog log;
  ClickInPlace(kGalleryButtonX, kGalleryButtonY);

  EXPECT_EQ(galerija_prikazana, 1);
  EXPECT_TRUE(forma->Back.Visible());
  for (platform::Control* c : MainScreen()) EXPECT_FALSE(c->Visible()) << c->Name();
  EXPECT_EQ(Background(), "GALERIJA.JPG");
  std::vector<std::string> expected = {"GALERIJA.JPG"};
  for (int i = 1; i <= 25; ++i) {
    const platform::PictureBox& box = forma->Galerija(i);
    EXPECT_EQ(box.Left(), static_cast<float>(LeftOf(i))) << "thumbnail " << i;
    EXPECT_EQ(box.Top(), static_cast<float>(TopOf(i))) << "thumbnail " << i;
    EXPECT_TRUE(box.Visible()) << "thumbnail " << i;
    EXPECT_TRUE(Shows(box, Resting(i))) << "thumbnail " << i << " shows " << ShownName(box);
    expected.push_back(Resting(i));
  }
  EXPECT_EQ(forma->Galerija(3).Left(), 341.0f);
  EXPECT_EQ(forma->Galerija(3).Top(), 48.0f);
  EXPECT_EQ(forma->Galerija(25).Left(), 629.0f);
  EXPECT_EQ(forma->Galerija(25).Top(), 596.0f);
  EXPECT_TRUE(Shows(forma->Galerija(16), "GALERIJA1BELE_55.JPG"));
  EXPECT_EQ(log.Names(), expected);
}

TEST_F(GalleryTest, ScreenIsTheGalleryBeforeTheFirstThumbnailLoads) {
  struct Seen {
    std::string name;
    int screen;
    int visible;
  };
  std::vector<Seen> seen;
  platform::SetPictureLoadObserver([&](const std::string& path) {
    int visible = 0;
    for (int i = 1; i <= 25; ++i) visible += forma->Galerija(i).Visible() ? 1 : 0;
    seen.push_back({path.substr(path.find_last_of("\\/") + 1), galerija_prikazana, visible});
  });
  OpenGallery();
  platform::SetPictureLoadObserver(nullptr);

  int thumbnail = 0;
  for (const Seen& s : seen) {
    if (s.name.rfind("GALERIJA1BELE_", 0) != 0) continue;
    ++thumbnail;
    EXPECT_EQ(s.name, Resting(thumbnail));
    EXPECT_EQ(s.screen, 1) << "while loading " << s.name;
    // Picture first, then visibility, one thumbnail after the other.
    EXPECT_EQ(s.visible, thumbnail - 1) << "while loading " << s.name;
  }
  EXPECT_EQ(thumbnail, 25);
}

TEST_F(GalleryTest, BackKeepsTheCanvasItsColouringAndTheChoices) {
  const auto [x, y] = ColourSomething();
  ASSERT_NE(CanvasColour(x, y), 0xFFFFFFu) << "the fill did not colour the canvas";
  const auto before = CanvasPixels();
  const auto colour = trenutna_boja;
  const auto tool = forma->kapljica_izabrana;

  OpenGallery();
  LoadLog log;
  GoBack();

  EXPECT_EQ(galerija_prikazana, 0);
  EXPECT_TRUE(MainScreenShown());
  EXPECT_FALSE(forma->Back.Visible());
  EXPECT_EQ(VisibleThumbnails(), 0);
  EXPECT_EQ(Background(), "GLAVNA.JPG");
  EXPECT_EQ(CanvasPixels(), before);
  EXPECT_EQ(trenutna_slika, 1);
  EXPECT_EQ(trenutna_boja, colour);
  EXPECT_EQ(forma->kapljica_izabrana, tool);
  // Going back loads no drawing.
  for (const auto& n : log.Names()) EXPECT_EQ(n.find(".GIF"), std::string::npos) << n;
}

TEST_F(GalleryTest, MissingRestingPictureStopsTheThumbnailsThereAndBackStillWorks) {
  data->Remove("PICTURE/GALERIJA1BELE_39.JPG");
  OpenGallery();

  EXPECT_EQ(galerija_prikazana, 1);
  for (int i = 1; i <= 25; ++i) EXPECT_EQ(forma->Galerija(i).Visible(), i < 12) << i;
  EXPECT_TRUE(forma->Back.Visible());

  GoBack();
  EXPECT_EQ(galerija_prikazana, 0);
  EXPECT_TRUE(MainScreenShown());
  EXPECT_EQ(VisibleThumbnails(), 0);
}

TEST_F(GalleryTest, MissingBackgroundsStillSwitchScreens) {
  data->Remove("PICTURE/GALERIJA.JPG");
  data->Remove("PICTURE/GLAVNA.JPG");
  OpenGallery();
  EXPECT_EQ(galerija_prikazana, 1);
  EXPECT_TRUE(forma->Back.Visible());
  EXPECT_EQ(VisibleThumbnails(), 25);

  GoBack();
  EXPECT_EQ(galerija_prikazana, 0);
  EXPECT_TRUE(MainScreenShown());
  EXPECT_EQ(VisibleThumbnails(), 0);
}

TEST_F(GalleryTest, BackShowsItsHoverPictureAndKeepsItIntoTheNextVisit) {
  OpenGallery();
  LoadLog log;
  test_support::MoveMouse(kBackX, kBackY);
  test_support::MoveMouse(kBackX + 5, kBackY);
  EXPECT_EQ(log.Names(), (std::vector<std::string>{"BACK2.JPG", "BACK2.JPG"}));
  EXPECT_TRUE(Shows(forma->Back, "BACK2.JPG"));

  GoBack();
  OpenGallery();
  EXPECT_TRUE(Shows(forma->Back, "BACK2.JPG"));
}

// A panel over the gallery freezes its thumbnails; the back button waits until it is closed,
// so the next visit does not find them still frozen.
TEST_F(GalleryTest, BackWaitsWhileAPanelLiesOverTheGallery) {
  OpenGallery();
  test_support::TypeKey(SDLK_r, KMOD_LCTRL);
  ASSERT_TRUE(forma->Registered.Visible()) << "Ctrl+R did not open the about panel";
  ASSERT_FALSE(forma->Galerija(1).Enabled());

  GoBack();
  EXPECT_EQ(galerija_prikazana, 1);
  EXPECT_TRUE(forma->Back.Visible());
  EXPECT_EQ(VisibleThumbnails(), 25);

  test_support::ClickMouse(668, 282);  // the about panel's close button
  ASSERT_FALSE(forma->Registered.Visible());
  GoBack();
  EXPECT_EQ(galerija_prikazana, 0);
  OpenGallery();
  ClickThumbnail(5);
  EXPECT_EQ(trenutna_slika, 5);
}

}  // namespace
}  // namespace gallery_test
