#include "frame/forma_main.h"

void FormaMain::wire_frame_handlers() {
  MusicOn.Click = [this] { MusicOn_Click(); };
  MuteWave.Click = [this] { MuteWave_Click(); };
  tmrRepeat.Tick = [this] { tmrRepeat_Timer(); };
}
