#pragma once

#include <vector>

#include "named_file.h"

namespace datagen {

struct DataSet {
  std::vector<NamedFile> files;     // below the program's directory: "PICTURE/01.GIF", ...
  std::vector<NamedFile> built_in;  // the design pictures, by bare name: "PAPIR1.JPG", ...
};

// The whole data set, made from nothing but this code. Throws std::runtime_error naming a
// picture that cannot be brought to its size.
DataSet MakeDataSet();

// The file number nn of gallery thumbnail `place` (1 to 25, row by row): the files are
// GALERIJA1BELE_nn.JPG and GALERIJA1ZUTE_nn.JPG.
int ThumbnailFileNumber(int place);

}  // namespace datagen
