// Keyboard focus: where it starts, how Tab and clicks move it, where it goes when its control
// becomes unavailable, and that key-downs reach only the holder.
#include <gtest/gtest.h>

#include "form_events.h"
#include "platform/controls.h"
#include "platform/form.h"

namespace {

using platform_test::Click;
using platform_test::Type;
using Entries = std::vector<std::string>;

// Stacking order and tab order differ on purpose; boxes 30 pixels apart on one row.
class Focus : public ::testing::Test {
 protected:
  Focus() {
    hidden.SetVisible(false);
    disabled.SetEnabled(false);
    for (platform::Control* c : {&third, &disabled, &second, &first, &hidden}) {
      form.Add(*c);
      journal.Listen(*c);
    }
    form.Add(label);
    journal.Listen(form);
    form.Show();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }

  std::string Holder() const {
    return form.ActiveControl() != nullptr ? form.ActiveControl()->Name() : "form";
  }

  static int XOf(const platform::Control& c) { return static_cast<int>(c.Left()) + 5; }

  platform::Label label{"label", 10, 10, 20, 20, 0};
  platform::PictureBox hidden{"hidden", 40, 10, 20, 20, 1};
  platform::PictureBox first{"first", 70, 10, 20, 20, 2};
  platform::PictureBox second{"second", 100, 10, 20, 20, 3};
  platform::PictureBox third{"third", 130, 10, 20, 20, 4};
  platform::PictureBox disabled{"disabled", 160, 10, 20, 20, 5};
  platform::Form form{"focus", 200, 40};
  platform_test::Journal journal;
};

TEST_F(Focus, StartsOnTheLowestAvailableTabIndexAndTabSkipsTheUnavailable) {
  EXPECT_EQ(Holder(), "first");
  const std::pair<std::uint16_t, const char*> steps[] = {
      {KMOD_NONE, "second"},  {KMOD_NONE, "third"},    {KMOD_NONE, "first"},
      {KMOD_LSHIFT, "third"}, {KMOD_RSHIFT, "second"},
  };
  for (const auto& [modifiers, holder] : steps) {
    Type(SDLK_TAB, modifiers);
    EXPECT_EQ(Holder(), holder);
  }
  EXPECT_TRUE(journal.entries.empty()) << "Tab reached a handler";
}

TEST_F(Focus, KeyDownGoesOnlyToTheHolderWithItsShiftMask) {
  const std::pair<std::uint16_t, int> masks[] = {
      {KMOD_NONE, 0}, {KMOD_LSHIFT, 1}, {KMOD_RCTRL, 2}, {KMOD_LCTRL | KMOD_RSHIFT, 3},
      {KMOD_CAPS, 0}, {KMOD_NUM, 0},    {KMOD_LALT, 4},
  };
  for (const auto& [modifiers, mask] : masks) {
    Type(SDLK_p, modifiers);
    EXPECT_EQ(journal.entries, Entries{"first:key80/" + std::to_string(mask)});
    journal.Clear();
  }
}

TEST_F(Focus, ClickGivesFocusToAControlThatCanTakeIt) {
  Click(XOf(third), 15);
  EXPECT_EQ(Holder(), "third");
  Click(XOf(disabled), 15);
  Click(XOf(label), 15);
  Click(190, 35);  // the form itself
  EXPECT_EQ(Holder(), "third");
  journal.Clear();
  Type(SDLK_a);
  EXPECT_EQ(journal.entries, Entries{"third:key65/0"});
}

TEST_F(Focus, UnavailableHolderHandsFocusOnAlongTheTabOrderThenToTheForm) {
  Click(XOf(second), 15);
  second.SetVisible(false);
  EXPECT_EQ(Holder(), "third");
  third.SetEnabled(false);
  EXPECT_EQ(Holder(), "first") << "past the end of the tab order it starts again";
  first.SetVisible(false);
  EXPECT_EQ(Holder(), "form");

  journal.Clear();
  Type(SDLK_x, KMOD_LCTRL);
  Type(SDLK_TAB);  // nothing left to move to
  EXPECT_EQ(Holder(), "form");
  EXPECT_EQ(journal.entries, Entries{"form:key88/2"});

  second.SetVisible(true);
  EXPECT_EQ(Holder(), "form") << "showing a control does not give it the focus";
  Type(SDLK_TAB);
  EXPECT_EQ(Holder(), "second");
}

}  // namespace
