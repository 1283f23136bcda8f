#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace platform {

// The playing time in seconds of a standard MIDI file (formats 0, 1 and 2): from the header's
// division, the tempo changes of every track and the tick of the last event. The path goes
// through MapPath. A missing, unreadable or malformed file raises RuntimeError.
// A file longer than kLargestMusicFile counts as damaged and is refused before it is read.
double MidiFileSeconds(const std::string& path);
// The bytes of a MIDI file, bounded as MidiFileSeconds bounds them, for one check and one play
// of the same bytes. A missing, unreadable or too long file raises RuntimeError.
std::vector<unsigned char> ReadMidiFile(const std::string& path);
// The same for a file already in memory; `name` only names it in the message.
double MidiSeconds(std::span<const unsigned char> bytes, const std::string& name);

// Far above any piece of the program's own (a few kilobytes).
constexpr std::uintmax_t kLargestMusicFile = 1024 * 1024;

}  // namespace platform
