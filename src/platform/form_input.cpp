// How the form hands input events to its controls: hit testing in stacking order, capture
// during a press, focus and the keyboard filters.
#include <SDL.h>

#include "platform/failure.h"
#include "platform/form.h"
#include "platform/keyboard_hook.h"
#include "platform/one_copy.h"
#include "platform/shell.h"
#include "platform/sound.h"
#include "platform/virtual_keys.h"

namespace platform {
namespace {

std::int16_t ButtonsOf(std::uint32_t sdl_state) {
  std::int16_t b = 0;
  if (sdl_state & SDL_BUTTON_LMASK) b |= 1;
  if (sdl_state & SDL_BUTTON_RMASK) b |= 2;
  if (sdl_state & SDL_BUTTON_MMASK) b |= 4;
  return b;
}

std::int16_t ButtonOf(std::uint8_t sdl_button) {
  switch (sdl_button) {
    case SDL_BUTTON_LEFT:
      return 1;
    case SDL_BUTTON_RIGHT:
      return 2;
    case SDL_BUTTON_MIDDLE:
      return 4;
    default:
      return 0;
  }
}

std::int16_t ShiftOf(std::uint16_t mod) {
  std::int16_t s = 0;
  if (mod & KMOD_SHIFT) s |= 1;
  if (mod & KMOD_CTRL) s |= 2;
  if (mod & KMOD_ALT) s |= 4;
  return s;
}

void Fire(const MouseHandler& handler, std::int16_t button, std::int16_t shift, float x, float y) {
  if (handler) RunHandler([&] { handler(button, shift, x, y); });
}

}  // namespace

void Form::HandleEvent(const SDL_Event& event) {
  if (event.type == AudioRestEvent() && event.type != 0) {
    RestAudioIfSilent();
    return;
  }
  if (unloaded_) return;
  switch (event.type) {
    case SDL_MOUSEMOTION:
      HandleMouseMotion(event.motion.x, event.motion.y, event.motion.state);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      HandleMouseButton(event.type == SDL_MOUSEBUTTONDOWN, event.button.x, event.button.y,
                        event.button.button);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      HandleKey(event);
      break;
    case SDL_WINDOWEVENT:
      // The keyboard grab follows the window: shown, minimised, restored, focused again. A
      // window still on screen asks for it again whenever the focus moves.
      if (event.window.event == SDL_WINDOWEVENT_SHOWN ||
          event.window.event == SDL_WINDOWEVENT_MINIMIZED ||
          event.window.event == SDL_WINDOWEVENT_RESTORED ||
          event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED ||
          event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
        UpdateKeyboardGrab(window_);
      }
      if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
          event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
          event.window.event == SDL_WINDOWEVENT_RESTORED) {
        needs_present_ = true;
        present_all_ = true;
      } else if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
        Unload();
      }
      break;
    case SDL_QUIT:
      Unload();
      break;
    default:
      if (event.type == OpenerFailedEvent()) RestoreAfterFailedOpener(window_, event);
      // A window that start-up keeps hidden shows itself soon enough.
      if (event.type == SecondStartEvent() && visible_) ComeToTheFront(window_);
      break;
  }
}

Control* Form::HitTest(int x, int y) const {
  for (Control* c : controls_) {
    if (c->Visible() && c->Bounds().Contains(x, y)) return c;
  }
  return nullptr;
}

void Form::HandleMouseMotion(int x, int y, std::uint32_t sdl_state) {
  const std::int16_t shift = ShiftOf(static_cast<std::uint16_t>(SDL_GetModState()));
  Control* under = HitTest(x, y);
  UpdatePointer(under);
  // A move with no button held means the release happened where this window did not see it.
  if (ButtonsOf(sdl_state) == 0) {
    held_ = 0;
    capture_ = nullptr;
  }
  // While a button is held, the control or the form that took the press keeps the moves.
  Control* target = held_ != 0 ? capture_ : under;
  if (target != nullptr && target->Enabled()) {
    Fire(target->MouseMove, ButtonsOf(sdl_state), shift, static_cast<float>(x) - target->Left(),
         static_cast<float>(y) - target->Top());
  } else {
    Fire(MouseMove, ButtonsOf(sdl_state), shift, static_cast<float>(x), static_cast<float>(y));
  }
}

void Form::HandleMouseButton(bool down, int x, int y, std::uint8_t sdl_button) {
  const std::int16_t button = ButtonOf(sdl_button);
  if (button == 0) return;
  const std::int16_t shift = ShiftOf(static_cast<std::uint16_t>(SDL_GetModState()));
  Control* under = HitTest(x, y);
  if (under != nullptr && !under->Enabled()) under = nullptr;

  if (down) {
    // A further button pressed during a drag goes to whatever holds the capture.
    if (held_ == 0) capture_ = under;
    held_ |= static_cast<std::uint32_t>(button);
    Control* target = capture_;
    if (target == nullptr) {
      Fire(MouseDown, button, shift, static_cast<float>(x), static_cast<float>(y));
      return;
    }
    if (button == 1) pressed_ = target;
    if (CanHoldFocus(*target)) focus_ = target;
    Fire(target->MouseDown, button, shift, static_cast<float>(x) - target->Left(),
         static_cast<float>(y) - target->Top());
    return;
  }

  const bool captured = held_ != 0;
  held_ &= ~static_cast<std::uint32_t>(button);
  Control* target = captured ? capture_ : under;
  if (held_ == 0) capture_ = nullptr;
  if (target != nullptr) {
    Fire(target->MouseUp, button, shift, static_cast<float>(x) - target->Left(),
         static_cast<float>(y) - target->Top());
  }
  // A click is a left press and release on the same control, which must still take input.
  if (button == 1) {
    Control* pressed = pressed_;
    pressed_ = nullptr;
    if (pressed != nullptr && pressed == under && pressed->Click) RunHandler(pressed->Click);
  }
}

void Form::HandleKey(const SDL_Event& event) {
  const SDL_KeyboardEvent& key = event.key;
  const bool down = event.type == SDL_KEYDOWN;
  const bool alt = (key.keysym.mod & KMOD_ALT) != 0;
  const std::uint32_t vk = VirtualKeyForFilter(key.keysym.sym, key.keysym.scancode);
  const bool system_key = alt || vk == 0x79;  // F10 is reported as a system key, like Alt
  const std::int32_t message =
      down ? (system_key ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system_key ? WM_SYSKEYUP : WM_KEYUP);
  KBDLLHOOKSTRUCT record{vk, key.keysym.scancode,
                         (alt ? LLKHF_ALTDOWN : 0u) | (down ? 0u : LLKHF_UP), key.timestamp, 0};
  if (FilterKeyEvent(message, record)) return;
  if (!down) return;

  const std::int16_t shift = ShiftOf(key.keysym.mod);
  if (vk == VK_TAB && (shift & ~1) == 0) {
    MoveFocus((shift & 1) == 0);
    return;
  }
  // A held key's repeats still pass the filters, but start no command again: a held Ctrl+P
  // would otherwise print a page for every repeat.
  if (key.repeat != 0) return;
  const std::int16_t code = KeyCodeForHandler(key.keysym.sym, key.keysym.scancode);
  if (focus_ == nullptr) {
    if (KeyDown) RunHandler([&] { KeyDown(code, shift); });
    return;
  }
  if (CanHoldFocus(*focus_) && focus_->KeyDown) {
    RunHandler([&] { focus_->KeyDown(code, shift); });
  }
}

void Form::UpdatePointer(Control* under) {
  const Picture& icon = under != nullptr ? under->MouseIcon() : mouse_icon_;
  const int hx = under != nullptr ? under->HotX() : hot_x_;
  const int hy = under != nullptr ? under->HotY() : hot_y_;
  const void* key = icon.get();
  if (key == cursor_key_ && cursor_ != nullptr) return;
  SDL_Cursor* cursor = nullptr;
  if (icon) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<std::uint32_t*>(icon->pixels.data()), icon->width, icon->height, 32,
        icon->width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (s != nullptr) {
      cursor = SDL_CreateColorCursor(s, hx, hy);
      SDL_FreeSurface(s);
    }
  }
  if (cursor == nullptr) cursor = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
  if (cursor == nullptr) return;
  SDL_SetCursor(cursor);
  if (cursor_ != nullptr) SDL_FreeCursor(cursor_);
  cursor_ = cursor;
  cursor_key_ = key;
}

}  // namespace platform
