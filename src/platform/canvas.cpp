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
  if (invalidate && form_ != nullptr && Visible()) form_->Invalidate(Rect{Bounds().x + x, Bounds().y + y, 1, 1});
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

std::int32_t Canvas::FloodFill(int x, int y, std::uint32_t colour) {
  Canvas& c = *this;
  if (!c.Inside(x, y)) return 0;
  const std::uint32_t target = ArgbOf(colour) & 0x00FFFFFFu;
  const std::uint32_t paint = ArgbOf(c.fill_color_);
  if ((c.ReadArgb(x, y) & 0x00FFFFFFu) != target) return 0;
  if ((paint & 0x00FFFFFFu) == target) return 1;

  const int w = c.Width(), h = c.Height();
  auto same = [&](int px, int py) { return (c.ReadArgb(px, py) & 0x00FFFFFFu) == target; };
  // Span fill: each stack entry is a seed; its whole run on the row is painted at once and
  // the rows above and below are scanned only under that run.
  struct Seed {
    int x, y;
  };
  std::vector<Seed> stack{{x, y}};
  int min_x = x, max_x = x, min_y = y, max_y = y;
  const bool direct = !c.auto_redraw_;
  while (!stack.empty()) {
    const Seed s = stack.back();
    stack.pop_back();
    if (!same(s.x, s.y)) continue;
    int l = s.x, r = s.x;
    while (l > 0 && same(l - 1, s.y)) --l;
    while (r < w - 1 && same(r + 1, s.y)) ++r;
    if (direct) {
      for (int i = l; i <= r; ++i) c.WriteArgb(i, s.y, paint);
    } else {
      std::fill_n(c.image_.pixels.begin() + static_cast<std::ptrdiff_t>(s.y) * w + l, r - l + 1,
                  paint);
    }
    min_x = std::min(min_x, l);
    max_x = std::max(max_x, r);
    min_y = std::min(min_y, s.y);
    max_y = std::max(max_y, s.y);
    for (int ny : {s.y - 1, s.y + 1}) {
      if (ny < 0 || ny >= h) continue;
      bool in_run = false;
      for (int i = l; i <= r; ++i) {
        const bool m = same(i, ny);
        if (m && !in_run) stack.push_back({i, ny});
        in_run = m;
      }
    }
  }
  if (!direct && c.form_ != nullptr && c.Visible()) {
    const Rect b = c.Bounds();
    c.form_->Invalidate(Rect{b.x + min_x, b.y + min_y, max_x - min_x + 1, max_y - min_y + 1});
  }
  return 1;
}

}  // namespace platform
