// The exit dialog and the about panel: picture boxes of the window laid over the current
// screen, which stays frozen beneath them while they are shown.
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "frame/error_trap.h"
#include "frame/forma_main.h"
#include "frame/module_state.h"
#include "frame/web_pages.h"
#include "frame/window_layout.h"
#include "platform/keyboard_hook.h"
#include "platform/shell.h"

namespace {

using PictureBox = platform::PictureBox;

// A panel button's hover picture shows only while the button stands at its design place;
// its top edge is a float, compared exactly.
struct HoverButton {
  std::string_view handler;
  PictureBox FormaMain::*box;
  float design_top;
  std::string_view hover_picture;
};
constexpr HoverButton kHoverButtons[] = {
    {"Da_MouseMove", &FormaMain::Da, layout::kDa.top, "\\PICTURE\\YES2.JPG"},
    {"Ne_MouseMove", &FormaMain::Ne, layout::kNe.top, "\\PICTURE\\NO2.JPG"},
    {"visit_site_MouseMove", &FormaMain::visit_site, layout::kVisitSite.top,
     "\\PICTURE\\VISIT2.JPG"},
    {"Firma_MouseMove", &FormaMain::Firma, layout::kFirma.top, "\\PICTURE\\CTRLR5822.JPG"},
    {"Zatvori_MouseMove", &FormaMain::Zatvori, layout::kZatvori.top, "\\PICTURE\\CLOSE2.JPG"},
};

struct RestingPicture {
  PictureBox FormaMain::*box;
  std::string_view picture;
};
// What each panel's background puts back, in this order.
constexpr RestingPicture kExitDialogResting[] = {{&FormaMain::Da, "\\PICTURE\\YES1.JPG"},
                                                 {&FormaMain::Ne, "\\PICTURE\\NO1.JPG"}};
constexpr RestingPicture kAboutPanelResting[] = {{&FormaMain::Zatvori, "\\PICTURE\\CLOSE1.JPG"},
                                                 {&FormaMain::Firma, "\\PICTURE\\CTRLR5821.JPG"},
                                                 {&FormaMain::visit_site, "\\PICTURE\\VISIT1.JPG"}};

void hover(FormaMain& form, const HoverButton& button) {
  error_trap([&] {
    PictureBox& box = form.*button.box;
    if (box.Top() == button.design_top) form.load_picture(box, button.hover_picture);
  });
}

void put_resting_pictures(FormaMain& form, std::span<const RestingPicture> buttons) {
  error_trap([&] {
    for (const RestingPicture& b : buttons) form.load_picture(form.*b.box, b.picture);
  });
}

// No error trap: a failure ends the opener's caller, the shortcut handler.
void open_panel(FormaMain& form, std::initializer_list<PictureBox*> controls) {
  if (galerija_prikazana == 0) {
    form.glavni_ekran_zamrznut();
  } else if (galerija_prikazana == 1) {
    form.galerijski_ekran_zamrznut();
  } else {
    return;
  }
  for (PictureBox* c : controls) c->SetVisible(true);
}

void close_panel(FormaMain& form, std::initializer_list<PictureBox*> controls) {
  error_trap([&] {
    if (galerija_prikazana != 0 && galerija_prikazana != 1) return;
    for (PictureBox* c : controls) c->SetVisible(false);
    if (galerija_prikazana == 0) {
      form.glavni_ekran_odmrznut();
    } else {
      form.galerijski_ekran_odmrznut();
    }
  });
}

// The window goes down first, so the browser comes up in front of it.
void open_web_page(FormaMain& form, const std::string& address) {
  error_trap([&] { minimise_and_open(form.hWnd(), address); });
}

}  // namespace

void FormaMain::prikazi_izlaz() { open_panel(*this, {&Izlaz, &Da, &Ne}); }

void FormaMain::prikazi_o_programu() {
  open_panel(*this, {&Registered, &visit_site, &Firma, &Zatvori});
}

void FormaMain::Ne_Click() { close_panel(*this, {&Da, &Ne, &Izlaz}); }

void FormaMain::Zatvori_Click() {
  close_panel(*this, {&Registered, &visit_site, &Firma, &Zatvori});
}

void FormaMain::Da_Click() {
  error_trap([&] {
    if (muzika_svira == 1) zaustavi_muziku();
    zatvori_program();
    // The unload has already removed the filter unless shutdown stopped before it.
    if (hook_id != 0) platform::UnhookWindowsHookEx(hook_id);
    platform::End();
  });
}

void FormaMain::visit_site_Click() { open_web_page(*this, product_page_address()); }
void FormaMain::Firma_Click() { open_web_page(*this, maker_page_address()); }

void FormaMain::wire_panel_handlers() {
  Da.Click = std::bind_front(&FormaMain::Da_Click, this);
  Ne.Click = std::bind_front(&FormaMain::Ne_Click, this);
  Zatvori.Click = std::bind_front(&FormaMain::Zatvori_Click, this);
  visit_site.Click = std::bind_front(&FormaMain::visit_site_Click, this);
  Firma.Click = std::bind_front(&FormaMain::Firma_Click, this);
  for (const HoverButton& button : kHoverButtons) {
    (this->*button.box).MouseMove = [this, &button](MouseButton, ShiftMask, float, float) {
      hover(*this, button);
    };
  }
  // The backgrounds: `Izlaz_MouseMove` and `Registered_MouseMove`.
  Izlaz.MouseMove = [this](MouseButton, ShiftMask, float, float) {
    put_resting_pictures(*this, kExitDialogResting);
  };
  Registered.MouseMove = [this](MouseButton, ShiftMask, float, float) {
    put_resting_pictures(*this, kAboutPanelResting);
  };
}
