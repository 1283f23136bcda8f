#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace platform {

// A decoded picture in one pixel format for everything: 0xAARRGGBB, row by row.
struct PictureData {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  std::string source;  // the file it was read from, as the caller named it
};

// Pictures are shared and never changed once made; a control that draws makes its own copy.
using Picture = std::shared_ptr<const PictureData>;

// Reads a GIF, JPEG, BMP or ICO file from disk, every time. Only the decoding is saved: bytes
// identical to those last decoded for the same path give that picture again. A missing,
// unreadable or damaged file raises RuntimeError.
Picture LoadPicture(const std::string& path);
// Watches every LoadPicture call with the path as given, before the file is read; for
// counting and ordering loads in tests and benchmarks. Empty to stop watching.
void SetPictureLoadObserver(std::function<void(const std::string& path)> observer);
Picture LoadPictureFromMemory(std::span<const unsigned char> bytes, std::string name);

// Writes the picture as a Windows bitmap that reads back with no pixel changed. The file is
// written beside its final name under a hidden name of its own, synced to the disk and
// renamed over it, so a failed write or a power cut never leaves a damaged picture behind;
// what a save cut off before its rename left there goes at the next.
void SavePicture(const Picture& picture, const std::string& path);

// The colour value the drawing calls take and give: 0x00BBGGRR, red in the low byte.
constexpr std::uint32_t ColourValueOf(std::uint32_t argb) {
  return ((argb >> 16) & 0xFF) | (argb & 0xFF00) | ((argb & 0xFF) << 16);
}
constexpr std::uint32_t ArgbOf(std::uint32_t colour_value) {
  return 0xFF000000u | ((colour_value & 0xFF) << 16) | (colour_value & 0xFF00) |
         ((colour_value >> 16) & 0xFF);
}

}  // namespace platform
