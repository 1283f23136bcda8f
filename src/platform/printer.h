#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/picture.h"

namespace platform {

constexpr std::int16_t vbPRORPortrait = 1;
constexpr std::int16_t vbPRORLandscape = 2;

// The printer: pictures painted on one page, sent as one job to the default destination.
// Sending happens on a thread of the printer's own, so a print server that is slow or does
// not answer never holds up the window.
class PrinterDevice {
 public:
  PrinterDevice();
  PrinterDevice(const PrinterDevice&) = delete;
  PrinterDevice& operator=(const PrinterDevice&) = delete;
  // The program's end never waits long on a print server: the pages handed over get about two
  // seconds in all to reach it; the pages not yet sent by then are dropped, with one line on
  // stderr saying how many, and the page on its way is cut.
  ~PrinterDevice();

  // 1 portrait, 2 landscape; any other value fails. It holds for the pages that follow.
  void SetOrientation(std::int16_t orientation);
  std::int16_t Orientation() const { return orientation_; }
  // Puts the picture on the page at its own size, 96 pixels to the inch, its top-left corner
  // x, y twips (1440 to the inch) from the top-left corner of the printable area.
  void PaintPicture(const Picture& picture, float x, float y);
  // Hands the page over and starts a new page at once; a page with nothing on it is not
  // sent. The page goes as a PDF to the default destination, on that destination's default
  // paper. A page that cannot be printed (no print server, no default destination, refused
  // by the server, a server that does not answer in time) is dropped, and one line on stderr
  // says which.
  void EndDoc();
  // Waits until every page handed over has reached the print server or been dropped.
  void WaitForJobs();

 private:
  struct Placed {
    Picture picture;
    float x_twips, y_twips;
  };
  struct Page {
    std::vector<Placed> placed;
    bool landscape;
  };
  struct Spooler;
  std::int16_t orientation_ = vbPRORPortrait;
  std::vector<Placed> page_;
  std::unique_ptr<Spooler> spooler_;
};

extern PrinterDevice Printer;

}  // namespace platform
