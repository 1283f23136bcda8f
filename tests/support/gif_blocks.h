#pragma once

// A GIF's extensions and image data are cut into sub-blocks of at most 255 bytes, and a
// decoder must join them before it reads a code, wherever the encoder made the cuts. These
// cut a GIF's blocks anew, for the tests and the fuzzer alike.

#include <algorithm>
#include <cstddef>
#include <functional>
#include <vector>

namespace test_support {

// Gives the length of the next sub-block, 1 to 255.
using NextBlockLength = std::function<std::size_t()>;

// Joins the sub-blocks that start at `at` and appends them to `out` cut at the lengths `next`
// gives, with their terminator; `at` ends past the old terminator.
inline void ResplitSubBlocks(const std::vector<unsigned char>& in, std::size_t& at,
                             std::vector<unsigned char>& out, const NextBlockLength& next) {
  std::vector<unsigned char> joined;
  while (at < in.size()) {
    const std::size_t length = in[at++];
    if (length == 0) break;
    const std::size_t n = std::min(length, in.size() - at);
    joined.insert(joined.end(), in.begin() + static_cast<std::ptrdiff_t>(at),
                  in.begin() + static_cast<std::ptrdiff_t>(at + n));
    at += n;
  }
  for (std::size_t i = 0; i < joined.size();) {
    const std::size_t n = std::min(next(), joined.size() - i);
    out.push_back(static_cast<unsigned char>(n));
    out.insert(out.end(), joined.begin() + static_cast<std::ptrdiff_t>(i),
               joined.begin() + static_cast<std::ptrdiff_t>(i + n));
    i += n;
  }
  out.push_back(0);
}

// The GIF with the sub-blocks of every extension and image cut anew: the same code streams,
// cut where no encoder cuts them. Empty when the file's blocks cannot be walked.
inline std::vector<unsigned char> ResplitGifBlocks(const std::vector<unsigned char>& in,
                                                   const NextBlockLength& next) {
  if (in.size() < 13) return {};
  std::size_t at = 13;
  if (in[10] & 0x80) at += 3u << ((in[10] & 0x07) + 1);
  if (at > in.size()) return {};
  std::vector<unsigned char> out(in.begin(), in.begin() + static_cast<std::ptrdiff_t>(at));
  while (at < in.size()) {
    const unsigned char introducer = in[at++];
    out.push_back(introducer);
    if (introducer == '!' && at < in.size()) {
      out.push_back(in[at++]);
      ResplitSubBlocks(in, at, out, next);
    } else if (introducer == ',' && at + 9 < in.size()) {
      const unsigned char flags = in[at + 8];
      std::size_t header = 9 + ((flags & 0x80) ? 3u << ((flags & 0x07) + 1) : 0);
      header = std::min(header + 1, in.size() - at);  // and the minimum code size
      out.insert(out.end(), in.begin() + static_cast<std::ptrdiff_t>(at),
                 in.begin() + static_cast<std::ptrdiff_t>(at + header));
      at += header;
      ResplitSubBlocks(in, at, out, next);
    } else {
      out.insert(out.end(), in.begin() + static_cast<std::ptrdiff_t>(at), in.end());
      break;
    }
  }
  return out;
}

}  // namespace test_support
