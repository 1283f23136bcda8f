#pragma once

#include <cstdint>
#include <vector>

namespace datagen {

// The background piece: a standard MIDI file (format 1) for General MIDI, 24 bars of 4/4 at
// 120 beats a minute (48 s) in C major, with melody, chords, bass and light drums. It ends
// on the tonic exactly at the end of its last bar, so that it loops cleanly.
std::vector<std::uint8_t> MakeMusic();

}  // namespace datagen
