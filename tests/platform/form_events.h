#pragma once

#include "image.h"

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/picture.h"

// Real input for a form under test: each call pushes SDL events onto the queue and then runs
// one pass of the event loop, as the window system and the program's loop would.
namespace platform_test {

void Move(int x, int y, std::uint32_t sdl_buttons = 0);
void Press(int x, int y, std::uint8_t sdl_button = SDL_BUTTON_LEFT);
void Release(int x, int y, std::uint8_t sdl_button = SDL_BUTTON_LEFT);
void Click(int x, int y);
void Key(bool down, SDL_Keycode key, std::uint16_t modifiers = KMOD_NONE);
void Type(SDL_Keycode key, std::uint16_t modifiers = KMOD_NONE);
// Pushes one event without running the loop, for events that must arrive during a wait.
void Queue(const SDL_Event& event);
SDL_Event ButtonEvent(bool down, int x, int y, std::uint8_t sdl_button = SDL_BUTTON_LEFT);

using test_support::Solid;
std::uint32_t PixelAt(platform::Form& form, int x, int y);

// Every handler call a test listens to, as "who:event" in arrival order.
struct Journal {
  std::vector<std::string> entries;
  void Listen(platform::Control& control);
  void Listen(platform::Form& form);
  void Clear() { entries.clear(); }
};

}  // namespace platform_test
