#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/window_handle.h"

namespace platform {

constexpr std::int32_t WH_KEYBOARD_LL = 13;
constexpr std::int32_t HC_ACTION = 0;
constexpr std::int32_t WM_KEYDOWN = 0x100;
constexpr std::int32_t WM_KEYUP = 0x101;
constexpr std::int32_t WM_SYSKEYDOWN = 0x104;
constexpr std::int32_t WM_SYSKEYUP = 0x105;
constexpr std::uint32_t LLKHF_ALTDOWN = 0x20;
constexpr std::uint32_t LLKHF_UP = 0x80;

// The key record a low-level keyboard filter is handed: five 32-bit fields, 20 bytes.
struct KBDLLHOOKSTRUCT {
  std::uint32_t vkCode;
  std::uint32_t scanCode;
  std::uint32_t flags;
  std::uint32_t time;
  std::uint32_t dwExtraInfo;
};
static_assert(sizeof(KBDLLHOOKSTRUCT) == 20);

// A filter: nCode, the key message, the address of the key record. Non-zero swallows the event.
using HOOKPROC = std::int32_t (*)(std::int32_t nCode, std::int32_t wParam, std::intptr_t lParam);
using HHOOK = std::int32_t;

// Installs a keyboard filter ahead of those already installed; gives its handle, or 0 when
// the hook type is not the low-level keyboard one. On Linux it sees the key events of this
// program's window only.
HHOOK SetWindowsHookExA(std::int32_t hook_type, HOOKPROC procedure, std::intptr_t module,
                        std::int32_t thread_id);
// Hands the event to the filter after the one running now; 0 when it is the last.
std::int32_t CallNextHookEx(HHOOK hook, std::int32_t nCode, std::int32_t wParam,
                            std::intptr_t lParam);
// Removes a filter; 0 when no filter has that handle.
std::int32_t UnhookWindowsHookEx(HHOOK hook);
void RtlMoveMemory(void* destination, const void* source, std::size_t length);
// The running program's module handle, as SetWindowsHookExA takes it.
std::intptr_t AppInstance();

// Runs the installed filters on one key event of the window; true when it was swallowed.
bool FilterKeyEvent(std::int32_t message, KBDLLHOOKSTRUCT record);
bool KeyboardFilterInstalled();
// Grabs the keyboard while a filter is installed and the window is shown and not minimised,
// so that the desktop's own shortcuts reach the filters instead of the window manager.
void UpdateKeyboardGrab(HWND window);
// Shows the window and raises it. With a filter installed the keyboard is held from before
// the window appears: on X11 it is grabbed for this program first, and returns once the
// grab is on the shown window, after a few seconds at most. A window the window manager
// keeps off the screen for longer (minimised, or on another desktop) leaves the keyboard
// to the desktop, with a line on stderr, until it appears and takes the focus.
void ShowWindowHoldingKeyboard(HWND window);

}  // namespace platform
