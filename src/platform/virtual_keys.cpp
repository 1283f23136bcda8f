#include "platform/virtual_keys.h"

#include <SDL.h>

#include <array>
#include <utility>

namespace platform {
namespace {

constexpr std::array<std::pair<SDL_Keycode, std::uint32_t>, 63> kKeys = {{
    {SDLK_BACKSPACE, 0x08},   {SDLK_TAB, 0x09},          {SDLK_RETURN, 0x0D},
    {SDLK_PAUSE, 0x13},       {SDLK_CAPSLOCK, 0x14},     {SDLK_ESCAPE, 0x1B},
    {SDLK_SPACE, 0x20},       {SDLK_PAGEUP, 0x21},       {SDLK_PAGEDOWN, 0x22},
    {SDLK_END, 0x23},         {SDLK_HOME, 0x24},         {SDLK_LEFT, 0x25},
    {SDLK_UP, 0x26},          {SDLK_RIGHT, 0x27},        {SDLK_DOWN, 0x28},
    {SDLK_PRINTSCREEN, 0x2C}, {SDLK_INSERT, 0x2D},       {SDLK_DELETE, 0x2E},
    {SDLK_LGUI, 0x5B},        {SDLK_RGUI, 0x5C},         {SDLK_APPLICATION, 0x5D},
    {SDLK_MENU, 0x5D},        {SDLK_KP_0, 0x60},         {SDLK_KP_1, 0x61},
    {SDLK_KP_2, 0x62},        {SDLK_KP_3, 0x63},         {SDLK_KP_4, 0x64},
    {SDLK_KP_5, 0x65},        {SDLK_KP_6, 0x66},         {SDLK_KP_7, 0x67},
    {SDLK_KP_8, 0x68},        {SDLK_KP_9, 0x69},         {SDLK_KP_MULTIPLY, 0x6A},
    {SDLK_KP_PLUS, 0x6B},     {SDLK_KP_MINUS, 0x6D},     {SDLK_KP_PERIOD, 0x6E},
    {SDLK_KP_DIVIDE, 0x6F},   {SDLK_KP_ENTER, 0x0D},     {SDLK_NUMLOCKCLEAR, 0x90},
    {SDLK_SCROLLLOCK, 0x91},  {SDLK_LSHIFT, 0xA0},       {SDLK_RSHIFT, 0xA1},
    {SDLK_LCTRL, 0xA2},       {SDLK_RCTRL, 0xA3},        {SDLK_LALT, 0xA4},
    {SDLK_RALT, 0xA5},        {SDLK_SEMICOLON, 0xBA},    {SDLK_EQUALS, 0xBB},
    {SDLK_COMMA, 0xBC},       {SDLK_MINUS, 0xBD},        {SDLK_PERIOD, 0xBE},
    {SDLK_SLASH, 0xBF},       {SDLK_BACKQUOTE, 0xC0},    {SDLK_LEFTBRACKET, 0xDB},
    {SDLK_BACKSLASH, 0xDC},   {SDLK_RIGHTBRACKET, 0xDD}, {SDLK_QUOTE, 0xDE},
    {SDLK_F11, 0x7A},         {SDLK_F12, 0x7B},          {SDLK_MODE, 0xA5},
    {SDLK_SELECT, 0x29},      {SDLK_HELP, 0x2F},         {SDLK_LESS, 0xE2},
}};

}  // namespace

std::uint32_t VirtualKeyForFilter(std::int32_t key, std::int32_t scancode) {
  if (key >= SDLK_a && key <= SDLK_z) return static_cast<std::uint32_t>('A' + (key - SDLK_a));
  if (key >= SDLK_0 && key <= SDLK_9) return static_cast<std::uint32_t>('0' + (key - SDLK_0));
  if (key >= SDLK_F1 && key <= SDLK_F10) return 0x70u + static_cast<std::uint32_t>(key - SDLK_F1);
  for (const auto& [sdl, vk] : kKeys) {
    if (sdl == key) return vk;
  }
  // Layouts without Latin letters (Cyrillic) name the letter and digit keys by their place.
  if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
    return static_cast<std::uint32_t>('A' + (scancode - SDL_SCANCODE_A));
  }
  if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) {
    return static_cast<std::uint32_t>('1' + (scancode - SDL_SCANCODE_1));
  }
  if (scancode == SDL_SCANCODE_0) return '0';
  return 0;
}

std::int16_t KeyCodeForHandler(std::int32_t key, std::int32_t scancode) {
  const std::uint32_t vk = VirtualKeyForFilter(key, scancode);
  switch (vk) {
    case 0xA0: case 0xA1: return 0x10;
    case 0xA2: case 0xA3: return 0x11;
    case 0xA4: case 0xA5: return 0x12;
    default: return static_cast<std::int16_t>(vk);
  }
}

}  // namespace platform
