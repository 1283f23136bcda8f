#pragma once

#include <string>

#include "data_set.h"

namespace datagen {

// Every picture of the data set, built-in ones too, reduced onto one labelled PNG sheet so
// that the artwork can be seen at a glance. Throws std::runtime_error when a picture does
// not decode or the sheet cannot be written.
void WriteContactSheet(const DataSet& set, const std::string& png_path);

}  // namespace datagen
