#include "text.h"

#include <SDL_ttf.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

namespace datagen {
namespace {

constexpr const char* kFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

struct FontCloser {
  void operator()(TTF_Font* f) const { TTF_CloseFont(f); }
};
struct SurfaceFreer {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceFreer>;

// One opened font for each size and outline width; the generator is single-threaded.
TTF_Font* Font(int point_size, int outline) {
  static std::map<std::pair<int, int>, std::unique_ptr<TTF_Font, FontCloser>> fonts;
  auto& slot = fonts[{point_size, outline}];
  if (!slot) {
    if (!TTF_WasInit() && TTF_Init() != 0) throw std::runtime_error(TTF_GetError());
    slot.reset(TTF_OpenFont(kFontPath, point_size));
    if (!slot) throw std::runtime_error(std::string("cannot open font: ") + TTF_GetError());
    TTF_SetFontOutline(slot.get(), outline);
  }
  return slot.get();
}

SurfacePtr Render(std::string_view text, int point_size, int outline, Colour c) {
  const std::string utf8(text);
  SurfacePtr rendered(TTF_RenderUTF8_Blended(Font(point_size, outline), utf8.c_str(),
                                             SDL_Color{c.r, c.g, c.b, 255}));
  if (!rendered) throw std::runtime_error(std::string("cannot render text: ") + TTF_GetError());
  SurfacePtr argb(SDL_ConvertSurfaceFormat(rendered.get(), SDL_PIXELFORMAT_ARGB8888, 0));
  if (!argb) throw std::runtime_error(SDL_GetError());
  return argb;
}

// Lays the rendered glyphs over the image by their coverage.
void Composite(Image& image, SDL_Surface* s, int left, int top) {
  SDL_LockSurface(s);
  for (int y = 0; y < s->h; ++y) {
    const auto* row =
        reinterpret_cast<const Uint32*>(static_cast<const char*>(s->pixels) + y * s->pitch);
    for (int x = 0; x < s->w; ++x) {
      const Uint32 p = row[x];
      const Colour c{static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                     static_cast<std::uint8_t>(p)};
      image.Blend(left + x, top + y, c, static_cast<float>(p >> 24) / 255.0f);
    }
  }
  SDL_UnlockSurface(s);
}

}  // namespace

void DrawText(Image& image, std::string_view text, float cx, float cy, const TextStyle& style) {
  const SurfacePtr inner = Render(text, style.point_size, 0, style.fill);
  const int w = inner->w + 2 * style.outline_width, h = inner->h + 2 * style.outline_width;
  const int left = static_cast<int>(cx - w / 2.0f + 0.5f);
  const int top = static_cast<int>(cy - h / 2.0f + 0.5f);
  if (style.outline_width > 0) {
    const SurfacePtr outer = Render(text, style.point_size, style.outline_width, style.outline);
    Composite(image, outer.get(), left, top);
  }
  Composite(image, inner.get(), left + style.outline_width, top + style.outline_width);
}

int TextWidth(std::string_view text, const TextStyle& style) {
  int w = 0, h = 0;
  const std::string utf8(text);
  TTF_SizeUTF8(Font(style.point_size, 0), utf8.c_str(), &w, &h);
  return w + 2 * style.outline_width;
}

}  // namespace datagen
