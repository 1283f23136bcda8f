#include "platform/wayland_shortcuts.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <wayland-client.h>

#include <cstring>

#include "platform/failure.h"

namespace platform {
namespace {

// SDL uses the protocol when it is there, but tells nothing of whether it is.
constexpr const char* kInhibitManager = "zwp_keyboard_shortcuts_inhibit_manager_v1";

void Announced(void* found, wl_registry*, std::uint32_t, const char* interface, std::uint32_t) {
  if (std::strcmp(interface, kInhibitManager) == 0) *static_cast<bool*>(found) = true;
}
void Withdrawn(void*, wl_registry*, std::uint32_t) {}
const wl_registry_listener kListener{Announced, Withdrawn};

bool CompositorOffersInhibit(wl_display* display) {
  // A queue of its own, so that SDL's event handling never meets this registry.
  wl_event_queue* queue = wl_display_create_queue(display);
  if (queue == nullptr) return true;
  auto* wrapper = static_cast<wl_display*>(wl_proxy_create_wrapper(display));
  bool found = false;
  if (wrapper != nullptr) {
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapper), queue);
    wl_registry* registry = wl_display_get_registry(wrapper);
    wl_proxy_wrapper_destroy(wrapper);
    wl_registry_add_listener(registry, &kListener, &found);
    // A compositor that cannot answer is one that holds nothing either.
    wl_display_roundtrip_queue(display, queue);
    wl_registry_destroy(registry);
  }
  wl_event_queue_destroy(queue);
  return found;
}

}  // namespace

void SayWhenShortcutsStayActive(HWND window) {
  static bool checked = false;
  if (checked || window == nullptr) return;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_WAYLAND) {
    return;
  }
  checked = true;
  if (!CompositorOffersInhibit(info.info.wl.display)) {
    Report(
        "the desktop's own shortcuts stay active: the compositor lets no program hold the "
        "keyboard");
  }
}

}  // namespace platform
