#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "raster.h"

// The colour artwork of the data set: buttons, palette blots, screens, panels, thumbnails.
namespace datagen {

// How a button shows: at rest, under the mouse (lifted and glowing), or as the chosen tool.
enum class Look { kResting, kHover, kChosen };

enum class Tool {
  kPaper,
  kEraser,
  kPencil,
  kFill,
  kPictures,
  kSound,
  kSoundOff,
  kMusic,
  kMusicOff
};
Image DrawToolButton(Tool tool, Look look, int width, int height);

enum class WordButton { kBack, kYes, kNo, kClose, kVisit, kAbout };
Image DrawWordButton(WordButton button, Look look, int width, int height);

// A paint blot whose flat middle is exactly `colour`; kChosen marks the selected colour.
Image DrawPaletteBlot(Colour colour, Look look, int width, int height);

Image DrawMainScreen();
Image DrawGalleryScreen();
Image DrawExitPanel();
Image DrawAboutPanel();
Image DrawPrintingPanel();

// A line drawing (one byte a pixel, 0 black) reduced into a gallery thumbnail.
Image DrawThumbnail(const std::vector<std::uint8_t>& drawing, bool highlighted);

}  // namespace datagen
