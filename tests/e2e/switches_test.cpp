// The sound and music switches: a click changes the state, and the pictures follow it once the
// pointer moves again, over the switch (hover picture) or off it (resting picture).
#include "program_on_desktop.h"

namespace e2e {
namespace {

struct Step {
  enum Action { kMoveOnto, kMoveWithin, kMoveOff, kClick } action;
  std::string shown;  // the switch's picture afterwards
};

class Switches : public ProgramOnDesktop {
 protected:
  // Runs the steps on the switch and checks its picture after each one.
  void RunSteps(Point button, Place place, const std::vector<std::string>& pictures,
                const std::vector<Step>& steps) {
    bool second_point = false;
    for (std::size_t i = 0; i < steps.size(); ++i) {
      const Step& step = steps[i];
      switch (step.action) {
        case Step::kMoveOnto:
        case Step::kMoveWithin:
          // Two points inside the button, so that every move over it is a move.
          second_point = !second_point;
          desktop().MoveTo(button.x + (second_point ? 10 : 0), button.y + (second_point ? 10 : 0));
          break;
        case Step::kMoveOff:
          desktop().MoveTo(kBareWindow.x, kBareWindow.y);
          break;
        case Step::kClick:
          desktop().Click();
          break;
      }
      std::vector<std::string> others;
      for (const std::string& p : pictures) {
        if (p != step.shown) others.push_back(p);
      }
      EXPECT_EQ(WaitUntilShown(place, step.shown, others), step.shown) << "after step " << i;
    }
  }
};

TEST_F(Switches, TheSoundSwitchShowsTheOtherStatesPicturesAfterAClick) {
  ASSERT_NO_FATAL_FAILURE(Launch());
  RunSteps(kSoundSwitch, {835, 485},
           {"ZVUCNIK1.JPG", "ZVUCNIK2.JPG", "SOUNDOFF1.JPG", "SOUNDOFF2.JPG"},
           {{Step::kMoveOnto, "ZVUCNIK2.JPG"},
            {Step::kClick, "ZVUCNIK2.JPG"},
            {Step::kMoveWithin, "SOUNDOFF1.JPG"},
            {Step::kMoveOff, "SOUNDOFF2.JPG"},
            {Step::kMoveOnto, "SOUNDOFF1.JPG"},
            {Step::kClick, "SOUNDOFF1.JPG"},
            {Step::kMoveWithin, "ZVUCNIK2.JPG"},
            {Step::kMoveOff, "ZVUCNIK1.JPG"}});
}

TEST_F(Switches, TheMusicSwitchShowsTheOtherStatesPicturesAfterAClick) {
  ASSERT_NO_FATAL_FAILURE(Launch());
  RunSteps(kMusicSwitch, {919, 485},
           {"MUSICOFF1.JPG", "MUSICOFF2.JPG", "MUZIKA1.JPG", "MUZIKA2.JPG"},
           {{Step::kMoveOnto, "MUSICOFF1.JPG"},
            {Step::kClick, "MUSICOFF1.JPG"},
            {Step::kMoveWithin, "MUZIKA2.JPG"},
            {Step::kMoveOff, "MUZIKA1.JPG"},
            {Step::kMoveOnto, "MUZIKA2.JPG"},
            {Step::kClick, "MUZIKA2.JPG"},
            {Step::kMoveWithin, "MUSICOFF1.JPG"},
            {Step::kMoveOff, "MUSICOFF2.JPG"}});
  EXPECT_TRUE(program_->Running());
}

}  // namespace
}  // namespace e2e
