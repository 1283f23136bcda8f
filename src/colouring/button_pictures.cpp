// The main screen's hover pictures, and the resets that put resting pictures back when the
// pointer reaches the bare form or the canvas. Every change loads its file from disk.
#include "colouring/button_pictures.h"

#include "colouring/palette_table.h"
#include "frame/error_trap.h"
#include "frame/forma_main.h"
#include "frame/module_state.h"
#include "frame/window_layout.h"

namespace {

// Two separate tests each, so a flag outside 0 and 1 changes no picture.
void rest_sound_switch(FormaMain& f) {
  if (zvuk_ukljucen == 0) f.load_picture(f.MuteWave, "\\PICTURE\\SOUNDOFF2.JPG");
  if (zvuk_ukljucen == 1) f.load_picture(f.MuteWave, "\\PICTURE\\ZVUCNIK1.JPG");
}

void rest_music_switch(FormaMain& f) {
  if (muzika_iskljucena == 0) f.load_picture(f.MusicOn, "\\PICTURE\\MUZIKA1.JPG");
  if (muzika_iskljucena == 1) f.load_picture(f.MusicOn, "\\PICTURE\\MUSICOFF2.JPG");
}

// A switch's hover picture for the value of its flag; a flag outside 0 and 1 shows none.
const char* switch_hover(std::int16_t flag, const char* when_1, const char* when_0) {
  if (flag == 1) return when_1;
  if (flag == 0) return when_0;
  return nullptr;
}

void rest_wipe_buttons(FormaMain& f) {
  f.load_picture(f.Rubber, "\\PICTURE\\GUMICA1.JPG");
  f.load_picture(f.Papir, "\\PICTURE\\PAPIR1.JPG");
}

}  // namespace

void reset_buttons_over_canvas(FormaMain& f) {
  f.load_picture(f.MoreImages, "\\PICTURE\\MOREIMAGES1.JPG");
  rest_wipe_buttons(f);
  rest_sound_switch(f);
  rest_music_switch(f);
}

void FormaMain::Form_MouseMove(MouseButton, ShiftMask, float, float) {
  error_trap([&] {
    load_picture(MoreImages, "\\PICTURE\\MOREIMAGES1.JPG");
    for (int nn = 1; nn <= kPaletteCount; ++nn) {
      const bool selected = boje_faza3[static_cast<std::size_t>(nn - 1)] == 1;
      load_picture(Paleta(nn), palette_picture(selected ? 3 : 1, nn));
    }
    rest_wipe_buttons(*this);
    load_picture(Back, "\\PICTURE\\BACK1.JPG");
    if (galerija_prikazana == 1) mouse_move_galerija1_bele();
    rest_sound_switch(*this);
    rest_music_switch(*this);
  });
}

void FormaMain::MoreImages_MouseMove(MouseButton, ShiftMask, float, float) {
  error_trap([&] {
    if (MoreImages.Top() != layout::kMoreImages.top) return;
    load_picture(MoreImages, "\\PICTURE\\MOREIMAGES2.JPG");
    rest_wipe_buttons(*this);
    rest_sound_switch(*this);
  });
}

void FormaMain::MuteWave_MouseMove(MouseButton, ShiftMask, float, float) {
  error_trap([&] {
    const char* hover =
        switch_hover(zvuk_ukljucen, "\\PICTURE\\ZVUCNIK2.JPG", "\\PICTURE\\SOUNDOFF1.JPG");
    if (MuteWave.Top() != layout::kMuteWave.top || hover == nullptr) return;
    load_picture(MuteWave, hover);
    rest_wipe_buttons(*this);
  });
}

void FormaMain::MusicOn_MouseMove(MouseButton, ShiftMask, float, float) {
  error_trap([&] {
    const char* hover =
        switch_hover(muzika_iskljucena, "\\PICTURE\\MUSICOFF1.JPG", "\\PICTURE\\MUZIKA2.JPG");
    if (MusicOn.Top() != layout::kMusicOn.top || hover == nullptr) return;
    load_picture(MusicOn, hover);
    rest_wipe_buttons(*this);
    rest_sound_switch(*this);
  });
}

void FormaMain::Rubber_MouseMove(MouseButton, ShiftMask, float, float) {
  error_trap([&] {
    if (Rubber.Top() != layout::kRubber.top) return;
    load_picture(Rubber, "\\PICTURE\\GUMICA2.JPG");
    load_picture(Papir, "\\PICTURE\\PAPIR1.JPG");
  });
}

void FormaMain::Papir_MouseMove(MouseButton, ShiftMask, float, float) {
  error_trap([&] {
    if (Papir.Top() != layout::kPapir.top) return;
    load_picture(Papir, "\\PICTURE\\PAPIR2.JPG");
    load_picture(Rubber, "\\PICTURE\\GUMICA1.JPG");
  });
}
