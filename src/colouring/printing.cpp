// Ctrl+P: the coloured picture is fixed, saved as the one saved picture, announced and
// printed on the default printer.
#include <string>

#include "frame/forma_main.h"
#include "platform/failure.h"
#include "platform/picture.h"
#include "platform/printer.h"

namespace {

// The child sees nothing of a refused save; a parent who wonders why nothing was printed
// finds the file and the reason on stderr. The failure then goes on to end the print.
void save_or_report(const platform::Picture& picture, const std::string& path) {
  try {
    platform::SavePicture(picture, path);
  } catch (const platform::RuntimeError& failure) {
    platform::Report(std::string("the picture was not saved: ") + failure.what());
    throw;
  }
}

}  // namespace

// No error trap: a failure ends the shortcut handler that called it, and what was done stays.
void FormaMain::stampanje_slike() {
  Slika.SetPicture(Slika.Image());
  const std::string saved_picture = putanja_app + "\\MY_PICTURE\\01.GIF";
  save_or_report(Slika.GetPicture(), saved_picture);
  Slika.SetPicture(platform::LoadPicture(saved_picture));

  PrintPict.SetVisible(true);
  pauza();
  PrintPict.SetVisible(false);

  // Whatever the canvas holds now is printed: the wait let other handlers run.
  platform::Printer.SetOrientation(platform::vbPRORLandscape);
  platform::Printer.PaintPicture(Slika.GetPicture(), 0, 0);
  platform::Printer.EndDoc();
}
