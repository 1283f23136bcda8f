#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/picture.h"

namespace platform {

class Form;

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
  bool Contains(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
};

// Event arguments as the window system gives them, each a 16-bit integer: the mouse button (or
// buttons held, for moves) 1 left, 2 right, 4 middle; the shift mask 1 Shift, 2 Ctrl, 4 Alt;
// the key's virtual-key code; mouse positions in the receiving control's pixels.
using MouseButton = std::int16_t;
using ShiftMask = std::int16_t;
using KeyCode = std::int16_t;
using MouseHandler = std::function<void(MouseButton button, ShiftMask shift, float x, float y)>;
using ClickHandler = std::function<void()>;
using KeyHandler = std::function<void(KeyCode key_code, ShiftMask shift)>;

// A child control of the form. The form draws and hit-tests its controls in the order they
// were added: the first added lies on top.
class Control {
 public:
  Control(std::string name, float left, float top, int width, int height, int tab_index);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  const std::string& Name() const { return name_; }
  float Left() const { return left_; }
  float Top() const { return top_; }
  void SetLeft(float left);
  void SetTop(float top);
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  int TabIndex() const { return tab_index_; }
  virtual bool TakesFocus() const { return true; }

  // The pointer over this control: a custom picture with its active point, or the system's
  // standard pointer when none is set.
  void SetMouseIcon(Picture icon, int hot_x, int hot_y);
  // An icon has no hot spot of its own: its centre is the active point.
  void SetMouseIcon(Picture icon);
  const Picture& MouseIcon() const { return mouse_icon_; }
  int HotX() const { return hot_x_; }
  int HotY() const { return hot_y_; }

  // The area on the form, in whole pixels.
  Rect Bounds() const;

  MouseHandler MouseMove;
  MouseHandler MouseDown;
  MouseHandler MouseUp;
  ClickHandler Click;
  KeyHandler KeyDown;

 protected:
  friend class Form;
  // Draws the control into the form's frame, limited to `clip` (form pixels).
  virtual void Paint(std::uint32_t* frame, int stride, Rect clip) const;
  void Invalidate();
  Form* form_ = nullptr;

 private:
  void LayoutChanged(Rect before);

  std::string name_;
  float left_, top_;
  int width_, height_;
  bool visible_ = true;
  bool enabled_ = true;
  int tab_index_;
  Picture mouse_icon_;
  int hot_x_ = 0, hot_y_ = 0;
};

// A box that shows a picture, unscaled from its top-left corner and cut at its edges.
class PictureBox : public Control {
 public:
  using Control::Control;

  const Picture& GetPicture() const { return picture_; }
  virtual void SetPicture(Picture picture);
  std::uint32_t BackColor() const { return back_color_; }
  void SetBackColor(std::uint32_t argb);

 protected:
  void Paint(std::uint32_t* frame, int stride, Rect clip) const override;
  static void PaintImage(const PictureData& image, Rect bounds, std::uint32_t* frame, int stride,
                         Rect clip, std::uint32_t back_color);

  Picture picture_;
  std::uint32_t back_color_ = 0xFFFFFFFF;
};

// A label: this program's only one stays hidden and empty, so it draws nothing.
class Label : public Control {
 public:
  using Control::Control;
  bool TakesFocus() const override { return false; }
  std::string Caption;

 protected:
  void Paint(std::uint32_t*, int, Rect) const override {}
};

// A timer of the form: while enabled, Tick runs every Interval milliseconds from the event loop.
class Timer {
 public:
  explicit Timer(std::string name, int interval_ms = 0)
      : name_(std::move(name)), interval_(interval_ms) {}
  const std::string& Name() const { return name_; }
  int Interval() const { return interval_; }
  void SetInterval(int ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  ClickHandler Tick;

 private:
  friend class Form;
  void RunIfDue(std::uint64_t now_ms);

  std::string name_;
  int interval_;
  bool enabled_ = false;
  std::uint64_t due_ms_ = 0;
};

}  // namespace platform
