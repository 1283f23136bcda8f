#pragma once

#include <X11/Xlib.h>

namespace platform {

// The keyboard grab on X11, held on an X connection of this program's own rather than on
// SDL's: grabs belong to a connection, so none of SDL's own releases (it lets the keyboard go
// whenever the pointer crosses the window's edge or the focus moves) can end it, however SDL
// reaches libX11. The server sends the grabbed keys to that connection, and a thread hands
// each one on to SDL's window, where SDL reads it as it reads any key. The server ends the
// grab with the connection, so a killed program leaves the keyboard free.
//
// Hold asks for the keyboard on `grab_window` (the window itself, or the root while the
// window appears) for keys to go to `target`, SDL's window on `display`; true when granted.
// Called again it moves the grab. Release lets it go; Close also ends the connection.
bool HoldX11Keyboard(Display* display, Window target, Window grab_window);
void ReleaseX11Keyboard();
void CloseX11Keyboard();

}  // namespace platform
