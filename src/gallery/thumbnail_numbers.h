#pragma once

#include <array>
#include <string>

// Where thumbnail i (1 to 25) stands in the 5 x 5 gallery grid and which picture files are its
// own. Rows and columns count from 0; thumbnails 1 to 5 fill the top row.
namespace thumbnails {

constexpr int kCount = 25;

constexpr int Row(int i) { return (i - 1) / 5; }
constexpr int Column(int i) { return (i - 1) % 5; }

// Column 2 stands one pixel left of an even step.
constexpr std::array<float, 5> kColumnLeft = {54, 198, 341, 485, 629};
constexpr std::array<float, 5> kRowTop = {48, 185, 322, 459, 596};

constexpr float LeftOf(int i) { return kColumnLeft[static_cast<std::size_t>(Column(i))]; }
constexpr float TopOf(int i) { return kRowTop[static_cast<std::size_t>(Row(i))]; }

// The pictures of all thumbnails are cut from one 9 x 9 sheet, whose odd cells they use: the
// number of that cell names both pictures of a thumbnail.
constexpr int FileNumber(int i) { return 18 * Row(i) + 2 * Column(i) + 1; }

// The zero goes in front of the digits, not the digits after a literal: GCC 12 warns falsely
// (-Wrestrict) of a literal joined to a temporary string here.
inline std::string TwoDigits(int n) {
  std::string digits = std::to_string(n);
  if (n < 10) digits.insert(digits.begin(), '0');
  return digits;
}

inline std::string RestingPicture(int i) {
  return "\\PICTURE\\GALERIJA1BELE_" + TwoDigits(FileNumber(i)) + ".JPG";
}
inline std::string HighlightedPicture(int i) {
  return "\\PICTURE\\GALERIJA1ZUTE_" + TwoDigits(FileNumber(i)) + ".JPG";
}

}  // namespace thumbnails
