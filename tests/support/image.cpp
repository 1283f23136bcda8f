#include "image.h"

#include <cctype>
#include <cstdlib>
#include <stdexcept>

#include "processes.h"

namespace test_support {

std::string ToString(Rgb c) {
  // Appended to, not a literal put before a temporary string: GCC 12 warns falsely of that
  // (-Wrestrict).
  std::string text = "(";
  text.append(std::to_string(c.r)).append(", ").append(std::to_string(c.g)).append(", ");
  return text.append(std::to_string(c.b)).append(")");
}

Rgb RgbOf(std::uint32_t argb) {
  return {static_cast<std::uint8_t>(argb >> 16), static_cast<std::uint8_t>(argb >> 8),
          static_cast<std::uint8_t>(argb)};
}

Rgb Image::At(int x, int y) const {
  const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
  return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

Image Image::Part(int left, int top, int w, int h) const {
  if (left < 0 || top < 0 || left + w > width || top + h > height) {
    throw std::out_of_range("part outside the picture");
  }
  Image part{w, h, {}};
  part.rgb.reserve(static_cast<std::size_t>(w) * h * 3);
  for (int y = top; y < top + h; ++y) {
    const auto row = rgb.begin() + (static_cast<std::ptrdiff_t>(y) * width + left) * 3;
    part.rgb.insert(part.rgb.end(), row, row + w * 3);
  }
  return part;
}

Image ParsePpm(const std::string& bytes) {
  // The header's four words may be separated by comments ("# ..." to the end of the line).
  std::size_t at = 0;
  auto word = [&] {
    for (;;) {
      while (at < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[at]))) ++at;
      if (at >= bytes.size() || bytes[at] != '#') break;
      at = bytes.find('\n', at);
    }
    const std::size_t start = at;
    while (at < bytes.size() && !std::isspace(static_cast<unsigned char>(bytes[at]))) ++at;
    return bytes.substr(start, at - start);
  };
  const std::string magic = word(), width = word(), height = word(), max = word();
  ++at;  // the one white-space byte before the pixels
  Image image;
  if (magic == "P6" && max == "255") {
    image.width = std::atoi(width.c_str());
    image.height = std::atoi(height.c_str());
  }
  const std::size_t size = static_cast<std::size_t>(image.width) * image.height * 3;
  if (size == 0 || bytes.size() < at + size) throw std::runtime_error("not an 8-bit binary PPM");
  image.rgb.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                   bytes.begin() + static_cast<std::ptrdiff_t>(at + size));
  return image;
}

Image ReadPicture(const std::filesystem::path& file) {
  // "[0]": the first frame only, as a GIF or an ICO may hold more.
  const Outcome decoded = RunTool({"convert", file.string() + "[0]", "-depth", "8", "ppm:-"});
  if (decoded.status != 0) throw std::runtime_error("cannot read " + file.string());
  return ParsePpm(decoded.out);
}

Image ImageOf(const platform::PictureData& picture) {
  Image image{picture.width, picture.height, {}};
  image.rgb.reserve(picture.pixels.size() * 3);
  for (const std::uint32_t argb : picture.pixels) {
    const Rgb c = RgbOf(argb);
    image.rgb.insert(image.rgb.end(), {c.r, c.g, c.b});
  }
  return image;
}

double Likeness(const Image& shown, int left, int top, const Image& want, int tolerance) {
  if (left < 0 || top < 0 || left + want.width > shown.width || top + want.height > shown.height) {
    return 0;
  }
  long same = 0;
  for (int y = 0; y < want.height; ++y) {
    for (int x = 0; x < want.width; ++x) {
      const Rgb a = shown.At(left + x, top + y), b = want.At(x, y);
      same += std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
              std::abs(a.b - b.b) <= tolerance;
    }
  }
  return static_cast<double>(same) / (static_cast<double>(want.width) * want.height);
}

int Differences(const Image& a, const Image& b) {
  if (a.width != b.width || a.height != b.height) return a.width * a.height + 1;
  int differing = 0;
  for (std::size_t i = 0; i < a.rgb.size(); i += 3) {
    differing +=
        a.rgb[i] != b.rgb[i] || a.rgb[i + 1] != b.rgb[i + 1] || a.rgb[i + 2] != b.rgb[i + 2];
  }
  return differing;
}

platform::Picture Solid(int width, int height, std::uint32_t argb) {
  auto p = std::make_shared<platform::PictureData>();
  p->width = width;
  p->height = height;
  p->pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), argb);
  return p;
}

}  // namespace test_support
