#pragma once

#include <cstdint>
#include <vector>

// The mouse pointers and the window's icon, as complete .CUR and .ICO files.
namespace datagen {

std::vector<std::uint8_t> MakeArrowCursor();  // hot spot (0, 0)
std::vector<std::uint8_t> MakeHandCursor();   // hot spot at the fingertip (12, 1)
// Icons have no hot spot: the program uses their centre, so each tool's working point is
// drawn there.
std::vector<std::uint8_t> MakeDropperIcon();    // 64 x 64
std::vector<std::uint8_t> MakeDropIcon();       // 32 x 32
std::vector<std::uint8_t> MakeFillPointer();    // a paint bucket pouring onto the centre
std::vector<std::uint8_t> MakePencilPointer();  // a pencil with its tip at the centre
std::vector<std::uint8_t> MakeWindowIcon();     // 24 bits per pixel: a palette and a crayon

}  // namespace datagen
