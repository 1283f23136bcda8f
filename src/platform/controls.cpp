#include "platform/controls.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "platform/failure.h"
#include "platform/form.h"

namespace platform {

Control::Control(std::string name, float left, float top, int width, int height, int tab_index)
    : name_(std::move(name)),
      left_(left),
      top_(top),
      width_(width),
      height_(height),
      tab_index_(tab_index) {}

Rect Control::Bounds() const {
  return Rect{static_cast<int>(std::lround(left_)), static_cast<int>(std::lround(top_)), width_,
              height_};
}

void Control::SetLeft(float left) {
  const Rect before = Bounds();
  left_ = left;
  LayoutChanged(before);
}

void Control::SetTop(float top) {
  const Rect before = Bounds();
  top_ = top;
  LayoutChanged(before);
}

void Control::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  LayoutChanged(Bounds());
  if (!visible && form_ != nullptr) form_->ControlUnavailable(*this);
}

void Control::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  if (!enabled && form_ != nullptr) form_->ControlUnavailable(*this);
}

void Control::SetMouseIcon(Picture icon, int hot_x, int hot_y) {
  mouse_icon_ = std::move(icon);
  hot_x_ = hot_x;
  hot_y_ = hot_y;
}

void Control::SetMouseIcon(Picture icon) {
  const int hx = icon ? icon->width / 2 : 0;
  const int hy = icon ? icon->height / 2 : 0;
  SetMouseIcon(std::move(icon), hx, hy);
}

void Control::Invalidate() {
  if (form_ != nullptr && visible_) form_->Invalidate(Bounds());
}

void Control::LayoutChanged(Rect before) {
  if (form_ == nullptr) return;
  form_->Invalidate(before);
  form_->LayoutChanged(*this);
}

void Control::Paint(std::uint32_t*, int, Rect) const {}

void PictureBox::SetPicture(Picture picture) {
  // Pictures never change once made: the very same one again shows nothing new.
  if (picture == picture_) return;
  picture_ = std::move(picture);
  Invalidate();
}

void PictureBox::SetBackColor(std::uint32_t argb) {
  back_color_ = argb;
  Invalidate();
}

void PictureBox::Paint(std::uint32_t* frame, int stride, Rect clip) const {
  static const PictureData kNothing;
  PaintImage(picture_ ? *picture_ : kNothing, Bounds(), frame, stride, clip, back_color_);
}

void PictureBox::PaintImage(const PictureData& image, Rect b, std::uint32_t* frame, int stride,
                            Rect clip, std::uint32_t back_color) {
  const int x0 = std::max(b.x, clip.x), x1 = std::min(b.x + b.w, clip.x + clip.w);
  const int y0 = std::max(b.y, clip.y), y1 = std::min(b.y + b.h, clip.y + clip.h);
  // Row by row: the part the image covers, then the background colour past its edge.
  const int image_right = std::min(x1, b.x + image.width);
  for (int y = y0; y < y1; ++y) {
    std::uint32_t* out = frame + static_cast<std::ptrdiff_t>(y) * stride;
    const int iy = y - b.y;
    int x = x0;
    if (iy < image.height) {
      const std::uint32_t* src =
          image.pixels.data() + static_cast<std::ptrdiff_t>(iy) * image.width;
      for (; x < image_right; ++x) {
        const std::uint32_t p = src[x - b.x];
        // Icons carry transparency; the other formats are opaque.
        out[x] = (p >> 24) != 0 ? (p | 0xFF000000u) : back_color;
      }
    }
    std::fill(out + x, out + x1, back_color);
  }
}

void Timer::SetInterval(int ms) {
  interval_ = ms;
  due_ms_ = SDL_GetTicks64() + static_cast<std::uint64_t>(std::max(ms, 0));
}

void Timer::SetEnabled(bool enabled) {
  if (enabled && !enabled_)
    due_ms_ = SDL_GetTicks64() + static_cast<std::uint64_t>(std::max(interval_, 0));
  enabled_ = enabled;
}

void Timer::RunIfDue(std::uint64_t now_ms) {
  if (!enabled_ || interval_ <= 0 || now_ms < due_ms_) return;
  due_ms_ = now_ms + static_cast<std::uint64_t>(interval_);
  if (Tick) RunHandler(Tick);
}

}  // namespace platform
