// The background music with its repeat timer, and the sound-effects switch.
#include <cstdint>
#include <memory>

#include "frame/error_trap.h"
#include "frame/forma_main.h"
#include "frame/module_state.h"
#include "platform/failure.h"

void FormaMain::MusicOn_Click() {
  error_trap([&] {
    if (muzika_iskljucena == 1) {
      if (!dx_muzika) dx_muzika = std::make_shared<platform::DirectX7>();
      loader = dx_muzika->DirectMusicLoaderCreate();
      perf = dx_muzika->DirectMusicPerformanceCreate();

      perf->Init(nullptr, 0);
      perf->SetPort(-1, 80);
      perf->SetMasterAutoDownload(true);
      std::uint8_t volume = 0;
      SetVolume(volume);

      muzika_svira = 1;
      muzika_iskljucena = 0;

      seg = loader->LoadSegment(putanja_app + "\\MUSIC\\001.MID");
      seg->SetStandardMidiFile();

      volume = 75;
      SetVolume(volume);

      seg_state = perf->PlaySegment(seg, 0, 0);
      tmrRepeat.SetEnabled(true);
    } else if (muzika_iskljucena == 0) {
      set_object(perf).Stop(seg, seg_state, 0, 0);
      tmrRepeat.SetEnabled(false);
      muzika_svira = 0;
      muzika_iskljucena = 1;
    }
  });
}

void FormaMain::MuteWave_Click() {
  error_trap([&] {
    if (zvuk_ukljucen == 1) {
      zvuk_ukljucen_forma = 0;
      zvuk_ukljucen = 0;
    } else if (zvuk_ukljucen == 0) {
      zvuk_ukljucen_forma = 1;
      zvuk_ukljucen = 1;
    }
  });
}

// The end of a piece is polled: it starts again at the first tick after it ended.
void FormaMain::tmrRepeat_Timer() {
  error_trap([&] {
    if (!seg) return;
    if (set_object(perf).IsPlaying(seg, seg_state)) return;
    seg_state = perf->PlaySegment(seg, 0, 0);
  });
}

// Master volume in hundredths of a decibel: 0 gives -30 dB, 75 gives +1.5 dB.
void FormaMain::SetVolume(std::uint8_t& nVolume) {
  static_assert(255 * 42 - 3000 <= INT16_MAX, "every byte value stays within 16 bits");
  error_trap([&] {
    const std::int16_t volume = static_cast<std::int16_t>(nVolume * 42 - 3000);
    set_object(perf).SetMasterVolume(volume);
  });
}

void FormaMain::zaustavi_muziku() {
  error_trap([&] {
    set_object(perf).Stop(seg, seg_state, 0, 0);
    tmrRepeat.SetEnabled(false);
    muzika_svira = 0;
  });
}
