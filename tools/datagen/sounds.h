#pragma once

#include <vector>

#include "named_file.h"

namespace datagen {

// The twelve colour sounds, "SOUND/<NAME>.WAV": 16-bit mono PCM at 22,050 Hz, each under a
// second and each its own friendly synthesised sound.
std::vector<NamedFile> MakeColourSounds();

}  // namespace datagen
