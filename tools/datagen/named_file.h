#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace datagen {

// A generated file: its path below the program's directory (such as "SOUND/ZUTA.WAV") or,
// for a built-in picture, its bare name; and its bytes.
struct NamedFile {
  std::string name;
  std::vector<std::uint8_t> bytes;
};

}  // namespace datagen
