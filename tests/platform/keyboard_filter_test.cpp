// The low-level keyboard filters as the window's real key events reach them: message kinds,
// key records, the chain's order, swallowing and removal; and the virtual-key numbering.
#include <gtest/gtest.h>

#include <stdexcept>

#include "form_events.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/keyboard_hook.h"
#include "platform/virtual_keys.h"

namespace {

using namespace platform;
using platform_test::Key;
using platform_test::Type;
using Entries = std::vector<std::string>;

struct Call {
  int filter;
  std::int32_t n_code, message;
  std::uint32_t vk, flags;
  bool operator==(const Call&) const = default;
};
void PrintTo(const Call& c, std::ostream* os) {
  *os << "filter " << c.filter << " code " << c.n_code << std::hex << " message 0x" << c.message
      << " vk 0x" << c.vk << " flags 0x" << c.flags << std::dec;
}
std::vector<Call> g_calls;
std::uint32_t g_older_swallows = 0, g_newer_swallows = 0;  // a virtual key, 0 for none

std::int32_t Filter(int id, std::uint32_t swallows, std::int32_t n, std::int32_t w,
                    std::intptr_t l) {
  KBDLLHOOKSTRUCT record;
  RtlMoveMemory(&record, reinterpret_cast<const void*>(l), sizeof record);
  g_calls.push_back({id, n, w, record.vkCode, record.flags});
  if (record.vkCode == swallows) return -1;
  return CallNextHookEx(0, n, w, l);
}
std::int32_t Older(std::int32_t n, std::int32_t w, std::intptr_t l) {
  return Filter(1, g_older_swallows, n, w, l);
}
std::int32_t Newer(std::int32_t n, std::int32_t w, std::intptr_t l) {
  return Filter(2, g_newer_swallows, n, w, l);
}
std::int32_t Throwing(std::int32_t, std::int32_t, std::intptr_t) {
  throw std::runtime_error("filter failed");
}

class Installed {
 public:
  explicit Installed(HOOKPROC p)
      : handle_(SetWindowsHookExA(WH_KEYBOARD_LL, p, AppInstance(), 0)) {}
  ~Installed() { Remove(); }
  int Remove() {
    const int removed = handle_ != 0 ? UnhookWindowsHookEx(handle_) : 0;
    handle_ = 0;
    return removed;
  }
  HHOOK handle() const { return handle_; }

 private:
  HHOOK handle_;
};

class KeyboardFilter : public ::testing::Test {
 protected:
  KeyboardFilter() {
    g_calls.clear();
    g_older_swallows = g_newer_swallows = 0;
    form.Add(box);
    form.Add(other);
    journal.Listen(box);
    form.Show();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }
  ~KeyboardFilter() override { EXPECT_FALSE(KeyboardFilterInstalled()); }

  PictureBox box{"box", 0, 0, 20, 20, 0};
  PictureBox other{"other", 30, 0, 20, 20, 1};
  Form form{"keys", 60, 20};
  platform_test::Journal journal;
};

TEST_F(KeyboardFilter, SeesEachKeyEventAsItsWindowsMessageAndRecord) {
  struct Case {
    SDL_Keycode key;
    std::uint16_t modifiers;
    bool down;
    std::int32_t message;
    std::uint32_t vk, flags;
  };
  const Case cases[] = {
      {SDLK_a, KMOD_NONE, true, WM_KEYDOWN, 0x41, 0},
      {SDLK_a, KMOD_CAPS, false, WM_KEYUP, 0x41, LLKHF_UP},
      {SDLK_TAB, KMOD_LALT, true, WM_SYSKEYDOWN, 0x09, LLKHF_ALTDOWN},
      {SDLK_TAB, KMOD_LALT, false, WM_SYSKEYUP, 0x09, LLKHF_ALTDOWN | LLKHF_UP},
      {SDLK_F4, KMOD_RALT, true, WM_SYSKEYDOWN, 0x73, LLKHF_ALTDOWN},
      {SDLK_F10, KMOD_NONE, true, WM_SYSKEYDOWN, 0x79, 0},
      {SDLK_ESCAPE, KMOD_LCTRL, true, WM_KEYDOWN, 0x1B, 0},
      {SDLK_LALT, KMOD_LALT, true, WM_SYSKEYDOWN, 0xA4, LLKHF_ALTDOWN},
      {SDLK_LALT, KMOD_NONE, false, WM_KEYUP, 0xA4, LLKHF_UP},
      {SDLK_RSHIFT, KMOD_RSHIFT, true, WM_KEYDOWN, 0xA1, 0},
      {SDLK_LGUI, KMOD_LGUI, true, WM_KEYDOWN, 0x5B, 0},
      {SDLK_APPLICATION, KMOD_NONE, false, WM_KEYUP, 0x5D, LLKHF_UP},
  };
  Installed filter(Older);
  for (const Case& c : cases) {
    SCOPED_TRACE(SDL_GetKeyName(c.key) + std::string(c.down ? " down" : " up"));
    g_calls.clear();
    Key(c.down, c.key, c.modifiers);
    EXPECT_EQ(g_calls, (std::vector<Call>{{1, HC_ACTION, c.message, c.vk, c.flags}}));
  }
}

TEST_F(KeyboardFilter, SwallowedEventReachesNoHandlerWhilePassedOnEventsDo) {
  Installed filter(Older);
  g_older_swallows = VK_TAB;
  Type(SDLK_TAB);
  EXPECT_EQ(form.ActiveControl(), &box) << "a swallowed Tab moved the focus";
  g_older_swallows = 0x41;
  Type(SDLK_a);
  Type(SDLK_b, KMOD_LCTRL);
  EXPECT_EQ(journal.entries, Entries{"box:key66/2"});
}

TEST_F(KeyboardFilter, ChainRunsNewestFirstAndEndsAtTheFilterThatSwallows) {
  Installed older(Older), newer(Newer);
  Key(true, SDLK_c);
  g_older_swallows = 0x43;
  Key(true, SDLK_c);
  g_newer_swallows = 0x43;
  Key(true, SDLK_c);
  const std::vector<Call> expected = {
      {2, 0, WM_KEYDOWN, 0x43, 0}, {1, 0, WM_KEYDOWN, 0x43, 0},  // passed on by both
      {2, 0, WM_KEYDOWN, 0x43, 0}, {1, 0, WM_KEYDOWN, 0x43, 0},  // the older one swallows
      {2, 0, WM_KEYDOWN, 0x43, 0},                               // the newer one swallows
  };
  EXPECT_EQ(g_calls, expected);
  EXPECT_EQ(journal.entries, Entries{"box:key67/0"});
}

TEST_F(KeyboardFilter, RemovedFilterRunsNoMore) {
  Installed older(Older), newer(Newer);
  const HHOOK newer_handle = newer.handle();
  EXPECT_NE(newer_handle, 0);
  EXPECT_NE(newer_handle, older.handle());
  EXPECT_EQ(newer.Remove(), 1);
  EXPECT_EQ(UnhookWindowsHookEx(newer_handle), 0) << "a second removal must fail";
  EXPECT_EQ(SetWindowsHookExA(WH_KEYBOARD_LL + 1, Older, AppInstance(), 0), 0);
  Key(true, SDLK_d);
  EXPECT_EQ(g_calls, (std::vector<Call>{{1, 0, WM_KEYDOWN, 0x44, 0}}));
  EXPECT_EQ(older.Remove(), 1);
  EXPECT_FALSE(KeyboardFilterInstalled());
  g_calls.clear();
  Key(true, SDLK_d);
  EXPECT_TRUE(g_calls.empty());
  EXPECT_EQ(journal.entries, (Entries{"box:key68/0", "box:key68/0"}));
}

TEST_F(KeyboardFilter, FailingFilterSwallowsNothing) {
  Installed filter(Throwing);
  Type(SDLK_e);
  EXPECT_EQ(journal.entries, Entries{"box:key69/0"});
}

TEST(VirtualKeys, FiltersSeeSidedModifiersAndHandlersSeeGenericOnes) {
  struct Row {
    SDL_Keycode key;
    std::uint32_t filter;
    std::int16_t handler;
  };
  const Row rows[] = {
      {SDLK_a, 0x41, 0x41},         {SDLK_p, 0x50, 0x50},           {SDLK_z, 0x5A, 0x5A},
      {SDLK_0, 0x30, 0x30},         {SDLK_9, 0x39, 0x39},           {SDLK_F1, 0x70, 0x70},
      {SDLK_F10, 0x79, 0x79},       {SDLK_F12, 0x7B, 0x7B},         {SDLK_BACKSPACE, 0x08, 0x08},
      {SDLK_TAB, 0x09, 0x09},       {SDLK_RETURN, 0x0D, 0x0D},      {SDLK_KP_ENTER, 0x0D, 0x0D},
      {SDLK_ESCAPE, 0x1B, 0x1B},    {SDLK_SPACE, 0x20, 0x20},       {SDLK_PAGEUP, 0x21, 0x21},
      {SDLK_HOME, 0x24, 0x24},      {SDLK_LEFT, 0x25, 0x25},        {SDLK_DOWN, 0x28, 0x28},
      {SDLK_INSERT, 0x2D, 0x2D},    {SDLK_DELETE, 0x2E, 0x2E},      {SDLK_KP_0, 0x60, 0x60},
      {SDLK_KP_9, 0x69, 0x69},      {SDLK_KP_MULTIPLY, 0x6A, 0x6A}, {SDLK_NUMLOCKCLEAR, 0x90, 0x90},
      {SDLK_LSHIFT, 0xA0, 0x10},    {SDLK_RSHIFT, 0xA1, 0x10},      {SDLK_LCTRL, 0xA2, 0x11},
      {SDLK_RCTRL, 0xA3, 0x11},     {SDLK_LALT, 0xA4, 0x12},        {SDLK_RALT, 0xA5, 0x12},
      {SDLK_LGUI, 0x5B, 0x5B},      {SDLK_RGUI, 0x5C, 0x5C},        {SDLK_APPLICATION, 0x5D, 0x5D},
      {SDLK_SEMICOLON, 0xBA, 0xBA}, {SDLK_EQUALS, 0xBB, 0xBB},      {SDLK_MINUS, 0xBD, 0xBD},
      {SDLK_SLASH, 0xBF, 0xBF},     {SDLK_BACKQUOTE, 0xC0, 0xC0},   {SDLK_QUOTE, 0xDE, 0xDE},
      {SDLK_LESS, 0xE2, 0xE2},      {SDLK_UNKNOWN, 0, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(SDL_GetKeyName(r.key));
    EXPECT_EQ(VirtualKeyForFilter(r.key), r.filter);
    EXPECT_EQ(KeyCodeForHandler(r.key), r.handler);
  }
}

// On a Cyrillic layout the letter keys carry no Latin key codes; their virtual keys follow
// the key's place on the keyboard, so Ctrl+P still reads as Ctrl+P.
TEST_F(KeyboardFilter, LetterOfANonLatinLayoutIsNamedByItsPlace) {
  Installed filter(Older);
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.keysym.sym = 0x43F;  // the Cyrillic letter on the P key
  e.key.keysym.scancode = SDL_SCANCODE_P;
  e.key.keysym.mod = KMOD_LCTRL;
  platform_test::Queue(e);
  DoEvents();
  EXPECT_EQ(g_calls, (std::vector<Call>{{1, 0, WM_KEYDOWN, 0x50, 0}}));
  EXPECT_EQ(journal.entries, Entries{"box:key80/2"});
}

}  // namespace
