#pragma once

#include <vector>

#include "named_file.h"

namespace datagen {

// MAKER.HTML and PRODUCT.HTML: the two local pages that the about panel's buttons open.
std::vector<NamedFile> MakeWebPages();

}  // namespace datagen
