#include "platform/display.h"

#include <SDL.h>

#include <string>

#include "platform/failure.h"
#include "platform/keyboard_hook.h"
#include "platform/video_driver.h"

namespace platform {
namespace {

struct WindowPlacement {
  Uint32 fullscreen_flags = 0;
  int x = 0, y = 0, width = 0, height = 0;
};

WindowPlacement PlacementOf(SDL_Window* window) {
  WindowPlacement p;
  p.fullscreen_flags =
      SDL_GetWindowFlags(window) & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_FULLSCREEN_DESKTOP);
  SDL_GetWindowPosition(window, &p.x, &p.y);
  SDL_GetWindowSize(window, &p.width, &p.height);
  return p;
}

void PutBack(SDL_Window* window, const WindowPlacement& p) {
  SDL_SetWindowFullscreen(window, p.fullscreen_flags);
  if (p.fullscreen_flags == 0) {
    SDL_SetWindowSize(window, p.width, p.height);
    SDL_SetWindowPosition(window, p.x, p.y);
  }
}

// SDL's Wayland backend emulates a mode by scaling the full-screen window to the output,
// whose own mode it goes on reporting: there the window's size is the mode in force.
void WaylandModeInForce(SDL_Window* window, SDL_DisplayMode* mode) {
  if ((SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) == 0) return;
  SDL_GetWindowSizeInPixels(window, &mode->w, &mode->h);
}

}  // namespace

void DirectDraw7::SetCooperativeLevel(HWND window, std::int32_t) {
  if (window == nullptr) throw RuntimeError("no window for the display mode");
  window_ = window;
}

void DirectDraw7::SetDisplayMode(std::int32_t width, std::int32_t height, std::int32_t,
                                 std::int32_t, std::int32_t) {
  if (window_ == nullptr) throw RuntimeError("display mode set before naming its window");
  const WindowPlacement before = PlacementOf(window_);
  watch_.Start();
  // The display chooses the nearest mode it has and reports success, so the mode in force
  // afterwards is what decides.
  SDL_DisplayMode wanted{SDL_PIXELFORMAT_UNKNOWN, width, height, 0, nullptr};
  SDL_DisplayMode current{};
  const bool switched =
      SDL_SetWindowDisplayMode(window_, &wanted) == 0 &&
      SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN) == 0 &&
      SDL_GetCurrentDisplayMode(SDL_GetWindowDisplayIndex(window_), &current) == 0;
  if (switched && OnWayland()) WaylandModeInForce(window_, &current);
  if (!switched || current.w != width || current.h != height) {
    PutBack(window_, before);
    watch_.Done();
    throw RuntimeError("the display has no " + std::to_string(width) + " x " +
                       std::to_string(height) + " mode");
  }
  mode_set_ = true;
  watch_.ModeSet();
  UpdateKeyboardGrab(window_);
}

std::shared_ptr<DirectDrawSurface7> DirectDraw7::CreateSurface(DDSURFACEDESC2& description) {
  if ((description.lFlags & DDSD_CAPS) == 0 ||
      (description.ddsCaps.lCaps & DDSCAPS_PRIMARYSURFACE) == 0) {
    throw RuntimeError("only the primary surface can be made");
  }
  return std::make_shared<DirectDrawSurface7>();
}

void DirectDraw7::RestoreDisplayMode() {
  if (!mode_set_) return;
  mode_set_ = false;
  SDL_SetWindowFullscreen(window_, 0);
  watch_.Done();
  UpdateKeyboardGrab(window_);
}

}  // namespace platform
