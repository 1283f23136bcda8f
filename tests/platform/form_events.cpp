#include "form_events.h"

#include <memory>

namespace platform_test {

void Queue(const SDL_Event& event) {
  SDL_Event copy = event;
  SDL_PushEvent(&copy);
}

SDL_Event ButtonEvent(bool down, int x, int y, std::uint8_t sdl_button) {
  SDL_Event e{};
  e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.button = sdl_button;
  e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.button.clicks = 1;
  e.button.x = x;
  e.button.y = y;
  return e;
}

void Move(int x, int y, std::uint32_t sdl_buttons) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.x = x;
  e.motion.y = y;
  e.motion.state = sdl_buttons;
  Queue(e);
  platform::DoEvents();
}

void Press(int x, int y, std::uint8_t sdl_button) {
  Queue(ButtonEvent(true, x, y, sdl_button));
  platform::DoEvents();
}

void Release(int x, int y, std::uint8_t sdl_button) {
  Queue(ButtonEvent(false, x, y, sdl_button));
  platform::DoEvents();
}

void Click(int x, int y) {
  Press(x, y);
  Release(x, y);
}

void Key(bool down, SDL_Keycode key, std::uint16_t modifiers) {
  SDL_Event e{};
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.sym = key;
  e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
  e.key.keysym.mod = modifiers;
  Queue(e);
  platform::DoEvents();
}

void Type(SDL_Keycode key, std::uint16_t modifiers) {
  Key(true, key, modifiers);
  Key(false, key, modifiers);
}

std::uint32_t PixelAt(platform::Form& form, int x, int y) {
  return form.Frame()[static_cast<std::size_t>(y) * form.ClientWidth() + x];
}

namespace {

std::string Pos(float x, float y) {
  // Appended to, not a literal put before a temporary string: GCC 12 warns falsely of that
  // (-Wrestrict).
  std::string text = "(";
  text.append(std::to_string(static_cast<int>(x))).append(",");
  return text.append(std::to_string(static_cast<int>(y))).append(")");
}

}  // namespace

void Journal::Listen(platform::Control& c) {
  const std::string n = c.Name();
  c.MouseMove = [this, n](std::int16_t b, std::int16_t, float x, float y) {
    entries.push_back(n + ":move" + std::to_string(b) + Pos(x, y));
  };
  c.MouseDown = [this, n](std::int16_t b, std::int16_t, float x, float y) {
    entries.push_back(n + ":down" + std::to_string(b) + Pos(x, y));
  };
  c.MouseUp = [this, n](std::int16_t b, std::int16_t, float x, float y) {
    entries.push_back(n + ":up" + std::to_string(b) + Pos(x, y));
  };
  c.Click = [this, n] { entries.push_back(n + ":click"); };
  c.KeyDown = [this, n](std::int16_t k, std::int16_t s) {
    entries.push_back(n + ":key" + std::to_string(k) + "/" + std::to_string(s));
  };
}

void Journal::Listen(platform::Form& f) {
  f.MouseMove = [this](std::int16_t b, std::int16_t, float x, float y) {
    entries.push_back("form:move" + std::to_string(b) + Pos(x, y));
  };
  f.MouseDown = [this](std::int16_t b, std::int16_t, float x, float y) {
    entries.push_back("form:down" + std::to_string(b) + Pos(x, y));
  };
  f.KeyDown = [this](std::int16_t k, std::int16_t s) {
    entries.push_back("form:key" + std::to_string(k) + "/" + std::to_string(s));
  };
}

}  // namespace platform_test
