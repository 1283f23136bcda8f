// Feeds arbitrary bytes to the reading of the music file, from memory and from a file on disk
// as the music switch reads it.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

#include "platform/failure.h"
#include "platform/midi_file.h"

namespace {

const std::string& ScratchFile() {
  static const std::string path = "fuzz-input-" + std::to_string(::getpid()) + ".MID";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    platform::MidiSeconds(std::span<const unsigned char>(data, size), "fuzz");
  } catch (const platform::RuntimeError&) {
  }
  std::FILE* out = std::fopen(ScratchFile().c_str(), "wb");
  if (out == nullptr) std::abort();
  if (size != 0 && std::fwrite(data, 1, size, out) != size) std::abort();
  std::fclose(out);
  try {
    platform::MidiFileSeconds(ScratchFile());
  } catch (const platform::RuntimeError&) {
  }
  return 0;
}
