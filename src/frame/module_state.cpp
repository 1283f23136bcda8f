#include "frame/module_state.h"

void reset_module_state() {
  putanja_izvorna.clear();
  putanja_programa.clear();
  trenutna_boja = 0;
  muzika_iskljucena = 0;
  zvuk_ukljucen = 0;
  galerija_prikazana = 0;
  trenutna_slika = 0;
  dogadjaj_tastature = {};
}
