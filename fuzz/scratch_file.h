#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// Writes the input to one file in the working directory, rewritten for every input (a fresh
// name each time would fill the disk), and gives its name. Named after the process, since
// several fuzz side by side; `extension` is the one the loader expects.
inline const std::string& WriteScratchFile(const char* extension, const std::uint8_t* data,
                                           std::size_t size) {
  static const std::string path = "fuzz-input-" + std::to_string(::getpid()) + extension;
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) std::abort();
  if (size != 0 && std::fwrite(data, 1, size, out) != size) std::abort();
  std::fclose(out);
  return path;
}
