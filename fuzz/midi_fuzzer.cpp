// Feeds arbitrary bytes to the reading of the music file, from memory and from a file on disk
// as the music switch reads it.
#include <cstdint>
#include <span>
#include <string>

#include "platform/failure.h"
#include "platform/midi_file.h"
#include "scratch_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    platform::MidiSeconds(std::span<const unsigned char>(data, size), "fuzz");
  } catch (const platform::RuntimeError&) {
  }
  const std::string& scratch = WriteScratchFile(".MID", data, size);
  try {
    platform::MidiFileSeconds(scratch);
  } catch (const platform::RuntimeError&) {
  }
  return 0;
}
