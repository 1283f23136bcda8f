#pragma once

#include <cstdint>
#include <string>

#include "platform/keyboard_hook.h"

// State that belongs to the program's module rather than to the window object: it lives as
// long as the program runs, whatever happens to the window.

inline std::string putanja_izvorna;   // the program directory as the platform reports it
inline std::string putanja_programa;  // the same in upper case: the prefix of every data path

inline std::int32_t trenutna_boja = 0;       // current colour, 0x00BBGGRR
inline std::int16_t muzika_iskljucena = 0;   // 1 = music off
inline std::int16_t zvuk_ukljucen = 0;       // 1 = sounds on; chooses the switch's pictures
inline std::int16_t galerija_prikazana = 0;  // 0 main screen, 1 gallery screen
inline std::int16_t trenutna_slika = 0;      // the drawing last chosen in the gallery, 1 to 25

inline platform::KBDLLHOOKSTRUCT dogadjaj_tastature{};  // the key record the filter examines

// The keyboard filter; a module function, since the platform calls it by address.
std::int32_t hook_tastature(std::int32_t nCode, std::int32_t wParam, std::intptr_t lParam);

// Gives every module variable the value it has when the program starts.
void reset_module_state();
