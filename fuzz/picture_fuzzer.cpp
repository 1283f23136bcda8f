// Feeds arbitrary bytes to the picture loader the way the program meets a damaged data file:
// from memory (the built-in design pictures) and from a file on disk (the data set).

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "gif_blocks.h"
#include "platform/failure.h"
#include "platform/picture.h"
#include "scratch_file.h"

namespace {

void CheckShape(const platform::Picture& picture) {
  if (!picture || picture->width <= 0 || picture->height <= 0 ||
      picture->pixels.size() != static_cast<std::size_t>(picture->width) * picture->height) {
    __builtin_trap();
  }
}

using Bytes = std::vector<unsigned char>;

bool IsIconOrCursor(std::span<const unsigned char> b) {
  return b.size() >= 4 && b[0] == 0 && b[1] == 0 && (b[2] == 1 || b[2] == 2) && b[3] == 0;
}

// Leaves `pattern` in the stack below the caller's frame, where the decoder's frames will lie
// next: a pixel made of memory the decoder never wrote changes with it.
[[gnu::noinline]] void PaintStack(unsigned char pattern) {
  volatile unsigned char stack[64 * 1024];
  for (volatile unsigned char& byte : stack) byte = pattern;
}

platform::Picture DecodeOnPaintedStack(std::span<const unsigned char> bytes,
                                       unsigned char pattern) {
  PaintStack(pattern);
  try {
    platform::Picture picture = platform::LoadPictureFromMemory(bytes, "fuzz");
    CheckShape(picture);
    return picture;
  } catch (const platform::RuntimeError&) {
    return nullptr;
  }
}

bool SamePicture(const platform::Picture& a, const platform::Picture& b) {
  if (!a || !b) return !a && !b;
  return a->width == b->width && a->height == b->height && a->pixels == b->pixels;
}

// A GIF with the image data of every image re-split, short sub-blocks (a single byte) mixed
// with long ones; empty when the blocks cannot be walked.
Bytes ResplitGif(const Bytes& in, std::mt19937& random) {
  return test_support::ResplitGifBlocks(
      in, [&random] { return random() % 3 == 0 ? 1 + random() % 254 : 1 + random() % 3; });
}

// A JPEG with one of its scans (from its start-of-scan marker to the next marker that is no
// restart) repeated many times, as a progressive file with thousands of scans would be.
Bytes RepeatJpegScan(const Bytes& in, std::size_t max_size, std::mt19937& random) {
  std::vector<std::size_t> scans;
  for (std::size_t i = 0; i + 1 < in.size(); ++i) {
    if (in[i] == 0xFF && in[i + 1] == 0xDA) scans.push_back(i);
  }
  if (scans.empty()) return {};
  const std::size_t begin = scans[random() % scans.size()];
  std::size_t end = begin + 2;
  while (end + 1 < in.size() &&
         !(in[end] == 0xFF && in[end + 1] != 0 && (in[end + 1] < 0xD0 || in[end + 1] > 0xD7))) {
    ++end;
  }
  if (end + 1 >= in.size()) end = in.size();
  const std::size_t scan = end - begin;
  if (scan == 0 || in.size() >= max_size) return {};
  const std::size_t room = (max_size - in.size()) / scan;
  const std::size_t times = std::min<std::size_t>(room, 1 + random() % 2000);
  Bytes out(in.begin(), in.begin() + static_cast<std::ptrdiff_t>(end));
  for (std::size_t t = 0; t < times; ++t) {
    out.insert(out.end(), in.begin() + static_cast<std::ptrdiff_t>(begin),
               in.begin() + static_cast<std::ptrdiff_t>(end));
  }
  out.insert(out.end(), in.begin() + static_cast<std::ptrdiff_t>(end), in.end());
  return out;
}

}  // namespace

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t max_size);

// Mostly the fuzzer's own byte mutations; now and then the structural ones above, which byte
// mutations almost never hit on their own.
extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size,
                                               std::size_t max_size, unsigned int seed) {
  std::mt19937 random(seed);
  if (random() % 4 == 0) {
    const Bytes in(data, data + size);
    Bytes out;
    if (size >= 6 && std::memcmp(data, "GIF8", 4) == 0) {
      out = ResplitGif(in, random);
    } else if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8) {
      out = RepeatJpegScan(in, max_size, random);
    }
    if (!out.empty() && out.size() <= max_size) {
      std::copy(out.begin(), out.end(), data);
      return out.size();
    }
  }
  return LLVMFuzzerMutate(data, size, max_size);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const unsigned char> bytes(data, size);
  const platform::Picture from_memory = DecodeOnPaintedStack(bytes, 0x00);
  // The icon decoder's palette lives on its stack: the same bytes decoded over other stack
  // contents must give the same pixels.
  if (IsIconOrCursor(bytes) && !SamePicture(from_memory, DecodeOnPaintedStack(bytes, 0xA5))) {
    __builtin_trap();
  }

  const std::string& scratch = WriteScratchFile(".GIF", data, size);
  try {
    CheckShape(platform::LoadPicture(scratch));
  } catch (const platform::RuntimeError&) {
  }
  return 0;
}
