// Feeds arbitrary bytes to the picture loader the way the program meets a damaged data file:
// from memory (the built-in design pictures) and from a file on disk (the data set).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

#include "platform/failure.h"
#include "platform/picture.h"

namespace {

// One file in the working directory, rewritten for every input: a fresh name each time
// would fill the disk. Named after the process, since several fuzz side by side.
const std::string& ScratchFile() {
  static const std::string path = "fuzz-input-" + std::to_string(::getpid()) + ".GIF";
  return path;
}

void CheckShape(const platform::Picture& picture) {
  if (!picture || picture->width <= 0 || picture->height <= 0 ||
      picture->pixels.size() != static_cast<std::size_t>(picture->width) * picture->height) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const unsigned char> bytes(data, size);
  try {
    CheckShape(platform::LoadPictureFromMemory(bytes, "fuzz"));
  } catch (const platform::RuntimeError&) {
  }

  std::FILE* out = std::fopen(ScratchFile().c_str(), "wb");
  if (out == nullptr) std::abort();
  if (size != 0 && std::fwrite(data, 1, size, out) != size) std::abort();
  std::fclose(out);
  try {
    CheckShape(platform::LoadPicture(ScratchFile()));
  } catch (const platform::RuntimeError&) {
  }
  return 0;
}
