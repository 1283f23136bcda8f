// The about panel with its web buttons, and the exit dialog with the way out.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <thread>

#include "program_on_desktop.h"

namespace e2e {
namespace {

class Panels : public ProgramOnDesktop {
 protected:
  // The main screen is unfrozen when its blank-paper button is back.
  std::string BlankPaperButton() {
    return WaitUntilShown({936, 412}, "PAPIR1.JPG", {"PAPIR2.JPG"});
  }
  // A page beside the program as a browser takes it, its path percent-encoded.
  std::string PageAddress(const std::string& page) {
    std::string address = "file://";
    for (const char c : install_->Data(page).string()) {
      if (std::isalnum(static_cast<unsigned char>(c)) || std::strchr("/-._~", c) != nullptr) {
        address += c;
      } else {
        char escaped[4];
        std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
        address += escaped;
      }
    }
    return address;
  }
  bool WaitUntilIconic(bool iconic) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (Iconic() != iconic && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(50ms);
    }
    return Iconic() == iconic;
  }
};

TEST_F(Panels, TheAboutPanelsWebButtonsMinimiseTheWindowAndOpenTheirPages) {
  ASSERT_NO_FATAL_FAILURE(Launch());
  desktop().Keys("ctrl+r");
  ASSERT_TRUE(WaitForPanel("CTRL-R.JPG", true)) << "no about panel";
  // Frozen under it: the blank-paper button is hidden.
  EXPECT_LT(Likeness(Shot(), 936, 412, Picture("PAPIR1.JPG")), 0.5);

  struct Link {
    Point button;
    std::string page;
  };
  const Link links[] = {{kWebSite, "PRODUCT.HTML"}, {kMaker, "MAKER.HTML"}};
  std::vector<std::string> expected;
  for (const Link& link : links) {
    desktop().Click(link.button.x, link.button.y);
    EXPECT_TRUE(WaitUntilIconic(true)) << "the window was not minimised for " << link.page;
    expected.push_back(PageAddress(link.page));
    EXPECT_EQ(browser_->WaitForAddresses(expected.size()), expected);
    desktop().Tool({"xdotool", "windowactivate", "--sync", window_});
    ASSERT_TRUE(WaitUntilIconic(false)) << "the window did not come back";
    EXPECT_TRUE(WaitForPanel("CTRL-R.JPG", true)) << "the about panel went with " << link.page;
  }

  desktop().Click(kClose.x, kClose.y);
  EXPECT_TRUE(WaitForPanel("CTRL-R.JPG", false)) << "the about panel stayed";
  EXPECT_EQ(BlankPaperButton(), "PAPIR1.JPG");
  EXPECT_TRUE(program_->Running());
}

TEST_F(Panels, NoKeepsTheProgramAndYesEndsItRestoringTheDisplayAndOpeningTheMakersPage) {
  ASSERT_NO_FATAL_FAILURE(Launch());
  const auto screen = desktop().ScreenSize();
  desktop().Keys("ctrl+x");
  ASSERT_TRUE(WaitForPanel("CTRLX.JPG", true)) << "no exit dialog";
  desktop().Click(kNo.x, kNo.y);
  EXPECT_TRUE(WaitForPanel("CTRLX.JPG", false)) << "the exit dialog stayed";
  EXPECT_EQ(BlankPaperButton(), "PAPIR1.JPG");
  EXPECT_TRUE(program_->Running());
  EXPECT_TRUE(browser_->Addresses().empty());

  desktop().Keys("ctrl+x");
  ASSERT_TRUE(WaitForPanel("CTRLX.JPG", true)) << "no exit dialog the second time";
  desktop().Click(kYes.x, kYes.y);
  EXPECT_EQ(program_->WaitForExit(15s), 0) << "the program did not end by itself";
  EXPECT_TRUE(desktop().Windows("Colouring Book", false).empty()) << "its window stayed";
  EXPECT_EQ(desktop().ScreenSize(), screen);
  EXPECT_EQ(browser_->WaitForAddresses(1), std::vector<std::string>{PageAddress("MAKER.HTML")});
}

}  // namespace
}  // namespace e2e
