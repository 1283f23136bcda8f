// The keyboard filter: its decision for each key record, called as the platform calls it, and
// the same decisions for real key events of the window.
#include <gtest/gtest.h>

#include <vector>

#include "app_fixture.h"
#include "frame/module_state.h"
#include "platform/keyboard_hook.h"

namespace {

using platform::KBDLLHOOKSTRUCT;

// A filter installed before the program's own, so that it runs after it: it sees exactly
// what the program's filter passes on.
struct Passed {
  std::int32_t nCode, message;
  std::uint32_t vk, flags;
};
std::vector<Passed> g_passed;
constexpr std::int32_t kNextFilterResult = 7;

std::int32_t RecordPassedKey(std::int32_t nCode, std::int32_t message, std::intptr_t lParam) {
  const auto* record = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
  g_passed.push_back({nCode, message, record->vkCode, record->flags});
  return kNextFilterResult;
}

constexpr std::int32_t kDown = 0x100, kSysDown = 0x104, kUp = 0x101, kSysUp = 0x105;
constexpr std::uint32_t kAlt = 0x20, kReleased = 0x80;

struct Decision {
  const char* what;
  std::int32_t message;
  std::uint32_t vk, flags;
  bool swallowed;
};

const Decision kDecisions[] = {
    {"Alt+Tab press", kSysDown, 0x09, kAlt, true},
    {"Alt+Tab release", kSysUp, 0x09, kAlt | kReleased, true},
    {"Alt+F4 press", kSysDown, 0x73, kAlt, true},
    {"Alt+Esc release reported as a plain key-up", kUp, 0x1B, kAlt | kReleased, true},
    {"left Alt with its flag", kSysDown, 0xA4, kAlt, true},
    {"left Windows key press", kDown, 0x5B, 0, true},
    {"left Windows key release", kUp, 0x5B, kReleased, true},
    {"right Windows key", kDown, 0x5C, 0, true},
    {"application key release", kUp, 0x5D, kReleased, true},
    {"generic Alt code", kSysDown, 0x12, 0, true},
    {"generic Shift code press", kDown, 0x10, 0, true},
    {"generic Shift code release", kUp, 0x10, kReleased, true},
    {"left Shift by its side", kDown, 0xA0, 0, false},
    {"right Shift by its side, released", kUp, 0xA1, kReleased, false},
    {"left Alt without its flag", kDown, 0xA4, 0, false},
    {"Ctrl+Esc: Esc", kDown, 0x1B, 0, false},
    {"Ctrl by its side", kDown, 0xA2, 0, false},
    {"P", kDown, 0x50, 0, false},
    {"F10, a system key without Alt", kSysDown, 0x79, 0, false},
    {"a Windows key code in the high bits only", kDown, 0x1005B, 0, false},
    {"a message that is not a key event", 0x102, 0x5B, kAlt, false},
};

class KeyboardFilter : public ::testing::Test {
 protected:
  void SetUp() override {
    g_passed.clear();
    dogadjaj_tastature = {};
    next_ = platform::SetWindowsHookExA(platform::WH_KEYBOARD_LL, RecordPassedKey, 0, 0);
    ours_ = platform::SetWindowsHookExA(platform::WH_KEYBOARD_LL, hook_tastature, 0, 0);
  }
  void TearDown() override {
    platform::UnhookWindowsHookEx(ours_);
    platform::UnhookWindowsHookEx(next_);
  }
  platform::HHOOK next_ = 0, ours_ = 0;
};

TEST_F(KeyboardFilter, SwallowsOrPassesEachRecord) {
  for (const Decision& d : kDecisions) {
    SCOPED_TRACE(d.what);
    g_passed.clear();
    KBDLLHOOKSTRUCT record{d.vk, 0x2A, d.flags, 12345, 0};
    const std::int32_t result =
        hook_tastature(platform::HC_ACTION, d.message, reinterpret_cast<std::intptr_t>(&record));
    if (d.swallowed) {
      EXPECT_EQ(result, -1);
      EXPECT_TRUE(g_passed.empty()) << "a swallowed event reached the next filter";
    } else {
      EXPECT_EQ(result, kNextFilterResult);
      ASSERT_EQ(g_passed.size(), 1u);
      EXPECT_EQ(g_passed[0].message, d.message);
      EXPECT_EQ(g_passed[0].vk, d.vk);
    }
  }
}

TEST_F(KeyboardFilter, CopiesTheWholeRecordOfAnExaminedEvent) {
  KBDLLHOOKSTRUCT record{0xA0, 0x2A, 0x01, 987654, 0xCAFE};
  hook_tastature(platform::HC_ACTION, kDown, reinterpret_cast<std::intptr_t>(&record));
  EXPECT_EQ(dogadjaj_tastature.vkCode, 0xA0u);
  EXPECT_EQ(dogadjaj_tastature.scanCode, 0x2Au);
  EXPECT_EQ(dogadjaj_tastature.flags, 0x01u);
  EXPECT_EQ(dogadjaj_tastature.time, 987654u);
  EXPECT_EQ(dogadjaj_tastature.dwExtraInfo, 0xCAFEu);
}

TEST_F(KeyboardFilter, PassesAnotherCodeOnUnread) {
  dogadjaj_tastature = {1, 2, 3, 4, 5};
  // A Windows key with the Alt flag would be swallowed with code 0.
  KBDLLHOOKSTRUCT record{0x5B, 0, kAlt, 0, 0};
  for (std::int32_t code : {1, 3, -1}) {
    g_passed.clear();
    EXPECT_EQ(hook_tastature(code, kSysDown, reinterpret_cast<std::intptr_t>(&record)),
              kNextFilterResult);
    ASSERT_EQ(g_passed.size(), 1u);
    EXPECT_EQ(g_passed[0].nCode, code);
  }
  EXPECT_EQ(dogadjaj_tastature.vkCode, 1u);
  EXPECT_EQ(dogadjaj_tastature.dwExtraInfo, 5u);
}

// Real key events through the window, with the filter that start-up installed.
class KeyboardFilterInWindow : public test_support::AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    g_passed.clear();
    next_ = platform::SetWindowsHookExA(platform::WH_KEYBOARD_LL, RecordPassedKey, 0, 0);
    StartProgram();
    ASSERT_NE(forma->hook_id, 0);
    g_passed.clear();
  }
  void TearDown() override {
    AppTest::TearDown();
    platform::UnhookWindowsHookEx(next_);
  }
  bool Passes(SDL_Keycode key, std::uint16_t modifiers, bool down = true) {
    g_passed.clear();
    test_support::SendKey(down, key, modifiers);
    return !g_passed.empty();
  }
  platform::HHOOK next_ = 0;
};

TEST_F(KeyboardFilterInWindow, SwallowsTheDesktopKeysAndPassesTheRest) {
  EXPECT_FALSE(Passes(SDLK_LALT, KMOD_LALT));
  EXPECT_FALSE(Passes(SDLK_TAB, KMOD_LALT));
  EXPECT_FALSE(Passes(SDLK_TAB, KMOD_LALT, false));
  EXPECT_FALSE(Passes(SDLK_F4, KMOD_RALT));
  EXPECT_FALSE(Passes(SDLK_ESCAPE, KMOD_LALT, false));
  EXPECT_FALSE(Passes(SDLK_LGUI, KMOD_NONE));
  EXPECT_FALSE(Passes(SDLK_LGUI, KMOD_NONE, false));
  EXPECT_FALSE(Passes(SDLK_RGUI, KMOD_NONE));
  EXPECT_FALSE(Passes(SDLK_APPLICATION, KMOD_NONE));

  EXPECT_TRUE(Passes(SDLK_LSHIFT, KMOD_LSHIFT));
  EXPECT_TRUE(Passes(SDLK_RSHIFT, KMOD_NONE, false));
  EXPECT_TRUE(Passes(SDLK_LCTRL, KMOD_LCTRL));
  EXPECT_TRUE(Passes(SDLK_ESCAPE, KMOD_LCTRL));
  EXPECT_TRUE(Passes(SDLK_ESCAPE, KMOD_LCTRL, false));
  EXPECT_TRUE(Passes(SDLK_a, KMOD_NONE));
}

}  // namespace
