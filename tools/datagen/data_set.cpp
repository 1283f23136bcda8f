#include "data_set.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>

#include "frame/data_files.h"
#include "gif.h"
#include "jpeg_file.h"
#include "line_art.h"
#include "music.h"
#include "pictures.h"
#include "pointers.h"
#include "sounds.h"
#include "web_pages.h"

namespace datagen {
namespace {

constexpr int kGalleryPictures = 25;
constexpr std::size_t kStartDrawingBytes = 8558;
constexpr std::string_view kPictureFolder = "\\PICTURE\\";

struct ButtonFiles {
  std::string_view first, second;  // the two files of the pair, "...1" and "...2"
  Look first_look, second_look;
  int width, height;
};

struct ToolFiles {
  Tool tool;
  ButtonFiles files;
};
constexpr std::array<ToolFiles, 9> kToolFiles = {{
    {Tool::kPaper, {"PAPIR1", "PAPIR2", Look::kResting, Look::kHover, 63, 61}},
    {Tool::kEraser, {"GUMICA1", "GUMICA2", Look::kResting, Look::kHover, 112, 61}},
    {Tool::kPencil, {"OLOVKA1", "OLOVKA2", Look::kChosen, Look::kResting, 62, 81}},
    {Tool::kFill, {"KAPLJICA1", "KAPLJICA2", Look::kChosen, Look::kResting, 58, 81}},
    {Tool::kPictures, {"MOREIMAGES1", "MOREIMAGES2", Look::kResting, Look::kHover, 160, 169}},
    {Tool::kSound, {"ZVUCNIK1", "ZVUCNIK2", Look::kResting, Look::kHover, 78, 79}},
    {Tool::kSoundOff, {"SOUNDOFF1", "SOUNDOFF2", Look::kHover, Look::kResting, 78, 79}},
    {Tool::kMusic, {"MUZIKA1", "MUZIKA2", Look::kResting, Look::kHover, 78, 79}},
    {Tool::kMusicOff, {"MUSICOFF1", "MUSICOFF2", Look::kHover, Look::kResting, 78, 79}},
}};

struct WordFiles {
  WordButton button;
  ButtonFiles files;
};
constexpr std::array<WordFiles, 6> kWordFiles = {{
    {WordButton::kBack, {"BACK1", "BACK2", Look::kResting, Look::kHover, 192, 40}},
    {WordButton::kYes, {"YES1", "YES2", Look::kResting, Look::kHover, 107, 50}},
    {WordButton::kNo, {"NO1", "NO2", Look::kResting, Look::kHover, 85, 50}},
    {WordButton::kClose, {"CLOSE1", "CLOSE2", Look::kResting, Look::kHover, 73, 27}},
    {WordButton::kVisit, {"VISIT1", "VISIT2", Look::kResting, Look::kHover, 330, 62}},
    {WordButton::kAbout, {"CTRLR5821", "CTRLR5822", Look::kResting, Look::kHover, 110, 35}},
}};

struct PaletteColour {
  Colour colour;
  int width;  // every blot is 85 high
};
constexpr std::array<PaletteColour, 12> kPalette = {{
    {{255, 0, 0}, 85},
    {{52, 204, 103}, 84},
    {{255, 255, 0}, 84},
    {{0, 204, 255}, 84},
    {{255, 102, 0}, 83},
    {{204, 51, 255}, 85},
    {{178, 178, 178}, 83},
    {{255, 255, 255}, 84},
    {{204, 103, 51}, 84},
    {{0, 0, 255}, 84},
    {{30, 30, 30}, 84},
    {{255, 0, 255}, 86},
}};
constexpr std::array<Look, 3> kPaletteLooks = {Look::kResting, Look::kHover, Look::kChosen};

// The pictures that are built into the program as well as being data files.
constexpr std::array<std::string_view, 29> kBuiltInFiles = {
    "PAPIR1.JPG",      "GUMICA1.JPG",  "OLOVKA2.JPG",   "KAPLJICA1.JPG", "PRINTING.JPG",
    "BACK1.JPG",       "NO1.JPG",      "YES1.JPG",      "CTRLX.JPG",     "CLOSE1.JPG",
    "CTRLR5821.JPG",   "VISIT1.JPG",   "CTRL-R.JPG",    "BOJE1_01.JPG",  "BOJE1_02.JPG",
    "BOJE1_03.JPG",    "BOJE1_04.JPG", "BOJE1_05.JPG",  "BOJE1_06.JPG",  "BOJE1_07.JPG",
    "BOJE1_08.JPG",    "BOJE1_09.JPG", "BOJE1_10.JPG",  "BOJE1_11.JPG",  "BOJE1_12.JPG",
    "MOREIMAGES1.JPG", "ZVUCNIK1.JPG", "MUSICOFF2.JPG", "GLAVNA.JPG"};

std::string TwoDigits(int n) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", n);
  return text;
}

using Drawings = std::vector<std::vector<std::uint8_t>>;  // index 0 is the start drawing
using Drawer = std::function<Image()>;

std::map<std::string, Drawer, std::less<>> PictureDrawers(const Drawings& drawings) {
  std::map<std::string, Drawer, std::less<>> drawers;
  auto pair = [&](const ButtonFiles& f, auto draw) {
    drawers[std::string(f.first) + ".JPG"] = [=] { return draw(f.first_look, f.width, f.height); };
    drawers[std::string(f.second) + ".JPG"] = [=] {
      return draw(f.second_look, f.width, f.height);
    };
  };
  for (const ToolFiles& t : kToolFiles) {
    pair(t.files, [tool = t.tool](Look l, int w, int h) { return DrawToolButton(tool, l, w, h); });
  }
  for (const WordFiles& b : kWordFiles) {
    pair(b.files,
         [button = b.button](Look l, int w, int h) { return DrawWordButton(button, l, w, h); });
  }
  for (std::size_t i = 0; i < kPalette.size(); ++i) {
    for (std::size_t look = 0; look < kPaletteLooks.size(); ++look) {
      const std::string name =
          "BOJE" + std::to_string(look + 1) + "_" + TwoDigits(static_cast<int>(i) + 1) + ".JPG";
      drawers[name] = [c = kPalette[i], l = kPaletteLooks[look]] {
        return DrawPaletteBlot(c.colour, l, c.width, 85);
      };
    }
  }
  for (int place = 1; place <= kGalleryPictures; ++place) {
    const std::string nn = TwoDigits(ThumbnailFileNumber(place));
    const auto* drawing = &drawings[static_cast<std::size_t>(place)];
    drawers["GALERIJA1BELE_" + nn + ".JPG"] = [drawing] { return DrawThumbnail(*drawing, false); };
    drawers["GALERIJA1ZUTE_" + nn + ".JPG"] = [drawing] { return DrawThumbnail(*drawing, true); };
  }
  drawers["GLAVNA.JPG"] = DrawMainScreen;
  drawers["GALERIJA.JPG"] = DrawGalleryScreen;
  drawers["CTRLX.JPG"] = DrawExitPanel;
  drawers["CTRL-R.JPG"] = DrawAboutPanel;
  drawers["PRINTING.JPG"] = DrawPrintingPanel;
  return drawers;
}

std::vector<std::uint8_t> SizedGif(const std::vector<std::uint8_t>& pixels, std::size_t size,
                                   std::string_view name) {
  std::vector<std::uint8_t> gif = EncodeTwoColourGif(pixels, kDrawingWidth, kDrawingHeight);
  if (gif.size() > size) {
    throw std::runtime_error(std::string(name) + ": the encoding is " + std::to_string(gif.size()) +
                             " bytes, over its size of " + std::to_string(size) + " bytes");
  }
  return PadGif(std::move(gif), size);
}

// Every sized picture of the table, at exactly its size.
std::vector<NamedFile> MakePictures(const Drawings& drawings) {
  const auto drawers = PictureDrawers(drawings);
  const std::vector<std::uint8_t> blank(static_cast<std::size_t>(kDrawingWidth) * kDrawingHeight,
                                        1);
  std::vector<NamedFile> files;
  for (const data_files::SizedFile& entry : data_files::kPictureSizes) {
    const std::string_view name = entry.literal.substr(kPictureFolder.size());
    const auto size = static_cast<std::size_t>(entry.size);
    std::vector<std::uint8_t> bytes;
    if (name.ends_with(".GIF")) {
      const int n = std::stoi(std::string(name.substr(0, 2)));
      bytes = SizedGif(n == 0 ? blank : drawings[static_cast<std::size_t>(n)], size, name);
    } else {
      const auto drawer = drawers.find(name);
      if (drawer == drawers.end()) throw std::runtime_error("no artwork for " + std::string(name));
      bytes = EncodeJpegExactly(drawer->second(), size, name);
    }
    files.push_back({"PICTURE/" + std::string(name), std::move(bytes)});
  }
  return files;
}

}  // namespace

int ThumbnailFileNumber(int place) {
  const int row = (place - 1) / 5, column = (place - 1) % 5;
  return 18 * row + 2 * column + 1;
}

DataSet MakeDataSet() {
  Drawings drawings;
  for (int n = 0; n <= kGalleryPictures; ++n) drawings.push_back(DrawLineArt(n));

  DataSet set;
  set.files = MakePictures(drawings);
  set.files.push_back({"PICTURE/KANTICA8.ICO", MakeFillPointer()});
  set.files.push_back({"PICTURE/CETKA.ICO", MakePencilPointer()});
  for (NamedFile& sound : MakeColourSounds()) set.files.push_back(std::move(sound));
  set.files.push_back({"MUSIC/001.MID", MakeMusic()});
  for (NamedFile& page : MakeWebPages()) set.files.push_back(std::move(page));

  for (const std::string_view name : kBuiltInFiles) {
    const std::string path = "PICTURE/" + std::string(name);
    const auto file = std::find_if(set.files.begin(), set.files.end(),
                                   [&](const NamedFile& f) { return f.name == path; });
    if (file == set.files.end()) throw std::logic_error("no data file " + path);
    set.built_in.push_back({std::string(name), file->bytes});
  }
  set.built_in.push_back({"START.GIF", SizedGif(drawings[0], kStartDrawingBytes, "START.GIF")});
  set.built_in.push_back({"ARROW.CUR", MakeArrowCursor()});
  set.built_in.push_back({"HAND.CUR", MakeHandCursor()});
  set.built_in.push_back({"DROPPER.ICO", MakeDropperIcon()});
  set.built_in.push_back({"DROP.ICO", MakeDropIcon()});
  set.built_in.push_back({"WINDOW.ICO", MakeWindowIcon()});
  return set;
}

}  // namespace datagen
