#include "gif.h"

#include <gif_lib.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>

namespace datagen {
namespace {

int AppendToVector(GifFileType* gif, const GifByteType* bytes, int length) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
  out->insert(out->end(), bytes, bytes + length);
  return length;
}

[[noreturn]] void Fail(const char* step, int error) {
  const char* text = GifErrorString(error);
  throw std::runtime_error(std::string("GIF encoding failed at ") + step + ": " +
                           (text ? text : "unknown error"));
}

// Where the parts of a GIF that padding touches begin.
struct GifLayout {
  std::size_t trailer = 0;                // offset of the 0x3B byte
  std::vector<std::size_t> image_blocks;  // offsets of the image-data sub-block length bytes
};

std::size_t SkipSubBlocks(const std::vector<std::uint8_t>& gif, std::size_t at,
                          std::vector<std::size_t>* blocks) {
  while (at < gif.size() && gif[at] != 0) {
    if (blocks) blocks->push_back(at);
    at += 1 + gif[at];
  }
  if (at >= gif.size()) throw std::runtime_error("GIF ends inside a block");
  return at + 1;
}

GifLayout ReadLayout(const std::vector<std::uint8_t>& gif) {
  constexpr std::size_t kScreenEnd = 13;  // signature and logical screen descriptor
  if (gif.size() < kScreenEnd + 1 || gif[0] != 'G' || gif[1] != 'I' || gif[2] != 'F') {
    throw std::runtime_error("not a GIF");
  }
  std::size_t at = kScreenEnd;
  if (gif[10] & 0x80) at += 3u << ((gif[10] & 0x07) + 1);
  GifLayout layout;
  while (at < gif.size()) {
    switch (gif[at]) {
      case 0x21:  // extension: introducer, label, sub-blocks
        at = SkipSubBlocks(gif, at + 2, nullptr);
        break;
      case 0x2C: {  // image descriptor, optional local colour table, LZW code size, data
        if (at + 10 >= gif.size()) throw std::runtime_error("GIF ends inside an image");
        const std::uint8_t packed = gif[at + 9];
        at += 10;
        if (packed & 0x80) at += 3u << ((packed & 0x07) + 1);
        at = SkipSubBlocks(gif, at + 1, &layout.image_blocks);
        break;
      }
      case 0x3B:
        layout.trailer = at;
        return layout;
      default:
        throw std::runtime_error("unexpected byte in GIF");
    }
  }
  throw std::runtime_error("GIF has no trailer");
}

// Splits image-data sub-blocks so that the file grows by `count` bytes: decoders join
// sub-blocks into one code stream, so where the boundaries fall does not matter.
void SplitImageBlocks(std::vector<std::uint8_t>& gif, const GifLayout& layout, int count) {
  std::vector<std::size_t> splittable;
  for (std::size_t at : layout.image_blocks) {
    if (gif[at] >= 2) splittable.push_back(at);
  }
  if (splittable.size() < static_cast<std::size_t>(count)) {
    throw std::runtime_error("GIF image data too short to pad by this amount");
  }
  // From the back, so that earlier offsets stay valid.
  for (int i = count - 1; i >= 0; --i) {
    const std::size_t at = splittable[i];
    const std::uint8_t length = gif[at];
    gif[at] = length - 1;
    gif.insert(gif.begin() + static_cast<std::ptrdiff_t>(at + length), std::uint8_t{1});
  }
}

// A comment extension of exactly `bytes` bytes, 5 or more, none of its sub-blocks empty.
std::vector<std::uint8_t> CommentOfLength(std::size_t bytes) {
  std::vector<std::uint8_t> comment = {0x21, 0xFE};
  std::size_t payload = bytes - 3;  // sub-block length bytes and their data
  while (payload > 0) {
    // Leave at least two bytes for a following sub-block, or none at all.
    std::size_t block = std::min<std::size_t>(payload - 1, 255);
    if (payload - 1 - block == 1) --block;
    comment.push_back(static_cast<std::uint8_t>(block));
    comment.insert(comment.end(), block, std::uint8_t{' '});
    payload -= block + 1;
  }
  comment.push_back(0);
  return comment;
}

}  // namespace

std::vector<std::uint8_t> EncodeTwoColourGif(const std::vector<std::uint8_t>& pixels, int width,
                                             int height) {
  if (width <= 0 || height <= 0 || pixels.size() != static_cast<std::size_t>(width) * height) {
    throw std::invalid_argument("pixel count does not match the picture size");
  }
  std::vector<std::uint8_t> out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, AppendToVector, &error);
  if (!gif) Fail("open", error);
  auto close = [](GifFileType* g) {
    int ignored = 0;
    EGifCloseFile(g, &ignored);
  };
  std::unique_ptr<GifFileType, decltype(close)> owner(gif, close);

  const GifColorType colours[2] = {{0, 0, 0}, {255, 255, 255}};
  std::unique_ptr<ColorMapObject, decltype(&GifFreeMapObject)> map(GifMakeMapObject(2, colours),
                                                                   &GifFreeMapObject);
  if (!map) throw std::runtime_error("GIF encoding failed: out of memory");
  EGifSetGifVersion(gif, true);
  if (EGifPutScreenDesc(gif, width, height, 1, 1, map.get()) != GIF_OK) Fail("screen", gif->Error);
  if (EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) != GIF_OK) {
    Fail("image", gif->Error);
  }
  std::vector<GifPixelType> row(static_cast<std::size_t>(width));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      row[x] = pixels[static_cast<std::size_t>(y) * width + x] ? 1 : 0;
    if (EGifPutLine(gif, row.data(), width) != GIF_OK) Fail("line", gif->Error);
  }
  GifFileType* raw = owner.release();
  if (EGifCloseFile(raw, &error) != GIF_OK) Fail("close", error);
  return out;
}

std::vector<std::uint8_t> PadGif(std::vector<std::uint8_t> gif, std::size_t size) {
  const GifLayout layout = ReadLayout(gif);
  if (gif.size() > size) {
    throw std::runtime_error("GIF of " + std::to_string(gif.size()) + " bytes exceeds " +
                             std::to_string(size));
  }
  const std::size_t gap = size - gif.size();
  if (gap == 0) return gif;
  // A comment with text makes 5 bytes and more. An empty one would make 3, but some decoders
  // read past an extension with no sub-blocks, so small gaps come from split sub-blocks.
  const int splits = gap < 5 ? static_cast<int>(gap) : 0;
  const std::size_t comment_bytes = gap - splits;
  if (comment_bytes > 0) {
    const std::vector<std::uint8_t> comment = CommentOfLength(comment_bytes);
    gif.insert(gif.begin() + static_cast<std::ptrdiff_t>(layout.trailer), comment.begin(),
               comment.end());
  }
  SplitImageBlocks(gif, layout, splits);
  return gif;
}

}  // namespace datagen
