#include "platform/canvas.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "platform/failure.h"
#include "platform/form.h"

namespace platform {
Canvas::Canvas(std::string name, float left, float top, int width, int height, int tab_index)
    : PictureBox(std::move(name), left, top, width, height, tab_index) {
  dc_.canvas = this;
  image_.width = width;
  image_.height = height;
  image_.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                       back_color_);
}

void Canvas::SetPicture(Picture picture) {
  // The held image is the picture on the canvas's own background colour, cut at its edges.
  std::fill(image_.pixels.begin(), image_.pixels.end(), back_color_ | 0xFF000000u);
  if (picture) {
    const int w = std::min(picture->width, Width()), h = std::min(picture->height, Height());
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        image_.pixels[static_cast<std::size_t>(y) * Width() + x] =
            picture->pixels[static_cast<std::size_t>(y) * picture->width + x] | 0xFF000000u;
      }
    }
  }
  image_.source = picture ? picture->source : std::string();
  PictureBox::SetPicture(std::move(picture));
  // The held image was replaced, whether or not the picture is the one it had.
  Invalidate();
}

Picture Canvas::Image() const { return std::make_shared<PictureData>(image_); }

void Canvas::SetAutoRedraw(bool buffered) {
  if (auto_redraw_ == buffered) return;
  auto_redraw_ = buffered;
  if (form_ == nullptr) return;
  if (buffered) {
    form_->EndDirectDrawing();
  } else {
    form_->BeginDirectDrawing();
  }
}

void Canvas::Paint(std::uint32_t* frame, int stride, Rect clip) const {
  PaintImage(image_, Bounds(), frame, stride, clip, back_color_);
}

std::uint32_t Canvas::ReadArgb(int x, int y) const {
  if (!auto_redraw_ && form_ != nullptr) return form_->DirectRead(*this, x, y);
  return image_.pixels[static_cast<std::size_t>(y) * Width() + x];
}

void Canvas::WriteArgb(int x, int y, std::uint32_t argb, bool invalidate) {
  if (!auto_redraw_ && form_ != nullptr) {
    if (OnDirectWrite) OnDirectWrite(x, y);
    form_->DirectWrite(*this, x, y, argb);
    return;
  }
  image_.pixels[static_cast<std::size_t>(y) * Width() + x] = argb;
  if (invalidate && form_ != nullptr && Visible())
    form_->Invalidate(Rect{Bounds().x + x, Bounds().y + y, 1, 1});
}

std::int32_t Canvas::Point(float fx, float fy) const {
  const int x = static_cast<int>(std::floor(fx)), y = static_cast<int>(std::floor(fy));
  if (!Inside(x, y)) return -1;
  return static_cast<std::int32_t>(ColourValueOf(ReadArgb(x, y)));
}

void Canvas::Line(float x1, float y1, float x2, float y2) {
  // Every pixel whose centre lies within half the pen width of the segment: a wide solid
  // line with round ends.
  const double r = std::max(draw_width_, 1) / 2.0;
  const double dx = x2 - x1, dy = y2 - y1, len2 = dx * dx + dy * dy;
  const int left = std::max(0, static_cast<int>(std::floor(std::min(x1, x2) - r)));
  const int right = std::min(Width() - 1, static_cast<int>(std::ceil(std::max(x1, x2) + r)));
  const int top = std::max(0, static_cast<int>(std::floor(std::min(y1, y2) - r)));
  const int bottom = std::min(Height() - 1, static_cast<int>(std::ceil(std::max(y1, y2) + r)));
  const std::uint32_t argb = ArgbOf(fore_color_);
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      double t = len2 > 0 ? ((x - x1) * dx + (y - y1) * dy) / len2 : 0.0;
      t = std::clamp(t, 0.0, 1.0);
      const double ex = x1 + t * dx - x, ey = y1 + t * dy - y;
      if (ex * ex + ey * ey <= r * r + 1e-9) WriteArgb(x, y, argb, false);
    }
  }
  if (auto_redraw_ && form_ != nullptr && Visible()) {
    const Rect b = Bounds();
    form_->Invalidate(Rect{b.x + left, b.y + top, right - left + 1, bottom - top + 1});
  }
}

std::int32_t SetPixelV(HDC dc, std::int32_t x, std::int32_t y, std::uint32_t colour) {
  if (dc == nullptr || dc->canvas == nullptr) return 0;
  return dc->canvas->SetPixel(x, y, colour);
}

std::int32_t ExtFloodFill(HDC dc, std::int32_t x, std::int32_t y, std::uint32_t colour,
                          std::uint32_t fill_type) {
  if (dc == nullptr || dc->canvas == nullptr || fill_type != FLOODFILLSURFACE) return 0;
  return dc->canvas->FloodFill(x, y, colour);
}

std::int32_t Canvas::SetPixel(int x, int y, std::uint32_t colour) {
  // Direct writes set the pace of what the screen shows, also those that miss the canvas.
  if (!auto_redraw_ && form_ != nullptr) form_->CountDirectWrite();
  if (!Inside(x, y)) return 0;
  WriteArgb(x, y, ArgbOf(colour));
  return 1;
}

namespace {

// Span fill that remembers where each span came from: a row is scanned again only where the
// new span reaches past its parent, so most pixels are read once. `same(x, y)` tells a pixel
// of the area not yet painted, `set(x, y)` paints one; gives the bounds of what was painted.
template <class Same, class Set>
Rect SpanFill(int w, int h, int x, int y, Same same, Set set) {
  struct Span {
    int x1, x2, y, dy;
  };
  std::vector<Span> stack{{x, x, y, 1}, {x, x, y - 1, -1}};
  int min_x = x, max_x = x, min_y = y, max_y = y;
  while (!stack.empty()) {
    // Plain variables, not a structured binding: the lambda below captures them.
    const Span top = stack.back();
    stack.pop_back();
    int x1 = top.x1, x2 = top.x2;
    const int sy = top.y, dy = top.dy;
    if (sy < 0 || sy >= h) continue;
    auto inside = [&](int px) { return px >= 0 && px < w && same(px, sy); };
    int sx = x1;
    if (inside(sx)) {
      while (inside(sx - 1)) set(--sx, sy);
      if (sx < x1) stack.push_back({sx, x1 - 1, sy - dy, -dy});
    }
    while (x1 <= x2) {
      while (inside(x1)) set(x1++, sy);
      if (x1 > sx) {
        stack.push_back({sx, x1 - 1, sy + dy, dy});
        min_x = std::min(min_x, sx);
        max_x = std::max(max_x, x1 - 1);
        min_y = std::min(min_y, sy);
        max_y = std::max(max_y, sy);
      }
      if (x1 - 1 > x2) stack.push_back({x2 + 1, x1 - 1, sy - dy, -dy});
      ++x1;
      while (x1 < x2 && !inside(x1)) ++x1;
      sx = x1;
    }
  }
  return Rect{min_x, min_y, max_x - min_x + 1, max_y - min_y + 1};
}

}  // namespace

std::int32_t Canvas::FloodFill(int x, int y, std::uint32_t colour) {
  if (!Inside(x, y)) return 0;
  const std::uint32_t target = ArgbOf(colour) & 0x00FFFFFFu;
  const std::uint32_t paint = ArgbOf(fill_color_);
  if ((ReadArgb(x, y) & 0x00FFFFFFu) != target) return 0;
  if ((paint & 0x00FFFFFFu) == target) return 1;

  const int w = Width(), h = Height();
  if (!auto_redraw_ && form_ != nullptr) {
    // On the screen a write can miss (a control covers the pixel), so painted pixels are
    // remembered rather than read back.
    std::vector<std::uint8_t> painted(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    auto at = [w](int px, int py) { return static_cast<std::size_t>(py) * w + px; };
    SpanFill(
        w, h, x, y,
        [&](int px, int py) {
          return painted[at(px, py)] == 0 && (ReadArgb(px, py) & 0x00FFFFFFu) == target;
        },
        [&](int px, int py) {
          painted[at(px, py)] = 1;
          WriteArgb(px, py, paint);
        });
    return 1;
  }
  std::uint32_t* pixels = image_.pixels.data();
  const Rect area = SpanFill(
      w, h, x, y,
      [=](int px, int py) {
        return (pixels[static_cast<std::ptrdiff_t>(py) * w + px] & 0x00FFFFFFu) == target;
      },
      [=](int px, int py) { pixels[static_cast<std::ptrdiff_t>(py) * w + px] = paint; });
  if (form_ != nullptr && Visible()) {
    const Rect b = Bounds();
    form_->Invalidate(Rect{b.x + area.x, b.y + area.y, area.w, area.h});
  }
  return 1;
}

}  // namespace platform
