#include "platform/keyboard_hook.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/failure.h"
#include "platform/wayland_shortcuts.h"
#include "platform/x11_keyboard_grab.h"

namespace platform {
namespace {

// How long to ask for the keyboard before giving up: the window manager may hold it for a
// moment while it handles a key, and a window is not viewable until it has mapped its frame.
constexpr Uint64 kGrabPatienceMs = 3000;

struct Installed {
  HHOOK handle;
  HOOKPROC procedure;
};

std::vector<Installed> g_chain;  // the newest filter first
HHOOK g_next_handle = 0x5100;
std::size_t g_running = 0;  // index of the filter that runs now
HWND g_grab_window = nullptr;

std::int32_t CallFrom(std::size_t index, std::int32_t nCode, std::int32_t wParam,
                      std::intptr_t lParam) {
  if (index >= g_chain.size()) return 0;
  const std::size_t outer = g_running;
  g_running = index;
  std::int32_t result = 0;
  try {
    result = g_chain[index].procedure(nCode, wParam, lParam);
  } catch (...) {
    result = 0;
  }
  g_running = outer;
  return result;
}

struct X11Window {
  Display* display;
  Window window;
};

// SDL's own connection and window, when the window is on X11.
std::optional<X11Window> OnX11(HWND window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
    return std::nullopt;
  }
  return X11Window{info.info.x11.display, info.info.x11.window};
}

// Asks until the server grants the keyboard to that window or the moment has passed; when
// this program already holds it, a grant only moves it there, and a refusal leaves it where
// it was.
bool GrabUntilGranted(const X11Window& x, Window grab_window, Uint64 until) {
  while (!HoldX11Keyboard(x.display, x.window, grab_window)) {
    if (SDL_GetTicks64() >= until) return false;
    SDL_Delay(10);
  }
  return true;
}

int MapState(Display* display, Window window) {
  XWindowAttributes attributes;
  if (XGetWindowAttributes(display, window, &attributes) == 0) return IsUnmapped;
  return attributes.map_state;
}

// Waits until the window manager has put the window on screen, or the moment has passed.
bool WaitUntilViewable(Display* display, Window window, Uint64 until) {
  while (MapState(display, window) != IsViewable) {
    if (SDL_GetTicks64() >= until) return false;
    SDL_Delay(10);
  }
  return true;
}

}  // namespace

HHOOK SetWindowsHookExA(std::int32_t hook_type, HOOKPROC procedure, std::intptr_t, std::int32_t) {
  if (hook_type != WH_KEYBOARD_LL || procedure == nullptr) return 0;
  const HHOOK handle = g_next_handle++;
  g_chain.insert(g_chain.begin(), Installed{handle, procedure});
  if (g_grab_window != nullptr) UpdateKeyboardGrab(g_grab_window);
  return handle;
}

std::int32_t CallNextHookEx(HHOOK, std::int32_t nCode, std::int32_t wParam, std::intptr_t lParam) {
  return CallFrom(g_running + 1, nCode, wParam, lParam);
}

std::int32_t UnhookWindowsHookEx(HHOOK hook) {
  auto it = std::find_if(g_chain.begin(), g_chain.end(),
                         [hook](const Installed& i) { return i.handle == hook; });
  if (it == g_chain.end()) return 0;
  g_chain.erase(it);
  if (g_grab_window != nullptr) UpdateKeyboardGrab(g_grab_window);
  return 1;
}

void RtlMoveMemory(void* destination, const void* source, std::size_t length) {
  std::memmove(destination, source, length);
}

std::intptr_t AppInstance() { return 0x400000; }

bool FilterKeyEvent(std::int32_t message, KBDLLHOOKSTRUCT record) {
  if (g_chain.empty()) return false;
  return CallFrom(0, HC_ACTION, message, reinterpret_cast<std::intptr_t>(&record)) != 0;
}

bool KeyboardFilterInstalled() { return !g_chain.empty(); }

void UpdateKeyboardGrab(HWND window) {
  g_grab_window = window;
  if (window == nullptr) {
    CloseX11Keyboard();
    return;
  }
  // Full screen or not: where the display has no mode of the program's size the window stays
  // a window, and the desktop's shortcuts must not reach the window manager either. While
  // minimised (a web page opened) the keyboard belongs to the desktop.
  const Uint32 flags = SDL_GetWindowFlags(window);
  const bool on_screen = (flags & SDL_WINDOW_SHOWN) != 0 && (flags & SDL_WINDOW_MINIMIZED) == 0;
  const bool hold = on_screen && !g_chain.empty();
  const auto x = OnX11(window);
  if (!x) {
    SDL_SetWindowKeyboardGrab(window, hold ? SDL_TRUE : SDL_FALSE);
    if (hold) SayWhenShortcutsStayActive(window);
    return;
  }
  // On X11 the grab is asked for whatever has the focus, so that it is held before the
  // window manager hands the focus back; SDL's own grab stays off, as it would compete.
  if (hold) {
    HoldX11Keyboard(x->display, x->window, x->window);
  } else {
    ReleaseX11Keyboard();
  }
}

void ShowWindowHoldingKeyboard(HWND window) {
  const bool hold = !g_chain.empty() && (SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN) == 0;
  const auto x = OnX11(window);
  if (!x) {
    // SDL lets the keyboard go whenever it is told to hold it without the focus: told now,
    // while there is nothing to let go, it later holds it with the focus instead.
    if (hold) SDL_SetWindowKeyboardGrab(window, SDL_TRUE);
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
    UpdateKeyboardGrab(window);
    return;
  }
  const Uint64 until = SDL_GetTicks64() + kGrabPatienceMs;
  // Held on the root window until the window can take it: a key pressed while the window
  // appears reaches this program, not the window manager's shortcuts.
  if (hold && !GrabUntilGranted(*x, DefaultRootWindow(x->display), until)) {
    Report("the keyboard could not be held: the X server did not grant it");
  }
  // SDL's own showing waits for the window to map, without end: a window manager may keep
  // it minimised or on another desktop. Mapped here, SDL hears of it from the map itself,
  // now or whenever the window manager lets the window appear.
  XMapRaised(x->display, x->window);
  XFlush(x->display);
  const bool viewable = WaitUntilViewable(x->display, x->window, until);
  if (MapState(x->display, x->window) != IsUnmapped) {
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
  }
  if (viewable) {
    if (hold && !GrabUntilGranted(*x, x->window, until)) {
      Report("the keyboard could not be held: the X server did not grant it");
    }
  } else if (hold) {
    // Nothing of the program is on screen: the keyboard stays the desktop's until the
    // window appears, and its focus takes the keyboard then.
    ReleaseX11Keyboard();
    Report(
        "the window manager keeps the window off the screen; the keyboard is left to the "
        "desktop until it is shown");
  }
  UpdateKeyboardGrab(window);
}

}  // namespace platform
