#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/controls.h"

namespace platform {

class Canvas;

// The device context of a canvas, as the drawing calls take it. Where it draws follows the
// canvas's drawing mode at the moment of each call.
struct DeviceContext {
  Canvas* canvas = nullptr;
};
using HDC = DeviceContext*;

constexpr std::uint32_t FLOODFILLBORDER = 0;
constexpr std::uint32_t FLOODFILLSURFACE = 1;

// Fills the 4-connected area of pixels of colour value `colour` around (x, y) with the
// canvas's fill colour (FLOODFILLSURFACE); other colours and the canvas's edge bound it.
std::int32_t ExtFloodFill(HDC dc, std::int32_t x, std::int32_t y, std::uint32_t colour,
                          std::uint32_t fill_type);
// Writes one pixel; a point outside the canvas changes nothing.
std::int32_t SetPixelV(HDC dc, std::int32_t x, std::int32_t y, std::uint32_t colour);

// A picture box that can be drawn on. In buffered drawing (AutoRedraw true) the drawing goes
// into an image the canvas holds and repaints itself from; in direct drawing it goes straight
// to the screen and is lost at the next repaint of that area.
class Canvas : public PictureBox {
 public:
  Canvas(std::string name, float left, float top, int width, int height, int tab_index);

  // Loading a picture replaces the whole held image as well.
  void SetPicture(Picture picture) override;
  // The held image, with everything drawn on it, as a picture of its own.
  Picture Image() const;

  bool AutoRedraw() const { return auto_redraw_; }
  void SetAutoRedraw(bool buffered);

  // Colours as colour values, 0x00BBGGRR.
  std::uint32_t ForeColor() const { return fore_color_; }
  void SetForeColor(std::uint32_t colour) { fore_color_ = colour; }
  std::uint32_t FillColor() const { return fill_color_; }
  void SetFillColor(std::uint32_t colour) { fill_color_ = colour; }
  int DrawWidth() const { return draw_width_; }
  void SetDrawWidth(int width) { draw_width_ = width; }

  // The colour value at a point, or -1 outside the canvas.
  std::int32_t Point(float x, float y) const;
  // A line in the pen colour and width, with round ends as a wide solid pen draws it.
  void Line(float x1, float y1, float x2, float y2);
  HDC hDC() { return &dc_; }

  // Called with each pixel written in direct drawing; for watching the wipe in tests.
  std::function<void(int x, int y)> OnDirectWrite;

 protected:
  void Paint(std::uint32_t* frame, int stride, Rect clip) const override;

 private:
  friend std::int32_t ExtFloodFill(HDC, std::int32_t, std::int32_t, std::uint32_t, std::uint32_t);
  friend std::int32_t SetPixelV(HDC, std::int32_t, std::int32_t, std::uint32_t);

  std::int32_t SetPixel(int x, int y, std::uint32_t colour);
  std::int32_t FloodFill(int x, int y, std::uint32_t colour);
  // Reads and writes where drawing currently goes: the held image, or the screen.
  std::uint32_t ReadArgb(int x, int y) const;
  // Buffered writes mark their pixel for repainting unless the caller marks a whole area.
  void WriteArgb(int x, int y, std::uint32_t argb, bool invalidate = true);
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < Width() && y < Height(); }

  DeviceContext dc_;
  PictureData image_;
  bool auto_redraw_ = true;
  std::uint32_t fore_color_ = 0;
  std::uint32_t fill_color_ = 0;
  int draw_width_ = 1;
};

// How fast direct drawing reaches the display: the screen is presented as the writes come
// in, paced to this many writes a second (0: as fast as they come, presented once at the end).
void SetDirectDrawingPace(double writes_per_second);

}  // namespace platform
