// The exit dialog and the about panel over either screen: what they freeze, how they stack
// and the pictures their buttons keep.
#include "panels_fixture.h"

namespace panels_test {
namespace {

using test_support::LoadLog;
using test_support::Shows;

struct Panel {
  const char* name;
  SDL_Keycode key;
  Point close;
};
const Panel kPanels[] = {{"exit dialog", SDLK_x, kNoButton}, {"about panel", SDLK_r, kCloseButton}};

class Panels : public PanelsTest {
 protected:
  bool Shown(const Panel& p) { return p.key == SDLK_x ? ExitDialogShown() : AboutPanelShown(); }

  void ExpectMainScreenFrozen() {
    for (platform::PictureBox* c : MainScreen(*forma)) {
      SCOPED_TRACE(c->Name());
      if (c == &forma->Papir) {
        EXPECT_FALSE(c->Visible());
      } else {
        EXPECT_TRUE(c->Visible());
        EXPECT_FALSE(c->Enabled());
      }
    }
  }
  void ExpectMainScreenLive() {
    for (platform::PictureBox* c : MainScreen(*forma)) {
      SCOPED_TRACE(c->Name());
      EXPECT_TRUE(c->Visible());
      EXPECT_TRUE(c->Enabled());
    }
  }

  // Whether the frame shows the box's own picture over the part of the panels' rectangle
  // that no panel button covers (its top left, above and left of every button).
  bool FrameShowsBackground(const platform::PictureBox& box) {
    const platform::PictureData& picture = *box.GetPicture();
    const auto& frame = forma->Frame();
    for (int y = 0; y < 130; ++y) {
      for (int x = 0; x < 310; ++x) {
        const std::uint32_t shown = frame[(259 + y) * forma->ClientWidth() + 312 + x];
        if (shown != (picture.pixels[y * picture.width + x] | 0xFF000000u)) return false;
      }
    }
    return true;
  }
};

TEST_F(Panels, EachPanelFreezesTheMainScreenAndItsCloserUnfreezesIt) {
  for (const Panel& p : kPanels) {
    SCOPED_TRACE(p.name);
    forma->SetFocus(&forma->Slika);
    PressCtrl(p.key);
    EXPECT_TRUE(Shown(p));
    ExpectMainScreenFrozen();
    EXPECT_FALSE(forma->Back.Visible());

    // A frozen control takes no click: the music switch stays off.
    test_support::ClickMouse(950, 520);
    EXPECT_EQ(muzika_iskljucena, 1);
    EXPECT_EQ(forma->muzika_svira, 0);

    Click(p.close);
    EXPECT_FALSE(Shown(p));
    ExpectMainScreenLive();
  }
}

TEST_F(Panels, OverTheGalleryOnlyTheThumbnailsFreeze) {
  test_support::ClickMouse(900, 320);  // the gallery button
  ASSERT_EQ(galerija_prikazana, 1);
  for (const Panel& p : kPanels) {
    SCOPED_TRACE(p.name);
    forma->SetFocus(nullptr);
    PressCtrl(p.key);
    EXPECT_TRUE(Shown(p));
    for (int i = 1; i <= 25; ++i) {
      EXPECT_TRUE(forma->Galerija(i).Visible()) << i;
      EXPECT_FALSE(forma->Galerija(i).Enabled()) << i;
    }
    EXPECT_TRUE(forma->Back.Visible() && forma->Back.Enabled());
    for (platform::PictureBox* c : MainScreen(*forma)) EXPECT_FALSE(c->Visible()) << c->Name();

    Click(p.close);
    EXPECT_FALSE(Shown(p));
    for (int i = 1; i <= 25; ++i) EXPECT_TRUE(forma->Galerija(i).Enabled()) << i;
    for (platform::PictureBox* c : MainScreen(*forma)) EXPECT_FALSE(c->Visible()) << c->Name();
    EXPECT_EQ(galerija_prikazana, 1);
  }
}

TEST_F(Panels, TheExitDialogCoversTheAboutPanel) {
  PressCtrl(SDLK_x);
  const std::vector<std::uint32_t> exit_dialog_alone = PanelArea();
  EXPECT_TRUE(FrameShowsBackground(forma->Izlaz));

  PressCtrl(SDLK_r);
  ASSERT_TRUE(AboutPanelShown());
  EXPECT_EQ(PanelArea(), exit_dialog_alone);

  // No closes only its own dialog: the about panel is seen over the unfrozen screen.
  Click(kNoButton);
  EXPECT_FALSE(ExitDialogShown());
  EXPECT_TRUE(AboutPanelShown());
  ExpectMainScreenLive();
  EXPECT_TRUE(FrameShowsBackground(forma->Registered));
  EXPECT_FALSE(FrameShowsBackground(forma->Izlaz));

  Click(kCloseButton);
  EXPECT_FALSE(AboutPanelShown());
  ExpectMainScreenLive();
}

TEST_F(Panels, ButtonsKeepTheirHoverPicturesUntilTheirBackgroundIsCrossed) {
  PressCtrl(SDLK_x);
  Move(kYesButton);
  EXPECT_TRUE(Shows(forma->Da, "YES2.JPG"));
  Move(kNoButton);
  EXPECT_TRUE(Shows(forma->Ne, "NO2.JPG"));
  test_support::MoveMouse(100, 100);  // the canvas, beyond the dialog
  EXPECT_TRUE(Shows(forma->Da, "YES2.JPG"));
  Click(kNoButton);
  ASSERT_FALSE(ExitDialogShown());

  forma->SetFocus(&forma->Slika);
  PressCtrl(SDLK_x);
  EXPECT_TRUE(Shows(forma->Da, "YES2.JPG"));
  EXPECT_TRUE(Shows(forma->Ne, "NO2.JPG"));
  {
    LoadLog loads;
    Move(kExitBackground);
    EXPECT_EQ(loads.Names(), (std::vector<std::string>{"YES1.JPG", "NO1.JPG"}));
  }
  Click(kNoButton);

  forma->SetFocus(&forma->Slika);
  PressCtrl(SDLK_r);
  Move(kWebSiteButton);
  Move(kMakerButton);
  Move(kCloseButton);
  EXPECT_TRUE(Shows(forma->visit_site, "VISIT2.JPG"));
  EXPECT_TRUE(Shows(forma->Firma, "CTRLR5822.JPG"));
  EXPECT_TRUE(Shows(forma->Zatvori, "CLOSE2.JPG"));
  LoadLog loads;
  Move(kAboutBackground);
  EXPECT_EQ(loads.Names(), (std::vector<std::string>{"CLOSE1.JPG", "CTRLR5821.JPG", "VISIT1.JPG"}));
}

TEST_F(Panels, AHoverPictureNeedsTheButtonAtItsDesignPlace) {
  PressCtrl(SDLK_x);
  forma->Ne.SetTop(409.5f);
  LoadLog loads;
  test_support::MoveMouse(600, 440);
  EXPECT_TRUE(loads.Names().empty());
  forma->Ne.SetTop(409.0f);
  test_support::MoveMouse(601, 440);
  EXPECT_EQ(loads.Names(), std::vector<std::string>{"NO2.JPG"});
}

TEST_F(Panels, AMissingHoverPictureLeavesTheButtonAsItWas) {
  data->Remove("PICTURE/NO1.JPG");
  PressCtrl(SDLK_x);
  Move(kYesButton);
  Move(kNoButton);
  Move(kExitBackground);
  EXPECT_TRUE(Shows(forma->Da, "YES1.JPG"));
  EXPECT_TRUE(Shows(forma->Ne, "NO2.JPG"));
}

}  // namespace
}  // namespace panels_test
