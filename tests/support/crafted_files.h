#pragma once

// Picture and sound files made the way an attacker would make them, from our own files or from
// nothing, for the robustness tests and the load-time benchmarks.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace test_support {

using FileBytes = std::vector<unsigned char>;

// The whole of a file as it is now, empty when it cannot be read; and a file made anew.
FileBytes ReadFileBytes(const std::filesystem::path& file);
void WriteFileBytes(const std::filesystem::path& file, const FileBytes& bytes);

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

// The fields of a PCM WAV's format chunk, as a file declares them whether or not they agree.
struct WavFormat {
  std::uint32_t channels = 1;
  std::uint32_t bits = 16;
  std::uint32_t rate = 22050;
  std::uint32_t block_align = 2;  // channels * bits / 8 in a sound file
  std::uint32_t byte_rate = 44100;
};
// The fields of a well-formed PCM sound at this rate and sample size.
WavFormat WavFormatOf(std::uint32_t channels, std::uint32_t bits, std::uint32_t rate);

// A WAV whose format chunk says `format` and whose data chunk holds `samples` bytes of a
// quiet saw tone, padded with a junk chunk up to `length` bytes when it is shorter.
FileBytes CraftedWav(const WavFormat& format, std::size_t samples, std::size_t length = 0);

// The same plain WAV (44-byte header, as the program's own) declaring another sample rate,
// its byte rate made to agree; the samples and the length stay.
FileBytes WavAtRate(const FileBytes& wav, std::uint32_t rate);

// Makes the file `length` bytes long without writing them: what lies beyond its end takes no
// disk, nor any memory until it is read.
void GrowSparsely(const char* path, long long length);

}  // namespace test_support
