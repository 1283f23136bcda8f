#pragma once

struct SDL_Window;

namespace platform {

// The window handle that the Windows-side calls take (ShowWindow, SetCooperativeLevel...).
using HWND = SDL_Window*;

}  // namespace platform
