// Ctrl+P, Ctrl+X and Ctrl+R, typed as real key events, on the controls that carry them and
// on those that do not.
#include <functional>

#include "panels_fixture.h"

namespace panels_test {
namespace {

using test_support::TypeKey;

class Shortcuts : public PanelsTest {};

TEST_F(Shortcuts, CtrlKeysOnTheCanvasPrintOpenTheExitDialogAndTheAboutPanel) {
  PressCtrl(SDLK_x);
  EXPECT_TRUE(ExitDialogShown());
  EXPECT_FALSE(AboutPanelShown());
  Click(kNoButton);
  ASSERT_FALSE(ExitDialogShown());

  forma->SetFocus(&forma->Slika);
  PressCtrl(SDLK_r);
  EXPECT_TRUE(AboutPanelShown());
  EXPECT_FALSE(ExitDialogShown());
  Click(kCloseButton);
  ASSERT_FALSE(AboutPanelShown());

  forma->SetFocus(&forma->Slika);
  EXPECT_FALSE(SavedPictureExists());
  PressCtrl(SDLK_p);
  EXPECT_TRUE(SavedPictureExists());
  EXPECT_FALSE(ExitDialogShown());
  EXPECT_FALSE(AboutPanelShown());
}

TEST_F(Shortcuts, CapsLockDoesNotMatter) {
  TypeKey(SDLK_x, KMOD_LCTRL | KMOD_CAPS);
  EXPECT_TRUE(ExitDialogShown());
}

TEST_F(Shortcuts, OnlyCtrlAloneMakesAShortcut) {
  const std::uint16_t other_masks[] = {KMOD_NONE, KMOD_LCTRL | KMOD_LSHIFT, KMOD_LSHIFT,
                                       KMOD_RCTRL | KMOD_RSHIFT};
  for (std::uint16_t mask : other_masks) {
    for (SDL_Keycode key : {SDLK_p, SDLK_x, SDLK_r}) {
      SCOPED_TRACE(testing::Message() << "key " << key << " modifiers " << mask);
      TypeKey(key, mask);
      EXPECT_FALSE(ExitDialogShown());
      EXPECT_FALSE(AboutPanelShown());
      EXPECT_FALSE(SavedPictureExists());
    }
  }
  // Other letters with Ctrl do nothing either.
  PressCtrl(SDLK_q);
  PressCtrl(SDLK_a);
  EXPECT_FALSE(ExitDialogShown());
  EXPECT_FALSE(AboutPanelShown());
}

TEST_F(Shortcuts, TheWindowAndEveryMainScreenControlCarryThem) {
  std::vector<platform::PictureBox*> carriers = MainScreen(*forma);
  carriers.push_back(nullptr);  // the window itself
  for (platform::PictureBox* carrier : carriers) {
    SCOPED_TRACE(carrier ? carrier->Name() : "the window");
    forma->SetFocus(carrier);
    ASSERT_EQ(forma->ActiveControl(), carrier);
    PressCtrl(SDLK_r);
    EXPECT_TRUE(AboutPanelShown());
    Click(kCloseButton);
    ASSERT_FALSE(AboutPanelShown());
  }
}

TEST_F(Shortcuts, NothingWithTheFocusOnTheExitDialogsButtons) {
  PressCtrl(SDLK_x);
  ASSERT_TRUE(ExitDialogShown());
  for (Point button : {kYesButton, kNoButton}) {
    // A press takes the focus; released elsewhere it is no click.
    test_support::MoveMouse(button.x, button.y);
    test_support::PressMouse(button.x, button.y);
    test_support::ReleaseMouse(kExitBackground.x, kExitBackground.y);
    ASSERT_TRUE(forma->ActiveControl() == &forma->Da || forma->ActiveControl() == &forma->Ne);
    PressCtrl(SDLK_r);
    PressCtrl(SDLK_p);
    EXPECT_FALSE(AboutPanelShown());
    EXPECT_FALSE(SavedPictureExists());
    EXPECT_TRUE(ExitDialogShown());
  }
}

TEST_F(Shortcuts, CtrlXAgainOverTheOpenDialogChangesNothing) {
  PressCtrl(SDLK_x);
  ASSERT_TRUE(ExitDialogShown());
  // Every main-screen control is frozen, so the window itself holds the focus now.
  ASSERT_EQ(forma->ActiveControl(), nullptr);
  const std::vector<std::uint32_t> before(forma->Frame());
  PressCtrl(SDLK_x);
  EXPECT_EQ(forma->Frame(), before);
  Click(kNoButton);
  EXPECT_FALSE(ExitDialogShown());
  for (platform::PictureBox* c : MainScreen(*forma)) EXPECT_TRUE(c->Visible() && c->Enabled());
}

// A key-down as the desktop sends it; `repeat` marks one that the held key repeats.
void CtrlKey(bool down, SDL_Keycode key, bool repeat = false) {
  SDL_Event e{};
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.repeat = repeat ? 1 : 0;
  e.key.keysym.sym = key;
  e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
  e.key.keysym.mod = KMOD_LCTRL;
  SDL_PushEvent(&e);
  test_support::Pump();
}

TEST_F(Shortcuts, AHeldKeyStartsItsCommandOnceAndANewPressStartsItAgain) {
  struct Case {
    SDL_Keycode key;
    std::function<bool()> done;
    std::function<void()> undo;
  };
  const Case cases[] = {
      {SDLK_p, [&] { return SavedPictureExists(); },
       [&] { fs::remove(data->File("MY_PICTURE/01.GIF")); }},
      {SDLK_x, [&] { return ExitDialogShown(); }, [] { Click(kNoButton); }},
      {SDLK_r, [&] { return AboutPanelShown(); }, [] { Click(kCloseButton); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "key " << c.key);
    forma->SetFocus(&forma->Slika);
    CtrlKey(true, c.key);
    ASSERT_TRUE(c.done());
    c.undo();
    ASSERT_FALSE(c.done());
    forma->SetFocus(&forma->Slika);
    for (int repeat = 0; repeat < 3; ++repeat) CtrlKey(true, c.key, true);
    EXPECT_FALSE(c.done()) << "a repeat of the held key started the command again";
    CtrlKey(false, c.key);
    CtrlKey(true, c.key);
    EXPECT_TRUE(c.done()) << "a new press did nothing";
    CtrlKey(false, c.key);
    c.undo();
  }
}

}  // namespace
}  // namespace panels_test
