#pragma once

#include <string>

namespace platform {

// The playing time in seconds of a standard MIDI file (formats 0, 1 and 2): from the header's
// division, the tempo changes of every track and the tick of the last event. The path goes
// through MapPath. A missing, unreadable or malformed file raises RuntimeError.
double MidiFileSeconds(const std::string& path);

}  // namespace platform
