#pragma once

#include "platform/window_handle.h"

namespace platform {

// On Wayland the keyboard is held against the compositor's shortcuts only where the
// compositor offers the shortcut-inhibit protocol; where it does not, says once on stderr
// that the desktop's own shortcuts stay active. Does nothing for a window off Wayland.
void SayWhenShortcutsStayActive(HWND window);

}  // namespace platform
