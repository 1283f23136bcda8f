// Icons and cursors made to have the icon decoder read colours they do not have: the decoder
// keeps its palette on its stack and fills only the declared part of it, so such a pixel
// would be whatever the stack held.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "platform/picture.h"

namespace robustness {
namespace {

using Bytes = std::vector<unsigned char>;

void Put16(Bytes& b, std::uint32_t v) {
  b.push_back(static_cast<unsigned char>(v));
  b.push_back(static_cast<unsigned char>(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v) {
  Put16(b, v);
  Put16(b, v >> 16);
}

// The colour of palette entry `i` as the decoder gives it (opaque).
std::uint32_t PaletteColour(std::uint32_t i) {
  return 0xFF000000u | (10 + 40 * i) << 16 | (200 - 30 * i) << 8 | 77;
}

// One entry's bitmap: `written` palette colours whatever `declared` (biClrUsed) says, colour
// rows whose every byte is `fill`, and a mask that hides nothing.
struct Bitmap {
  int width, bits;
  std::uint32_t declared, written;
  unsigned char fill;
  std::size_t kept = 0;  // bytes kept of it; 0 for all
  int height = 4;

  Bytes Encode() const {
    const auto row_bytes = [this](int bpp) {
      return static_cast<std::size_t>((width * bpp + 31) / 32 * 4);
    };
    Bytes b;
    for (std::uint32_t v :
         {40u, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(2 * height)}) {
      Put32(b, v);
    }
    Put16(b, 1);
    Put16(b, static_cast<std::uint32_t>(bits));
    for (std::uint32_t v : {0u, 0u, 0u, 0u, declared, 0u}) Put32(b, v);
    for (std::uint32_t i = 0; i < written; ++i) {
      const std::uint32_t c = PaletteColour(i);
      Put32(b, c & 0xFFFFFFu);  // blue, green, red and a reserved zero
    }
    b.insert(b.end(), row_bytes(bits) * height, fill);
    b.insert(b.end(), row_bytes(1) * height, 0);
    if (kept != 0) b.resize(kept);
    return b;
  }
};

enum Kind : std::uint32_t { kIcon = 1, kCursor = 2 };

// The directory's colour count (0 for 256) is what the decoder picks an entry by.
Bytes IconFile(Kind kind, const std::vector<std::pair<Bitmap, int>>& entries) {
  Bytes file;
  Put16(file, 0);
  Put16(file, kind);
  Put16(file, static_cast<std::uint32_t>(entries.size()));
  std::vector<Bytes> bitmaps;
  std::size_t offset = 6 + 16 * entries.size();
  for (const auto& [bitmap, colour_count] : entries) {
    bitmaps.push_back(bitmap.Encode());
    for (int v : {bitmap.width, bitmap.height, colour_count, 0}) {
      file.push_back(static_cast<unsigned char>(v));
    }
    Put16(file, kind == kCursor ? 0 : 1);
    Put16(file, kind == kCursor ? 0 : static_cast<std::uint32_t>(bitmap.bits));
    Put32(file, static_cast<std::uint32_t>(bitmaps.back().size()));
    Put32(file, static_cast<std::uint32_t>(offset));
    offset += bitmaps.back().size();
  }
  for (const Bytes& b : bitmaps) file.insert(file.end(), b.begin(), b.end());
  return file;
}

// Leaves `pattern` in the stack below the caller's frame, where the decoder's frames lie next.
[[gnu::noinline]] void PaintStack(unsigned char pattern) {
  volatile unsigned char stack[64 * 1024];
  for (volatile unsigned char& byte : stack) byte = pattern;
}

platform::Picture DecodeOnPaintedStack(const Bytes& file, unsigned char pattern) {
  PaintStack(pattern);
  try {
    return platform::LoadPictureFromMemory(file, "crafted");
  } catch (const platform::RuntimeError&) {
    return nullptr;
  }
}

// Every byte 0x41: index 65 at 8 bits, 4 and 1 at 4 bits, 0 and 1 at one bit.
const Bitmap kPastTheColours[] = {
    {8, 8, 2, 2, 0x41},
    {8, 4, 2, 2, 0x41},
    {8, 1, 1, 1, 0x41},
};

TEST(CraftedIcons, ColoursPastThePaletteNeverComeFromTheStack) {
  for (Kind kind : {kIcon, kCursor}) {
    for (const Bitmap& bitmap : kPastTheColours) {
      SCOPED_TRACE((kind == kIcon ? "icon, " : "cursor, ") + std::to_string(bitmap.bits) + " bits");
      const Bytes file = IconFile(kind, {{bitmap, 0}});
      const platform::Picture over_zeros = DecodeOnPaintedStack(file, 0x00);
      const platform::Picture over_ones = DecodeOnPaintedStack(file, 0xFF);
      ASSERT_EQ(over_zeros == nullptr, over_ones == nullptr);
      if (over_zeros) {
        EXPECT_TRUE(over_zeros->pixels == over_ones->pixels) << "pixels from the stack";
      }
    }
  }
}

// What a cursor's bytes make of it: refused, or every pixel of one palette colour.
constexpr int kRefused = -1;

TEST(CraftedIcons, AnEntryThatWouldReadPastItsColoursIsRefusedWhicheverIsPicked) {
  const Bitmap good{8, 8, 2, 2, 0x01};
  struct Case {
    const char* what;
    std::vector<std::pair<Bitmap, int>> entries;
    int colour;
  };
  const Case cases[] = {
      {"8 bits, two colours, index 65", {{kPastTheColours[0], 0}}, kRefused},
      {"4 bits, two colours, indices 4 and 1", {{kPastTheColours[1], 0}}, kRefused},
      {"1 bit, one colour, indices 0 and 1", {{kPastTheColours[2], 0}}, kRefused},
      {"257 colours declared", {{{8, 8, 257, 257, 0x01}, 0}}, kRefused},
      {"the palette cut short", {{{8, 8, 0, 256, 0x01, 40 + 4 * 100}, 0}}, kRefused},
      {"the colour rows cut short", {{{8, 4, 16, 16, 0x11, 40 + 4 * 16 + 10}, 0}}, kRefused},
      {"the header cut short", {{{8, 8, 2, 2, 0x01, 30}, 0}}, kRefused},
      {"a bad entry behind the one picked", {{good, 0}, {kPastTheColours[0], 2}}, kRefused},
      {"8 bits, two colours, index 1", {{good, 0}}, 1},
      {"4 bits, three colours, index 2", {{{8, 4, 3, 3, 0x22}, 0}}, 2},
      {"1 bit, no count (two colours), index 1", {{{8, 1, 0, 2, 0xFF}, 0}}, 1},
      // Only the first three bits of each row are pixels; the rest may be anything.
      {"1 bit, one colour, three pixels a row", {{{3, 1, 1, 1, 0x1F}, 0}}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Bytes file = IconFile(kCursor, c.entries);
    if (c.colour == kRefused) {
      EXPECT_THROW(platform::LoadPictureFromMemory(file, "crafted"), platform::RuntimeError);
      continue;
    }
    const platform::Picture p = platform::LoadPictureFromMemory(file, "crafted");
    ASSERT_EQ(p->width, c.entries[0].first.width);
    ASSERT_EQ(p->height, c.entries[0].first.height);
    for (std::uint32_t pixel : p->pixels) {
      ASSERT_EQ(pixel, PaletteColour(static_cast<std::uint32_t>(c.colour)));
    }
  }
}

}  // namespace
}  // namespace robustness
