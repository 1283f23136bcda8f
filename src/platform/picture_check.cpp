#include "platform/picture_check.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <limits>
#include <vector>

#include "platform/failure.h"

namespace platform {
namespace {

using Bytes = std::span<const unsigned char>;

[[noreturn]] void Refuse(const std::string& name, const char* why) {
  throw RuntimeError("picture " + name + " refused: " + why);
}

bool Has(Bytes b, std::size_t at, std::size_t count) {
  return at <= b.size() && count <= b.size() - at;
}
std::uint32_t Le16(Bytes b, std::size_t at) { return b[at] | b[at + 1] << 8; }
std::uint32_t Le32(Bytes b, std::size_t at) {
  return Le16(b, at) | static_cast<std::uint32_t>(Le16(b, at + 2)) << 16;
}
std::uint32_t Be16(Bytes b, std::size_t at) { return b[at] << 8 | b[at + 1]; }
std::uint32_t Be32(Bytes b, std::size_t at) {
  return static_cast<std::uint32_t>(Be16(b, at)) << 16 | Be16(b, at + 2);
}

void CheckSize(const std::string& name, std::int64_t width, std::int64_t height) {
  if (width <= 0 || height <= 0) Refuse(name, "it declares an empty picture");
  if (width > kLargestPictureSide || height > kLargestPictureSide) {
    Refuse(name, "it declares a picture too large to be one of ours");
  }
}

// Replays the code stream as the library's decoder reads it (codes grow a bit wide when the
// table reaches a power of two) and accepts only codes a sound encoder writes. The library
// follows a code beyond the next table entry, or a first code that is no literal, into a
// table that loops on itself.
bool SoundCodes(const std::vector<unsigned char>& data, int minimum_size) {
  constexpr int kWidest = 12;
  const std::uint32_t clear = 1u << minimum_size, end = clear + 1;
  int width = minimum_size + 1;
  std::uint32_t next = clear + 2;
  bool expect_literal = true, at_start = true;
  const std::size_t bits = data.size() * 8;
  for (std::size_t bit = 0; bit + static_cast<std::size_t>(width) <= bits;) {
    std::uint32_t code = 0;
    for (int i = 0; i < width; ++i, ++bit) code |= ((data[bit / 8] >> (bit % 8)) & 1u) << i;
    if (code == clear) {
      // Clear codes before the first literal are skipped; a second one in a row later on
      // would be taken for a pixel.
      if (expect_literal && !at_start) return false;
      width = minimum_size + 1;
      next = clear + 2;
      expect_literal = true;
      continue;
    }
    if (expect_literal) {
      if (code >= clear) return false;
      expect_literal = at_start = false;
      continue;
    }
    if (code == end) return true;
    if (code > next) return false;
    if (next < (1u << kWidest)) {
      ++next;
      if (next >= (1u << width) && width < kWidest) ++width;
    }
  }
  return true;
}

// The sub-blocks from `at` joined, as the decoder reads them; `at` ends past the terminator.
std::vector<unsigned char> JoinSubBlocks(Bytes b, std::size_t& at) {
  std::vector<unsigned char> joined;
  while (at < b.size()) {
    const std::size_t length = b[at++];
    if (length == 0) break;
    const std::size_t available = std::min(length, b.size() - at);
    joined.insert(joined.end(), b.begin() + static_cast<std::ptrdiff_t>(at),
                  b.begin() + static_cast<std::ptrdiff_t>(at + available));
    at += available;
  }
  return joined;
}

// Walks the blocks as the decoder does: it skips any byte that starts no block, so a block
// hidden behind such bytes is checked as well. A file that ends early passes: the decoder
// stops where the data stops.
void CheckGif(Bytes b, const std::string& name) {
  if (!Has(b, 0, 13)) Refuse(name, "it ends inside the GIF header");
  if (Le16(b, 6) > kLargestPictureSide || Le16(b, 8) > kLargestPictureSide) {
    Refuse(name, "it declares a screen too large to be one of ours");
  }
  std::size_t at = 13;
  if (b[10] & 0x80) at += 3u << ((b[10] & 0x07) + 1);
  while (at < b.size()) {
    const unsigned char introducer = b[at++];
    if (introducer == ';') return;
    if (introducer == '!') {
      ++at;  // the label
      JoinSubBlocks(b, at);
      continue;
    }
    if (introducer != ',') continue;
    if (!Has(b, at, 9)) return;
    CheckSize(name, Le16(b, at + 4), Le16(b, at + 6));
    const unsigned char flags = b[at + 8];
    at += 9;
    if (flags & 0x80) at += 3u << ((flags & 0x07) + 1);
    if (at >= b.size()) return;
    const int minimum_size = b[at++];
    if (minimum_size < 2 || minimum_size > 8) Refuse(name, "its GIF code size is invalid");
    if (!SoundCodes(JoinSubBlocks(b, at), minimum_size)) {
      Refuse(name, "its GIF image data is malformed");
    }
  }
}

// The frame header's size, found by walking the markers up to the first scan.
void CheckJpeg(Bytes b, const std::string& name) {
  std::size_t at = 2;
  while (Has(b, at, 4)) {
    if (b[at] != 0xFF || b[at + 1] == 0xFF) {
      ++at;  // stray or fill bytes, which the decoder skips as well
      continue;
    }
    const unsigned char marker = b[at + 1];
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {
      at += 2;
      continue;
    }
    if (marker == 0xD9 || marker == 0xDA) return;
    const bool frame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame && Has(b, at, 9)) CheckSize(name, Be16(b, at + 7), Be16(b, at + 5));
    at += 2 + Be16(b, at + 2);
  }
}

void CheckBmp(Bytes b, const std::string& name) {
  if (!Has(b, 14, 12)) Refuse(name, "it ends inside the bitmap header");
  if (Le32(b, 14) == 12) {
    CheckSize(name, Le16(b, 18), Le16(b, 20));
    return;
  }
  const auto height = static_cast<std::int32_t>(Le32(b, 22));
  CheckSize(name, static_cast<std::int32_t>(Le32(b, 18)), std::llabs(height));
}

// The icon decoder keeps its palette on the stack and reads no more of it than the header
// declares, nor checks that it read that much: an index past the declared colours, or a
// palette that the file cuts short, would make a pixel of whatever the stack held.
constexpr std::uint32_t kIconHeaderBytes = 40;
// All entries together are checked, not only the one the decoder picks; no icon of the
// program covers more than a small part of this.
constexpr long kIconAreaChecked = 4 * 1024 * 1024;

// One entry's bitmap, read as the decoder reads it: the header, the palette, then the colour
// rows bottom-up, each padded to four bytes (the mask after them the decoder reads with
// checks of its own). The bitmap holds the picture and its mask one above the other, so the
// picture is half its height. `area` is what the entries checked so far have covered.
void CheckIconBitmap(Bytes b, std::size_t header, const std::string& name, long& area) {
  if (!Has(b, header, kIconHeaderBytes)) Refuse(name, "an icon's header is cut short");
  const auto width = static_cast<std::int32_t>(Le32(b, header + 4));
  const std::int64_t rows = std::llabs(static_cast<std::int32_t>(Le32(b, header + 8))) / 2;
  CheckSize(name, width, rows);
  area += static_cast<long>(width) * rows;
  if (area > kIconAreaChecked) Refuse(name, "its icons together are too large");
  const std::uint32_t bits = Le16(b, header + 14);
  const bool decoded = bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32;
  if (!decoded || Le32(b, header + 16) != 0) return;  // the decoder refuses it itself
  std::uint32_t colours = 0;
  if (bits <= 8) {
    colours = Le32(b, header + 32);
    if (colours == 0) colours = 1u << bits;
    if (colours > 256) Refuse(name, "an icon declares more than 256 colours");
  }
  const std::size_t palette = header + kIconHeaderBytes, pixels = palette + 4 * colours;
  if (!Has(b, palette, 4 * colours)) Refuse(name, "an icon's palette is cut short");
  const std::size_t row_bytes = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
  if (!Has(b, pixels, row_bytes * static_cast<std::size_t>(rows))) {
    Refuse(name, "an icon's pixel rows are cut short");
  }
  if (bits <= 8 && colours < (1u << bits)) {
    const unsigned mask = (1u << bits) - 1;
    for (std::size_t y = 0; y < static_cast<std::size_t>(rows); ++y) {
      const std::size_t row = pixels + y * row_bytes;
      for (std::size_t bit = 0; bit < static_cast<std::size_t>(width) * bits; bit += bits) {
        const unsigned index = b[row + bit / 8] >> (8 - bits - bit % 8) & mask;
        if (index >= colours) Refuse(name, "an icon's pixels use colours it does not have");
      }
    }
  }
}

// Every entry whose header the decoder would take for a bitmap's.
void CheckIcon(Bytes b, const std::string& name) {
  const std::uint32_t count = Le16(b, 4);
  long area = 0;
  for (std::uint32_t i = 0; i < count && Has(b, 6 + 16 * i, 16); ++i) {
    const std::size_t header = Le32(b, 6 + 16 * i + 12);
    if (!Has(b, header, 4) || Le32(b, header) != kIconHeaderBytes) continue;
    CheckIconBitmap(b, header, name, area);
  }
}

bool Starts(Bytes b, std::initializer_list<unsigned char> magic) {
  if (!Has(b, 0, magic.size())) return false;
  std::size_t i = 0;
  for (unsigned char m : magic) {
    if (b[i++] != m) return false;
  }
  return true;
}

}  // namespace

PictureFormat CheckPictureData(Bytes b, const std::string& name) {
  if (b.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    Refuse(name, "it is too large");
  }
  if (Starts(b, {'G', 'I', 'F', '8', '7', 'a'}) || Starts(b, {'G', 'I', 'F', '8', '9', 'a'})) {
    CheckGif(b, name);
    return PictureFormat::kGif;
  }
  if (Starts(b, {0xFF, 0xD8, 0xFF})) {
    CheckJpeg(b, name);
    return PictureFormat::kJpeg;
  }
  if (Starts(b, {'B', 'M'})) {
    CheckBmp(b, name);
    return PictureFormat::kBmp;
  }
  if (Has(b, 0, 6) && Le16(b, 0) == 0 && (Le16(b, 2) == 1 || Le16(b, 2) == 2) && Le16(b, 4) > 0) {
    CheckIcon(b, name);
    return Le16(b, 2) == 1 ? PictureFormat::kIcon : PictureFormat::kCursor;
  }
  if (Starts(b, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})) {
    if (!Has(b, 16, 8)) Refuse(name, "it ends inside the PNG header");
    CheckSize(name, Be32(b, 16), Be32(b, 20));
    return PictureFormat::kPng;
  }
  Refuse(name, "it is in no format the program reads");
}

}  // namespace platform
