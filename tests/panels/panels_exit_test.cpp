// The about panel's web links and the exit dialog's yes button.
#include "frame/web_pages.h"
#include "panels_fixture.h"
#include "platform/failure.h"
#include "platform/keyboard_hook.h"
#include "platform/shell.h"

namespace panels_test {
namespace {

class WebLinksAndExit : public PanelsTest {
 protected:
  void SetUp() override {
    browser = std::make_unique<RecordingBrowser>();
    PanelsTest::SetUp();
  }
  void TearDown() override {
    PanelsTest::TearDown();
    browser.reset();
  }
  std::unique_ptr<RecordingBrowser> browser;
};

TEST_F(WebLinksAndExit, EachWebLinkOpensItsPageAndLeavesThePanelOpen) {
  struct Link {
    Point button;
    std::string address;
  };
  const Link links[] = {{kWebSiteButton, product_page_address()},
                        {kMakerButton, maker_page_address()}};
  ASSERT_NE(links[0].address, links[1].address);
  PressCtrl(SDLK_r);
  std::vector<std::string> expected;
  for (const Link& link : links) {
    Click(link.button);
    expected.push_back(link.address);
    EXPECT_EQ(browser->Addresses(expected.size()), expected);

    // Restored by the user, the window still shows the panel over the frozen screen.
    platform::ShowWindow(forma->hWnd(), platform::SW_SHOWNORMAL);
    test_support::Pump();
    EXPECT_TRUE(AboutPanelShown());
    EXPECT_FALSE(forma->Papir.Visible());
    EXPECT_FALSE(forma->Slika.Enabled());
  }
  Click(kCloseButton);
  EXPECT_FALSE(AboutPanelShown());
  EXPECT_TRUE(forma->Slika.Enabled());
}

TEST_F(WebLinksAndExit, YesStopsTheMusicFirstAndEndsTheProgram) {
  test_support::ClickMouse(950, 520);  // the music switch
  ASSERT_EQ(forma->muzika_svira, 1);
  ASSERT_TRUE(forma->tmrRepeat.Enabled());
  ASSERT_TRUE(forma->perf->IsPlaying(forma->seg, forma->seg_state));

  PressCtrl(SDLK_x);
  EXPECT_THROW(Click(kYesButton), platform::ProgramEnd);
  EXPECT_EQ(forma->muzika_svira, 0);
  EXPECT_FALSE(forma->tmrRepeat.Enabled());
  EXPECT_FALSE(forma->perf->IsPlaying(forma->seg, forma->seg_state));
  EXPECT_TRUE(forma->Unloaded());
  EXPECT_EQ(forma->hWnd(), nullptr);
  EXPECT_FALSE(platform::KeyboardFilterInstalled());
  // The unload opened the maker's page, once.
  EXPECT_EQ(browser->Addresses(1), std::vector<std::string>{maker_page_address()});
  // Nothing of the dialog was hidden before the end.
  EXPECT_TRUE(ExitDialogShown());
}

TEST_F(WebLinksAndExit, YesOverTheGalleryEndsTheProgramToo) {
  test_support::ClickMouse(900, 320);
  ASSERT_EQ(galerija_prikazana, 1);
  forma->SetFocus(nullptr);
  PressCtrl(SDLK_x);
  ASSERT_TRUE(ExitDialogShown());
  EXPECT_THROW(Click(kYesButton), platform::ProgramEnd);
  EXPECT_TRUE(forma->Unloaded());
  EXPECT_FALSE(platform::KeyboardFilterInstalled());
}

}  // namespace
}  // namespace panels_test
