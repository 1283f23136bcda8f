// Start-up, the three-second wait and the way out.
#include <memory>

#include "frame/error_trap.h"
#include "frame/forma_main.h"
#include "frame/module_state.h"
#include "frame/web_pages.h"
#include "platform/display.h"
#include "platform/failure.h"
#include "platform/keyboard_hook.h"
#include "platform/runtime.h"
#include "platform/shell.h"

void FormaMain::Form_Load() {
  error_trap([&] {
    hook_id = platform::SetWindowsHookExA(platform::WH_KEYBOARD_LL, hook_tastature,
                                          platform::AppInstance(), 0);

    putanja_app = platform::AppPath();
    if (putanja_app.empty() || putanja_app.back() != '\\') putanja_app += "\\";

    putanja_izvorna = platform::AppPath();
    putanja_programa = platform::UCase(putanja_izvorna);

    platform::ChDir(putanja_programa);

    kapljica_izabrana = -1;

    SetVisible(false);

    platform::Shell(putanja_programa + "\\MOVARI.EXE", 1);

    pauza();

    SetVisible(true);

    provera_datoteka();

    trenutna_boja = 0x0000FF;
    muzika_iskljucena = 1;
    zvuk_ukljucen = 1;
    zvuk_ukljucen_forma = 1;
    galerija_prikazana = 0;
    trenutna_slika = 1;
    boje_faza3[0] = 0;

    dx_ekran = std::make_shared<platform::DirectX7>();
    dd = dx_ekran->DirectDrawCreate("");
    dd->SetCooperativeLevel(hWnd(), platform::DDSCL_FULLSCREEN | platform::DDSCL_EXCLUSIVE);
    dd->SetDisplayMode(1024, 768, 32, 0, 0);
    ddsd.lFlags = platform::DDSD_CAPS;
    ddsd.ddsCaps.lCaps = platform::DDSCAPS_PRIMARYSURFACE;
    primarna_povrsina = dd->CreateSurface(ddsd);

    pauza();
  });
}

// No trap of its own: a failure while handling events ends the caller.
void FormaMain::pauza() {
  const double start = platform::SecondsSinceMidnight();
  constexpr int kLength = 3;
  for (;;) {
    double now = platform::SecondsSinceMidnight();
    if (now < start) now += 86400;  // midnight passed
    if (!(now < start + kLength)) return;
    platform::DoEvents();
  }
}

void FormaMain::zatvori_program() {
  error_trap([&] {
    set_object(dd).RestoreDisplayMode();
    Unload();
    // The window object itself goes when the event loop that owns it ends: the handler that
    // called this still runs in it.
  });
}

void FormaMain::Form_Unload(std::int16_t& /*cancel*/) {
  error_trap([&] {
    if (hook_id != 0) platform::UnhookWindowsHookEx(hook_id);
    if (perf) perf->CloseDown();
    minimise_and_open(hWnd(), maker_page_address());
  });
}
