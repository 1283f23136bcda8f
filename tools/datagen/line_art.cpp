#include "line_art.h"

#include <array>
#include <stdexcept>
#include <string>

#include "line_art_parts.h"
#include "line_art_subjects.h"

namespace datagen {
namespace {

using art::Sketch;

// The start drawing, then the gallery in order; each subject has as much detail as the file
// size of its picture allows.
constexpr std::array<void (*)(Sketch&), kDrawingCount> kSubjects = {
    art::DrawSunnyHouse,  // 0
    art::DrawCat,         // 1
    art::DrawFish,        // 2
    art::DrawCar,         // 3
    art::DrawButterfly,   // 4
    art::DrawSnail,       // 5
    art::DrawBalloons,    // 6
    art::DrawCastle,      // 7
    art::DrawTrain,       // 8
    art::DrawApple,       // 9
    art::DrawTurtle,      // 10
    art::DrawIceCream,    // 11
    art::DrawRocket,      // 12
    art::DrawTeddyBear,   // 13
    art::DrawSnowman,     // 14
    art::DrawMushroom,    // 15
    art::DrawFlower,      // 16
    art::DrawBird,        // 17
    art::DrawTree,        // 18
    art::DrawSailboat,    // 19
    art::DrawDog,         // 20
    art::DrawDuck,        // 21
    art::DrawKite,        // 22
    art::DrawPig,         // 23
    art::DrawElephant,    // 24
    art::DrawOwl,         // 25
};

}  // namespace

std::vector<std::uint8_t> DrawLineArt(int n) {
  if (n < 0 || n >= kDrawingCount) {
    throw std::out_of_range("no line drawing number " + std::to_string(n));
  }
  Sketch sketch(kDrawingWidth, kDrawingHeight, art::kPen);
  kSubjects[n](sketch);
  return sketch.Finish();
}

}  // namespace datagen
