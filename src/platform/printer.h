#pragma once

#include <cstdint>
#include <vector>

#include "platform/picture.h"

namespace platform {

constexpr std::int16_t vbPRORPortrait = 1;
constexpr std::int16_t vbPRORLandscape = 2;

// The printer: pictures painted on one page, sent as one job to the default destination.
class PrinterDevice {
 public:
  // 1 portrait, 2 landscape; any other value fails. It holds for the pages that follow.
  void SetOrientation(std::int16_t orientation);
  std::int16_t Orientation() const { return orientation_; }
  // Puts the picture on the page at its own size, 96 pixels to the inch, its top-left corner
  // x, y twips (1440 to the inch) from the page's top-left corner.
  void PaintPicture(const Picture& picture, float x, float y);
  // Sends the page as a PDF to the default destination and starts a new page. A page with
  // nothing on it is not sent. With no print server or no default destination it fails
  // within two seconds, and the page is dropped all the same.
  void EndDoc();

 private:
  struct Placed {
    Picture picture;
    float x_twips, y_twips;
  };
  std::int16_t orientation_ = vbPRORPortrait;
  std::vector<Placed> page_;
};

extern PrinterDevice Printer;

}  // namespace platform
