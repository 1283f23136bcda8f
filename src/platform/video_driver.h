#pragma once

namespace platform {

// Names SDL's video drivers for this session before video starts: on a Wayland session its
// Wayland backend, with X11 when Wayland cannot start. A driver the user named stays named.
void PreferSessionVideoDriver();
// Throws RuntimeError when SDL fell back on a driver that shows nothing on a desktop (its
// offscreen one when DISPLAY names no server) and the user did not name it.
void RequireVisibleVideoDriver();
// Whether SDL's running video driver is its Wayland backend.
bool OnWayland();

}  // namespace platform
