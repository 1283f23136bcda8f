#include "platform/video_driver.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/failure.h"

namespace platform {
namespace {

const char* Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : nullptr;
}

bool Running(const char* driver) {
  const char* current = SDL_GetCurrentVideoDriver();
  return current != nullptr && std::strcmp(current, driver) == 0;
}

}  // namespace

void PreferSessionVideoDriver() {
  if (Variable("SDL_VIDEODRIVER") != nullptr || Variable("WAYLAND_DISPLAY") == nullptr) return;
  // Through Xwayland an X11 grab holds nothing against the compositor's own shortcuts.
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "wayland,x11");
}

void RequireVisibleVideoDriver() {
  if (Variable("SDL_VIDEODRIVER") != nullptr || Running("x11") || Running("wayland")) return;
  std::string unreached;
  for (const char* name : {"WAYLAND_DISPLAY", "DISPLAY"}) {
    const char* value = Variable(name);
    if (value == nullptr) continue;
    unreached += (unreached.empty() ? "" : " or ") + std::string(name) + "=" + value;
  }
  if (unreached.empty()) unreached = "(none is named)";
  throw RuntimeError("cannot reach the display " + unreached + ", so the window would not be seen");
}

bool OnWayland() { return Running("wayland"); }

}  // namespace platform
