#pragma once

#include <string>
#include <vector>

#include "named_file.h"

namespace datagen {

// The C++ source of design_pictures::Get, with each built-in picture as one byte array.
std::string BuiltInSource(const std::vector<NamedFile>& pictures);

}  // namespace datagen
