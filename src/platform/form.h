#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/window_handle.h"

union SDL_Event;
struct SDL_Cursor;

namespace platform {

// The one window of the program, with its child controls drawn over a background picture.
// The same code shows a real window on a desktop and runs headless under SDL's dummy driver.
class Form {
 public:
  Form(std::string caption, int client_width, int client_height);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  ~Form();

  // Controls are stacked in the order they are added: the first lies on top.
  void Add(Control& control);
  void Add(Timer& timer);
  const std::vector<Control*>& Controls() const { return controls_; }

  // The background picture, drawn unscaled from the client area's top-left corner.
  const Picture& GetPicture() const { return picture_; }
  void SetPicture(Picture picture);
  void SetIcon(const Picture& icon);
  void SetMouseIcon(Picture icon, int hot_x, int hot_y);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  HWND hWnd() const { return window_; }
  int ClientWidth() const { return width_; }
  int ClientHeight() const { return height_; }

  // The control that holds the keyboard focus; null when the form itself holds it.
  Control* ActiveControl() const { return focus_; }
  void SetFocus(Control* control);

  // Runs the load handler; then `Show` makes the window appear with the focus on the first
  // control in tab order. `Unload` runs the unload handler and closes the window.
  void Load();
  void Show();
  void Unload();
  bool Unloaded() const { return unloaded_; }

  // The composed client area, 0xAARRGGBB row by row, as it was last presented or is about
  // to be.
  const std::vector<std::uint32_t>& Frame();
  // Composes what changed and shows it on the display.
  void Present();

  std::function<void()> OnLoad;
  std::function<void(std::int16_t& cancel)> OnUnload;
  MouseHandler MouseMove;
  MouseHandler MouseDown;
  KeyHandler KeyDown;

  // The event loop's entry: every input event of the window comes in here.
  void HandleEvent(const SDL_Event& event);
  void RunTimers(std::uint64_t now_ms);
  // Milliseconds until the next enabled timer is due (0 when one is due now), -1 with none.
  int MsUntilNextTimer(std::uint64_t now_ms) const;

 private:
  friend class Control;
  friend class Canvas;

  void Invalidate(Rect area);
  void LayoutChanged(Control& control);
  void ControlUnavailable(Control& control);
  void Compose();
  void ComposeArea(Rect area);
  // Notes an area of the frame that the window does not show yet.
  void Unshown(Rect area);

  // Direct drawing on the canvas writes the screen itself.
  bool DirectVisible(const Control& canvas, int x, int y);
  void CountDirectWrite();
  void DirectWrite(const Control& canvas, int x, int y, std::uint32_t argb);
  std::uint32_t DirectRead(const Control& canvas, int x, int y) const;
  void BeginDirectDrawing();
  void EndDirectDrawing();

  void HandleMouseMotion(int x, int y, std::uint32_t sdl_state);
  void HandleMouseButton(bool down, int x, int y, std::uint8_t sdl_button);
  void HandleKey(const SDL_Event& event);
  Control* HitTest(int x, int y) const;
  void UpdatePointer(Control* under);
  void MoveFocus(bool forward);
  bool CanHoldFocus(const Control& c) const;

  std::string caption_;
  int width_, height_;
  HWND window_ = nullptr;
  std::vector<Control*> controls_;
  std::vector<Timer*> timers_;
  Picture picture_;
  Picture mouse_icon_;
  int hot_x_ = 0, hot_y_ = 0;
  bool visible_ = false;
  bool shown_once_ = false;
  bool unloaded_ = false;
  bool unloading_ = false;
  Control* focus_ = nullptr;

  std::vector<std::uint32_t> frame_;
  std::vector<Rect> dirty_;
  bool needs_present_ = true;
  // What changed in the frame since the window last showed it; all of it when the window's
  // contents were lost (shown, exposed, resized).
  std::vector<Rect> unshown_;
  Rect direct_unshown_;
  bool present_all_ = true;
  const void* presented_surface_ = nullptr;
  int presented_w_ = 0, presented_h_ = 0;

  // Mouse state across events: the control that took the press (null: the form) keeps the
  // moves until every button is up.
  Control* capture_ = nullptr;
  Control* pressed_ = nullptr;
  std::uint32_t held_ = 0;

  SDL_Cursor* cursor_ = nullptr;
  const void* cursor_key_ = nullptr;

  // Which canvas pixels the screen shows (not covered by controls above), rebuilt when the
  // layout changes.
  std::vector<std::uint8_t> direct_mask_;
  const Control* direct_mask_for_ = nullptr;
  std::uint64_t layout_generation_ = 0;
  std::uint64_t direct_mask_generation_ = ~0ull;
  std::uint64_t direct_writes_ = 0;
  std::uint64_t direct_started_ms_ = 0;
};

// Processes every pending event (input, painting, timers) and returns. Handlers run to their
// end inside it, and a handler may call it again.
void DoEvents();
// Loads the form, shows it and runs its events until it is unloaded or the program ends;
// gives the exit status. A failure that no handler caught is dropped, never fatal.
int Run(Form& form);

}  // namespace platform
