// The keyboard filter that keeps the desktop's own shortcuts away while the program runs,
// and the three shortcut keys that its main-screen controls and the window carry.
#include <algorithm>
#include <array>

#include "frame/error_trap.h"
#include "frame/forma_main.h"
#include "frame/module_state.h"

namespace {

// The two Windows keys, the application key and the generic Alt and Shift codes. The
// side-specific Shift codes are not here, so a Shift key reported by its side passes; Alt
// is caught by its flag.
constexpr std::array<std::uint32_t, 5> kSwallowedKeys = {0x5D, 0x5C, 0x5B, 0x12, 0x10};

constexpr platform::ShiftMask kOnlyCtrl = 2;
constexpr platform::KeyCode kKeyP = 80, kKeyX = 88, kKeyR = 82;

bool IsKeyMessage(std::int32_t message) {
  return message == platform::WM_KEYDOWN || message == platform::WM_SYSKEYDOWN ||
         message == platform::WM_KEYUP || message == platform::WM_SYSKEYUP;
}

}  // namespace

std::int32_t hook_tastature(std::int32_t nCode, std::int32_t wParam, std::intptr_t lParam) {
  bool swallow = false;
  if (nCode == platform::HC_ACTION && IsKeyMessage(wParam)) {
    platform::RtlMoveMemory(&dogadjaj_tastature, reinterpret_cast<const void*>(lParam),
                            sizeof dogadjaj_tastature);
    swallow = (dogadjaj_tastature.flags & platform::LLKHF_ALTDOWN) != 0 ||
              std::ranges::find(kSwallowedKeys, dogadjaj_tastature.vkCode) != kSwallowedKeys.end();
  }
  if (swallow) return -1;
  // The pass-on names no hook: the chain knows which filter runs now.
  return platform::CallNextHookEx(0, nCode, wParam, lParam);
}

void FormaMain::shortcut_keys(KeyCode key, ShiftMask Shift) {
  error_trap([&] {
    // Three separate tests: each is made whatever the one before did.
    if (key == kKeyP && Shift == kOnlyCtrl) stampanje_slike();
    if (key == kKeyX && Shift == kOnlyCtrl) prikazi_izlaz();
    if (key == kKeyR && Shift == kOnlyCtrl) prikazi_o_programu();
  });
}
