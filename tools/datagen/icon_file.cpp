#include "icon_file.h"

#include <stdexcept>

namespace datagen {
namespace {

constexpr std::uint16_t kIconType = 1, kCursorType = 2;
constexpr std::uint32_t kHeaderBytes = 6 + 16;  // directory and its one entry
constexpr std::uint32_t kBitmapInfoBytes = 40;

class Writer {
 public:
  void U8(std::uint32_t v) { bytes.push_back(static_cast<std::uint8_t>(v)); }
  void U16(std::uint32_t v) {
    U8(v);
    U8(v >> 8);
  }
  void U32(std::uint32_t v) {
    U16(v);
    U16(v >> 16);
  }
  std::vector<std::uint8_t> bytes;
};

int RowBytes(int width, int bits) { return (width * bits + 31) / 32 * 4; }

bool Opaque(const Image& image, int x, int y) { return image.AlphaAt(x, y) >= 0.5f; }

int Nearest(Colour c, const std::vector<Colour>& palette) {
  int best = 0, best_distance = 1 << 30;
  for (int i = 0; i < static_cast<int>(palette.size()); ++i) {
    const int dr = c.r - palette[i].r, dg = c.g - palette[i].g, db = c.b - palette[i].b;
    const int d = dr * dr + dg * dg + db * db;
    if (d < best_distance) best = i, best_distance = d;
  }
  return best;
}

// The colour bits of one pixel row, bottom-up like every Windows bitmap.
void ColourRows(Writer& out, const Image& image, int bits, const std::vector<Colour>& palette) {
  const int row_bytes = RowBytes(image.width(), bits);
  for (int y = image.height() - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(row_bytes), 0);
    for (int x = 0; x < image.width(); ++x) {
      if (!Opaque(image, x, y)) continue;  // masked pixels stay black so they show nothing
      const Colour c = image.At(x, y);
      if (bits == 4) {
        row[x / 2] |= static_cast<std::uint8_t>(Nearest(c, palette) << (x % 2 == 0 ? 4 : 0));
      } else {
        row[3 * x] = c.b;
        row[3 * x + 1] = c.g;
        row[3 * x + 2] = c.r;
      }
    }
    out.bytes.insert(out.bytes.end(), row.begin(), row.end());
  }
}

void MaskRows(Writer& out, const Image& image) {
  const int row_bytes = RowBytes(image.width(), 1);
  for (int y = image.height() - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(row_bytes), 0);
    for (int x = 0; x < image.width(); ++x) {
      if (!Opaque(image, x, y)) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
    out.bytes.insert(out.bytes.end(), row.begin(), row.end());
  }
}

std::vector<std::uint8_t> Encode(const Image& image, int bits, const std::vector<Colour>& palette,
                                 std::uint16_t type, int hot_x, int hot_y) {
  if (image.width() > 255 || image.height() > 255) throw std::runtime_error("icon too large");
  if (palette.size() > 16) throw std::runtime_error("a 16-colour icon has at most 16 colours");
  const std::uint32_t palette_bytes = bits == 4 ? 16 * 4 : 0;
  const std::uint32_t pixel_bytes = static_cast<std::uint32_t>(
      (RowBytes(image.width(), bits) + RowBytes(image.width(), 1)) * image.height());
  const std::uint32_t image_bytes = kBitmapInfoBytes + palette_bytes + pixel_bytes;

  Writer out;
  out.U16(0);
  out.U16(type);
  out.U16(1);
  out.U8(static_cast<std::uint32_t>(image.width()));
  out.U8(static_cast<std::uint32_t>(image.height()));
  out.U8(bits == 4 ? 16 : 0);
  out.U8(0);
  // A cursor keeps its hot spot where an icon keeps its planes and bit count.
  out.U16(type == kCursorType ? static_cast<std::uint32_t>(hot_x) : 1);
  out.U16(type == kCursorType ? static_cast<std::uint32_t>(hot_y)
                              : static_cast<std::uint32_t>(bits));
  out.U32(image_bytes);
  out.U32(kHeaderBytes);

  out.U32(kBitmapInfoBytes);
  out.U32(static_cast<std::uint32_t>(image.width()));
  out.U32(static_cast<std::uint32_t>(2 * image.height()));  // colour bits and mask together
  out.U16(1);
  out.U16(static_cast<std::uint32_t>(bits));
  out.U32(0);  // uncompressed
  out.U32(pixel_bytes);
  out.U32(0);
  out.U32(0);
  out.U32(bits == 4 ? 16 : 0);
  out.U32(0);
  if (bits == 4) {
    for (std::size_t i = 0; i < 16; ++i) {
      const Colour c = i < palette.size() ? palette[i] : Colour{};
      out.U8(c.b);
      out.U8(c.g);
      out.U8(c.r);
      out.U8(0);
    }
  }
  ColourRows(out, image, bits, palette);
  MaskRows(out, image);
  return out.bytes;
}

}  // namespace

std::vector<std::uint8_t> EncodeIcon16(const Image& image, const std::vector<Colour>& palette) {
  return Encode(image, 4, palette, kIconType, 0, 0);
}

std::vector<std::uint8_t> EncodeCursor16(const Image& image, const std::vector<Colour>& palette,
                                         int hot_x, int hot_y) {
  return Encode(image, 4, palette, kCursorType, hot_x, hot_y);
}

std::vector<std::uint8_t> EncodeIcon24(const Image& image) {
  return Encode(image, 24, {}, kIconType, 0, 0);
}

}  // namespace datagen
