#pragma once

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "frame/module_state.h"
#include "platform/picture.h"

namespace gallery_test {

// The grid, by column and row, and each thumbnail's picture number, as the gallery must show
// them.
constexpr std::array<int, 5> kLeft = {54, 198, 341, 485, 629};
constexpr std::array<int, 5> kTop = {48, 185, 322, 459, 596};
constexpr std::array<int, 25> kPictureNumber = {1,  3,  5,  7,  9,  19, 21, 23, 25, 27, 37, 39, 41,
                                                43, 45, 55, 57, 59, 61, 63, 73, 75, 77, 79, 81};

inline int LeftOf(int i) { return kLeft[static_cast<std::size_t>((i - 1) % 5)]; }
inline int TopOf(int i) { return kTop[static_cast<std::size_t>((i - 1) / 5)]; }

// No literal put before a temporary string: GCC 12 warns falsely of it (-Wrestrict).
inline std::string Number(int n) {
  std::string digits = std::to_string(n);
  if (n < 10) digits.insert(digits.begin(), '0');
  return digits;
}
inline std::string Resting(int i) {
  return "GALERIJA1BELE_" + Number(kPictureNumber[static_cast<std::size_t>(i - 1)]) + ".JPG";
}
inline std::string Highlighted(int i) {
  return "GALERIJA1ZUTE_" + Number(kPictureNumber[static_cast<std::size_t>(i - 1)]) + ".JPG";
}

// Places on the window, in pixels.
constexpr int kGalleryButtonX = 912, kGalleryButtonY = 325;
constexpr int kBackX = 126, kBackY = 20;
constexpr int kEraserX = 881, kEraserY = 442;
// Between thumbnail columns 1 and 2 nothing lies over the bare window.
constexpr int kBareX = 335, kBareY = 100;

class GalleryTest : public test_support::AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    StartProgram();
    ASSERT_FALSE(ended.has_value()) << "start-up ended the program";
  }

  static void OverThumbnail(int i, int dx = 65, int dy = 61) {
    test_support::MoveMouse(LeftOf(i) + dx, TopOf(i) + dy);
  }
  static void ClickThumbnail(int i) { test_support::ClickMouse(LeftOf(i) + 65, TopOf(i) + 61); }
  static void OpenGallery() { test_support::ClickMouse(kGalleryButtonX, kGalleryButtonY); }
  // A click with the pointer already there: no move event, so no hover loads.
  static void ClickInPlace(int x, int y) {
    test_support::PressMouse(x, y);
    test_support::ReleaseMouse(x, y);
  }
  static void GoBack() { test_support::ClickMouse(kBackX, kBackY); }

  // The 20 controls of the main screen.
  std::vector<platform::Control*> MainScreen() const {
    std::vector<platform::Control*> all = {&forma->Slika,    &forma->MoreImages, &forma->MuteWave,
                                           &forma->MusicOn,  &forma->Rubber,     &forma->Papir,
                                           &forma->kapljica, &forma->olovka};
    for (int nn = 1; nn <= 12; ++nn) all.push_back(&forma->Paleta(nn));
    return all;
  }
  bool MainScreenShown() const {
    const auto all = MainScreen();
    return std::all_of(all.begin(), all.end(), [](auto* c) { return c->Visible(); });
  }
  int VisibleThumbnails() const {
    int n = 0;
    for (int i = 1; i <= 25; ++i) n += forma->Galerija(i).Visible() ? 1 : 0;
    return n;
  }
  std::string Background() const {
    const platform::Picture& p = forma->GetPicture();
    if (!p) return "(none)";
    return p->source.substr(p->source.find_last_of("\\/:") + 1);
  }

  // The pixels the canvas holds, and those of a drawing file as it lies on disk.
  std::vector<std::uint32_t> CanvasPixels() const { return forma->Slika.Image()->pixels; }
  std::vector<std::uint32_t> FilePixels(const std::string& relative) const {
    auto pixels = platform::LoadPicture(data->File(relative).string())->pixels;
    for (auto& p : pixels) p |= 0xFF000000u;
    return pixels;
  }

  // Fills one white area of the canvas with the current colour by a real click; gives the
  // canvas point it clicked.
  std::pair<int, int> ColourSomething() {
    for (int y = 300; y < 600; y += 7) {
      for (int x = 375; x < 750; x += 7) {
        if (CanvasColour(x, y) == 0xFFFFFF) {
          test_support::ClickMouse(30 + x, 29 + y);
          return {x, y};
        }
      }
    }
    ADD_FAILURE() << "no white area on the canvas";
    return {0, 0};
  }
};

// The thumbnail pictures among the loads a log recorded, in order.
inline std::vector<std::string> ThumbnailLoads(const test_support::LoadLog& log) {
  std::vector<std::string> out;
  for (const auto& n : log.Names()) {
    if (n.rfind("GALERIJA1", 0) == 0) out.push_back(n);
  }
  return out;
}

}  // namespace gallery_test
