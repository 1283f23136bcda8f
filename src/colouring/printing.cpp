// Ctrl+P: the coloured picture is fixed, saved as the one saved picture, announced and
// printed on the default printer.
#include <string>

#include "frame/forma_main.h"
#include "platform/picture.h"
#include "platform/printer.h"

// No error trap: a failure ends the shortcut handler that called it, and what was done stays.
void FormaMain::stampanje_slike() {
  Slika.SetPicture(Slika.Image());
  const std::string saved_picture = putanja_app + "\\MY_PICTURE\\01.GIF";
  platform::SavePicture(Slika.GetPicture(), saved_picture);
  Slika.SetPicture(platform::LoadPicture(saved_picture));

  PrintPict.SetVisible(true);
  pauza();
  PrintPict.SetVisible(false);

  // Whatever the canvas holds now is printed: the wait let other handlers run.
  platform::Printer.SetOrientation(platform::vbPRORLandscape);
  platform::Printer.PaintPicture(Slika.GetPicture(), 0, 0);
  platform::Printer.EndDoc();
}
