// Which control the pointer's events reach: stacking, gaps, hidden and disabled controls,
// capture during a drag and what makes a click.
#include <gtest/gtest.h>

#include "form_events.h"
#include "platform/controls.h"
#include "platform/form.h"

namespace {

using platform_test::Journal;
using platform_test::Move;
using platform_test::PixelAt;
using platform_test::Press;
using platform_test::Release;
using Entries = std::vector<std::string>;

constexpr std::uint32_t kBackground = 0xFF808080, kRed = 0xFFFF0000, kGreen = 0xFF00FF00,
                        kBlue = 0xFF0000FF, kMagenta = 0xFFFF00FF;

// Three buttons in a row as the palette has them: `upper` and `lower` overlap in column 176,
// where `upper` (added first) lies on top; column 260 is a gap. A hidden panel lies over all.
class MouseRouting : public ::testing::Test {
 protected:
  MouseRouting() {
    form.SetPicture(platform_test::Solid(400, 100, kBackground));
    cover.SetPicture(platform_test::Solid(200, 100, kMagenta));
    cover.SetVisible(false);
    upper.SetPicture(platform_test::Solid(84, 85, kRed));
    lower.SetPicture(platform_test::Solid(84, 80, kGreen));  // five rows short: background
    right.SetPicture(platform_test::Solid(86, 85, kBlue));   // two columns too wide: cut
    for (platform::Control* c : {&cover, &upper, &lower, &right}) {
      form.Add(*c);
      journal.Listen(*c);
    }
    journal.Listen(form);
    form.Show();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }

  Entries Take() {
    Entries e = journal.entries;
    journal.Clear();
    return e;
  }

  // Controls first, so that the form, which detaches them, goes before them.
  platform::PictureBox cover{"cover", 150, 0, 200, 100, 0};
  platform::PictureBox upper{"upper", 176, 10, 84, 85, 3};
  platform::PictureBox lower{"lower", 93, 10, 84, 85, 2};
  platform::PictureBox right{"right", 261, 10, 84, 85, 4};
  platform::Form form{"mouse routing", 400, 100};
  Journal journal;
};

TEST_F(MouseRouting, UpperControlTakesTheOverlapAndGapsBelongToTheForm) {
  struct Column {
    int x;
    std::uint32_t shown;
    std::string receiver;
  };
  const Column columns[] = {
      {92, kBackground, "form:move0(92,50)"},   {93, kGreen, "lower:move0(0,40)"},
      {175, kGreen, "lower:move0(82,40)"},      {176, kRed, "upper:move0(0,40)"},
      {259, kRed, "upper:move0(83,40)"},        {260, kBackground, "form:move0(260,50)"},
      {261, kBlue, "right:move0(0,40)"},        {344, kBlue, "right:move0(83,40)"},
      {345, kBackground, "form:move0(345,50)"},
  };
  for (const Column& c : columns) {
    SCOPED_TRACE("column " + std::to_string(c.x));
    EXPECT_EQ(PixelAt(form, c.x, 50), c.shown);
    Move(c.x, 50);
    EXPECT_EQ(Take(), Entries{c.receiver});
  }
  Move(200, 5);
  EXPECT_EQ(Take(), Entries{"form:move0(200,5)"});
  EXPECT_EQ(PixelAt(form, 100, 89), kGreen);
  EXPECT_EQ(PixelAt(form, 100, 90), lower.BackColor());
}

TEST_F(MouseRouting, HiddenControlIsNeitherDrawnNorHit) {
  cover.SetVisible(true);
  EXPECT_EQ(PixelAt(form, 200, 50), kMagenta);
  Move(200, 50);
  EXPECT_EQ(Take(), Entries{"cover:move0(50,50)"});

  cover.SetVisible(false);
  EXPECT_EQ(PixelAt(form, 200, 50), kRed);
  platform_test::Click(200, 50);
  EXPECT_EQ(Take(), (Entries{"upper:down1(24,40)", "upper:up1(24,40)", "upper:click"}));
}

TEST_F(MouseRouting, DisabledControlStaysDrawnAndItsInputGoesToTheForm) {
  upper.SetEnabled(false);
  EXPECT_EQ(PixelAt(form, 200, 50), kRed);
  Move(200, 50);
  Move(176, 50);  // not to `lower` below it either
  platform_test::Click(200, 50);
  EXPECT_EQ(Take(), (Entries{"form:move0(200,50)", "form:move0(176,50)", "form:down1(200,50)"}));

  upper.SetEnabled(true);
  Move(200, 50);
  EXPECT_EQ(Take(), Entries{"upper:move0(24,40)"});
}

TEST_F(MouseRouting, PressedControlKeepsTheMovesUntilRelease) {
  Press(100, 50);
  Move(300, 50, SDL_BUTTON_LMASK);  // over `right`
  Move(390, 5, SDL_BUTTON_LMASK);   // over the form, beyond every control
  Press(300, 50, SDL_BUTTON_RIGHT);
  Release(300, 50, SDL_BUTTON_RIGHT);
  Release(300, 50);
  Move(300, 50);
  EXPECT_EQ(Take(), (Entries{"lower:down1(7,40)", "lower:move1(207,40)", "lower:move1(297,-5)",
                             "lower:down2(207,40)", "lower:up2(207,40)", "lower:up1(207,40)",
                             "right:move0(39,40)"}));
}

TEST_F(MouseRouting, PressOnTheFormKeepsTheMovesOnTheForm) {
  Press(260, 50);
  Move(300, 50, SDL_BUTTON_LMASK);
  Release(300, 50);
  Move(300, 50);
  EXPECT_EQ(Take(), (Entries{"form:down1(260,50)", "form:move1(300,50)", "right:move0(39,40)"}));
}

TEST_F(MouseRouting, LostReleaseEndsTheCaptureAtTheNextMoveWithoutButtons) {
  Press(100, 50);
  Move(300, 50);  // the release happened outside the window and never came
  EXPECT_EQ(Take(), (Entries{"lower:down1(7,40)", "right:move0(39,40)"}));
}

TEST_F(MouseRouting, ControlHiddenDuringItsDragGivesUpTheCapture) {
  Press(100, 50);
  lower.SetVisible(false);
  Move(300, 50, SDL_BUTTON_LMASK);
  Release(300, 50);
  EXPECT_EQ(Take(), (Entries{"lower:down1(7,40)", "right:move1(39,40)", "right:up1(39,40)"}));
}

TEST_F(MouseRouting, ClickIsALeftPressAndReleaseOnTheSameControl) {
  struct Gesture {
    int press_x, release_x;
    std::uint8_t button;
    Entries seen;
  };
  const Gesture gestures[] = {
      {100, 100, SDL_BUTTON_LEFT, {"lower:down1(7,40)", "lower:up1(7,40)", "lower:click"}},
      {100, 300, SDL_BUTTON_LEFT, {"lower:down1(7,40)", "lower:up1(207,40)"}},
      {300, 300, SDL_BUTTON_RIGHT, {"right:down2(39,40)", "right:up2(39,40)"}},
      {300, 300, SDL_BUTTON_MIDDLE, {"right:down4(39,40)", "right:up4(39,40)"}},
      {260, 300, SDL_BUTTON_LEFT, {"form:down1(260,50)"}},
  };
  for (const Gesture& g : gestures) {
    SCOPED_TRACE(std::to_string(g.press_x) + " to " + std::to_string(g.release_x));
    Press(g.press_x, 50, g.button);
    Release(g.release_x, 50, g.button);
    EXPECT_EQ(Take(), g.seen);
  }
}

}  // namespace
