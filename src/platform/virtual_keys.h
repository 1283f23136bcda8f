#pragma once

#include <cstdint>

namespace platform {

// Windows virtual-key numbering for an SDL key (SDL_Keycode). The filters see Shift, Ctrl
// and Alt by side (0xA0 to 0xA5), as a low-level hook reports them; key-down handlers see
// them generic (0x10 to 0x12). 0 for a key with no code. A letter or digit key whose SDL key
// is no Latin character (a Cyrillic layout) is named by its place, given the SDL_Scancode.
std::uint32_t VirtualKeyForFilter(std::int32_t sdl_keycode, std::int32_t sdl_scancode = 0);
std::int16_t KeyCodeForHandler(std::int32_t sdl_keycode, std::int32_t sdl_scancode = 0);

constexpr std::uint32_t VK_TAB = 0x09;

}  // namespace platform
