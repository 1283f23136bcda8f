#pragma once

#include <span>
#include <string_view>

// The pictures of the window's design, built into the program: the window and its controls
// exist in their design state before any data file is read.
namespace design_pictures {

// The bytes of a design picture by file name: a data file's name such as "PAPIR1.JPG", or
// "START.GIF" (the canvas's start drawing), "ARROW.CUR", "HAND.CUR", "DROPPER.ICO",
// "DROP.ICO", "WINDOW.ICO". Empty for a name that is not built in.
std::span<const unsigned char> Get(std::string_view name);

}  // namespace design_pictures
