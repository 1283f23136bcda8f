#pragma once

#include <cstdint>
#include <memory>

#include "platform/display_watch.h"
#include "platform/window_handle.h"

namespace platform {

constexpr std::int32_t DDSCL_FULLSCREEN = 1;
constexpr std::int32_t DDSCL_EXCLUSIVE = 16;
constexpr std::int32_t DDSD_CAPS = 1;
constexpr std::int32_t DDSCAPS_PRIMARYSURFACE = 0x200;

struct DDSURFACEDESC2 {
  std::int32_t lFlags = 0;
  struct {
    std::int32_t lCaps = 0;
  } ddsCaps;
};

// The screen itself: the window draws it, so the surface only stands for the request.
class DirectDrawSurface7 {};

// Switches the display mode for the program's window, full screen.
class DirectDraw7 {
 public:
  // Names the window that the display mode is for; it always goes exclusive full screen.
  void SetCooperativeLevel(HWND window, std::int32_t flags);
  // Puts the window full screen at a real display mode of that size. The colour depth and
  // refresh rate are the desktop's own. When that size is not what the display shows
  // afterwards, the window goes back to what it was and the call fails. On X11 a watcher
  // gives the desktop its configuration back should the program end in that mode.
  void SetDisplayMode(std::int32_t width, std::int32_t height, std::int32_t bpp,
                      std::int32_t refresh, std::int32_t flags);
  // Only the primary surface can be made; anything else fails.
  std::shared_ptr<DirectDrawSurface7> CreateSurface(DDSURFACEDESC2& description);
  // Gives the desktop its own mode back by leaving full screen. With no mode set nothing
  // happens.
  void RestoreDisplayMode();

 private:
  HWND window_ = nullptr;
  bool mode_set_ = false;
  DisplayWatch watch_;
};

}  // namespace platform
