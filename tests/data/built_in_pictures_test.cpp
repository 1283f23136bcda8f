#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "frame/design_pictures.h"
#include "platform/picture.h"

namespace {

namespace fs = std::filesystem;

std::vector<unsigned char> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

platform::Picture Decode(std::string_view name) {
  return platform::LoadPictureFromMemory(design_pictures::Get(name), std::string(name));
}

std::uint32_t At(const platform::Picture& p, int x, int y) {
  return p->pixels[static_cast<std::size_t>(y) * p->width + x];
}

bool Opaque(const platform::Picture& p, int x, int y) { return (At(p, x, y) >> 24) != 0; }

TEST(BuiltInPictures, DesignPicturesAreTheDataFilesByteForByte) {
  std::vector<std::string> names = {
      "PAPIR1.JPG",    "GUMICA1.JPG", "OLOVKA2.JPG", "KAPLJICA1.JPG",   "PRINTING.JPG",
      "BACK1.JPG",     "NO1.JPG",     "YES1.JPG",    "CTRLX.JPG",       "CLOSE1.JPG",
      "CTRLR5821.JPG", "VISIT1.JPG",  "CTRL-R.JPG",  "MOREIMAGES1.JPG", "ZVUCNIK1.JPG",
      "MUSICOFF2.JPG", "GLAVNA.JPG"};
  for (int i = 1; i <= 12; ++i)
    names.push_back("BOJE1_" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".JPG");
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const std::span<const unsigned char> built_in = design_pictures::Get(name);
    const std::vector<unsigned char> file =
        ReadFile(fs::path(COLOURING_APP_DIR) / "PICTURE" / name);
    ASSERT_FALSE(file.empty());
    EXPECT_TRUE(std::equal(built_in.begin(), built_in.end(), file.begin(), file.end()));
  }
}

TEST(BuiltInPictures, UnknownNamesAndDataOnlyFilesAreNotBuiltIn) {
  for (const char* name : {"", "NOSUCH.JPG", "GALERIJA.JPG", "01.GIF", "PAPIR2.JPG"}) {
    EXPECT_TRUE(design_pictures::Get(name).empty()) << name;
  }
}

TEST(BuiltInPictures, StartDrawingIsATwoColourGifOfItsExactSize) {
  const std::span<const unsigned char> gif = design_pictures::Get("START.GIF");
  ASSERT_EQ(gif.size(), 8558u);
  EXPECT_EQ(std::string(gif.begin(), gif.begin() + 6), "GIF89a");
  EXPECT_EQ(gif[10] & 0x87, 0x80);  // a global colour table of two entries
  const platform::Picture start = Decode("START.GIF");
  ASSERT_EQ(start->width, 750);
  ASSERT_EQ(start->height, 600);
  std::size_t black = 0;
  for (const std::uint32_t p : start->pixels) {
    const std::uint32_t rgb = p & 0xFFFFFF;
    ASSERT_TRUE(rgb == 0 || rgb == 0xFFFFFF);
    black += rgb == 0;
  }
  EXPECT_GT(black, 1000u);  // a drawing, not a blank page
}

struct PointerCase {
  const char* name;
  int size;
  int type;          // 1 icon, 2 cursor
  int bits;          // bits per pixel of its bitmap
  int hot_x, hot_y;  // a cursor's hot spot, which must lie on the drawn pointer
};

TEST(BuiltInPictures, PointersAndIconsHaveTheirFormatAndHotSpot) {
  for (const PointerCase& c :
       {PointerCase{"ARROW.CUR", 32, 2, 4, 0, 0}, PointerCase{"HAND.CUR", 32, 2, 4, 12, 1},
        PointerCase{"DROPPER.ICO", 64, 1, 4, 32, 32}, PointerCase{"DROP.ICO", 32, 1, 4, 16, 16},
        PointerCase{"WINDOW.ICO", 32, 1, 24, -1, -1}}) {
    SCOPED_TRACE(c.name);
    const std::span<const unsigned char> file = design_pictures::Get(c.name);
    ASSERT_GT(file.size(), 22u + 40u);
    auto u16 = [&](std::size_t at) { return file[at] | file[at + 1] << 8; };
    EXPECT_EQ(u16(2), c.type);
    EXPECT_EQ(u16(4), 1);
    EXPECT_EQ(file[6], c.size);
    EXPECT_EQ(file[7], c.size);
    EXPECT_EQ(u16(22 + 14), c.bits);  // in the bitmap header
    if (c.type == 2) {
      EXPECT_EQ(u16(10), c.hot_x);
      EXPECT_EQ(u16(12), c.hot_y);
    }
    const platform::Picture picture = Decode(c.name);
    ASSERT_EQ(picture->width, c.size);
    ASSERT_EQ(picture->height, c.size);
    // Transparent where no pointer is drawn, and the working point on the drawing itself
    // (an icon's working point is its centre).
    EXPECT_FALSE(Opaque(picture, c.size - 1, 0));
    if (c.hot_x >= 0) {
      EXPECT_TRUE(Opaque(picture, c.hot_x, c.hot_y));
    }
    if (c.type == 1 && c.hot_x >= 0) {
      // Drawn in the lower right quarter: nothing in the upper left one.
      for (int y = 0; y < c.size / 2 - 1; ++y) {
        for (int x = 0; x < c.size / 2 - 1; ++x) ASSERT_FALSE(Opaque(picture, x, y));
      }
    }
  }
}

TEST(BuiltInPictures, CursorsAreBlackWithAWhiteEdge) {
  const platform::Picture arrow = Decode("ARROW.CUR");
  EXPECT_EQ(At(arrow, 3, 8) & 0xFFFFFF, 0u);
  std::size_t white = 0;
  for (const std::uint32_t p : arrow->pixels) white += (p >> 24) != 0 && (p & 0xFFFFFF) == 0xFFFFFF;
  EXPECT_GT(white, 20u);
}

}  // namespace
