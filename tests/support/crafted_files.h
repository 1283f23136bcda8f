#pragma once

// Picture files made the way an attacker would make them, from our own pictures or from
// nothing, for the robustness tests and the load-time benchmark.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace test_support {

using FileBytes = std::vector<unsigned char>;

// The same GIF with the image data of every image cut into sub-blocks at other places: single
// bytes mixed with longer runs, chosen by `seed`. The code stream, joined, is unchanged.
FileBytes ResplitGifSubBlocks(const FileBytes& gif, std::uint32_t seed);

// A progressive JPEG that declares `width` x `height` and carries one small scan repeated
// until the file is `length` bytes long (the rest after its end marker is zeros).
FileBytes JpegWithRepeatedScan(int width, int height, std::size_t length);

// Pictures of one colour that compress to almost nothing: the largest area a file of a few
// kilobytes can ask the decoder to fill.
FileBytes PlainGif(int width, int height);
FileBytes PlainJpeg(int width, int height, bool progressive);

}  // namespace test_support
