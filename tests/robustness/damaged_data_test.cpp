// Every data file that a handler loads at run time, damaged in the ways a disk or a careless
// copy damages files: the handler that loads it stops at its failure or shows what it could
// read, and the program goes on.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "robustness_support.h"

namespace robustness {
namespace {

namespace fs = std::filesystem;

enum class Damage { kCutInHalf, kHeaderOnly, kZeros, kNoise, kNoiseAfterHeader, kFlippedBits };

struct DamageCase {
  Damage damage;
  const char* name;
};
constexpr DamageCase kDamages[] = {
    {Damage::kCutInHalf, "CutInHalf"},
    {Damage::kHeaderOnly, "HeaderOnly"},
    {Damage::kZeros, "Zeros"},
    {Damage::kNoise, "Noise"},
    {Damage::kNoiseAfterHeader, "NoiseAfterHeader"},
    {Damage::kFlippedBits, "FlippedBits"},
};

constexpr std::size_t kHeaderBytes = 24;

// Files go bad after start-up here, while the program runs: the cut ones would fail the
// start-up test, the others keep their length and would pass it.
void Spoil(const fs::path& file, Damage damage) {
  std::vector<unsigned char> bytes;
  {
    std::ifstream in(file, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  ASSERT_GT(bytes.size(), kHeaderBytes * 2) << file;
  std::mt19937 random(static_cast<std::uint32_t>(bytes.size()));
  std::uniform_int_distribution<int> byte(0, 255);
  switch (damage) {
    case Damage::kCutInHalf:
      bytes.resize(bytes.size() / 2);
      break;
    case Damage::kHeaderOnly:
      bytes.resize(kHeaderBytes);
      break;
    case Damage::kZeros:
      std::fill(bytes.begin(), bytes.end(), 0);
      break;
    case Damage::kNoise:
      for (unsigned char& b : bytes) b = static_cast<unsigned char>(byte(random));
      break;
    case Damage::kNoiseAfterHeader:
      for (std::size_t i = kHeaderBytes; i < bytes.size(); ++i) {
        bytes[i] = static_cast<unsigned char>(byte(random));
      }
      break;
    case Damage::kFlippedBits: {
      // A few single bits, as a failing disk flips them; headers and data both.
      std::uniform_int_distribution<std::size_t> at(0, bytes.size() * 8 - 1);
      for (int i = 0; i < 12; ++i) {
        const std::size_t bit = at(random);
        bytes[bit / 8] ^= static_cast<unsigned char>(1u << (bit % 8));
      }
      break;
    }
  }
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

void OpenGallery(FormaMain& f) { ClickOn(f.MoreImages); }

void FillHere(FormaMain& f) {
  const platform::Rect c = f.Slika.Bounds();
  for (const auto& [x, y] : {std::pair{120, 90}, {375, 300}, {600, 500}, {740, 590}}) {
    test_support::ClickMouse(c.x + x, c.y + y);
  }
}

void ChooseDrawingSeven(FormaMain& f) {
  OpenGallery(f);
  ClickOn(f.Galerija(7));
  FillHere(f);
  // The eraser loads the drawing again, the one chosen or, if the choice failed, drawing 1.
  ClickOn(f.Rubber);
  FillHere(f);
}

void Erase(FormaMain& f) {
  ClickOn(f.Rubber);
  FillHere(f);
}

void BlankPaper(FormaMain& f) {
  ClickOn(f.Papir);
  FillHere(f);
}

void HoverYellow(FormaMain& f) {
  MoveOnto(f.Paleta(3));
  MoveOnto(f.Paleta(4));
}

void ChooseYellow(FormaMain& f) {
  ClickOn(f.Paleta(3));
  MoveOnto(f.Paleta(3));
  FillHere(f);
}

void ChooseGreen(FormaMain& f) {
  ClickOn(f.Paleta(2));
  FillHere(f);
}

void HoverFirstThumbnail(FormaMain& f) {
  OpenGallery(f);
  MoveOnto(f.Galerija(1));
  MoveOnto(f.Galerija(2));
  test_support::MoveMouse(1010, 700);  // the bare form puts the resting pictures back
  ClickOn(f.Galerija(1));
}

void VisitGallery(FormaMain& f) {
  OpenGallery(f);
  ClickOn(f.Back);
  OpenGallery(f);
  ClickOn(f.Galerija(3));
}

// A tool's pointer icon goes onto the canvas and is made into the pointer when the mouse
// comes over it.
void ChooseFill(FormaMain& f) {
  ClickOn(f.olovka);
  ClickOn(f.kapljica);
  MoveOnto(f.Slika);
  FillHere(f);
}

void ChoosePencil(FormaMain& f) {
  ClickOn(f.olovka);
  const platform::Rect c = f.Slika.Bounds();
  test_support::PressMouse(c.x + 100, c.y + 100);
  test_support::MoveMouse(c.x + 300, c.y + 200, SDL_BUTTON_LMASK);
  test_support::ReleaseMouse(c.x + 300, c.y + 200);
  ClickOn(f.kapljica);
}

void PlayMusic(FormaMain& f) {
  ClickOn(f.MusicOn);
  PumpFor(700ms);  // the repeat timer looks at the music at least once
  ClickOn(f.MusicOn);
  ClickOn(f.MusicOn);
  PumpFor(100ms);
}

struct LoadedFile {
  const char* relative;
  void (*drive)(FormaMain&);
};
constexpr LoadedFile kLoadedFiles[] = {
    {"PICTURE/07.GIF", ChooseDrawingSeven},
    {"PICTURE/01.GIF", Erase},
    {"PICTURE/00.GIF", BlankPaper},
    {"PICTURE/BOJE2_03.JPG", HoverYellow},
    {"PICTURE/BOJE3_03.JPG", ChooseYellow},
    {"PICTURE/GALERIJA1BELE_01.JPG", HoverFirstThumbnail},
    {"PICTURE/GALERIJA1ZUTE_01.JPG", HoverFirstThumbnail},
    {"PICTURE/GALERIJA.JPG", VisitGallery},
    {"PICTURE/GLAVNA.JPG", VisitGallery},
    {"PICTURE/KANTICA8.ICO", ChooseFill},
    {"PICTURE/CETKA.ICO", ChoosePencil},
    {"SOUND/ZELENA.WAV", ChooseGreen},
    {"SOUND/SVPLAVA.WAV", FillHere},
    {"MUSIC/001.MID", PlayMusic},
};

class DamagedData : public test_support::AppTest,
                    public ::testing::WithParamInterface<std::tuple<LoadedFile, DamageCase>> {
 protected:
  void SetUp() override {
    SendPrintsNowhere();
    UseSmallSoundFont();
    AppTest::SetUp();
  }
};

TEST_P(DamagedData, HandlerThatLoadsItStopsOrShowsWhatItCanAndTheProgramGoesOn) {
  const auto& [file, damage] = GetParam();
  StartProgram();
  ASSERT_FALSE(ended) << "the program ended at start-up";
  ASSERT_NO_FATAL_FAILURE(Spoil(data->File(file.relative), damage.damage));

  file.drive(*forma);
  ExpectResponds(*forma);
  // And once more, now that the damaged file may be half in use.
  file.drive(*forma);
  ExpectResponds(*forma);
}

std::string CaseName(const ::testing::TestParamInfo<DamagedData::ParamType>& info) {
  std::string name;
  for (const char* c = std::get<0>(info.param).relative; *c; ++c) {
    if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
  }
  return name + "_" + std::get<1>(info.param).name;
}

INSTANTIATE_TEST_SUITE_P(EveryFileEveryDamage, DamagedData,
                         ::testing::Combine(::testing::ValuesIn(kLoadedFiles),
                                            ::testing::ValuesIn(kDamages)),
                         CaseName);

// A small GIF with one bit flipped in its code stream, which crashed the GIF decoder: padded
// to a drawing's own length, so that start-up lets it through, and chosen in the gallery.
// The choice fails, the gallery stays for another, and the program goes on.
constexpr unsigned char kGifThatCrashedTheDecoder[] = {
    0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x07, 0x00, 0x06, 0x00, 0xf0, 0x00, 0x00,
    0xff, 0x00, 0x00, 0x00, 0x00, 0x00, 0x21, 0xf9, 0x04, 0x01, 0x00, 0x00, 0x01,
    0x00, 0x2c, 0x00, 0x00, 0x00, 0x00, 0x07, 0x00, 0x06, 0x00, 0x40, 0x02, 0x09,
    0x8c, 0x8f, 0x09, 0x0f, 0xc7, 0x6d, 0x5e, 0x42, 0x05, 0x00, 0x3b};

class DrawingThatCrashedTheDecoder : public DamagedData {};

TEST_F(DrawingThatCrashedTheDecoder, IsRefusedAndTheGalleryStays) {
  const fs::path drawing = data->File("PICTURE/07.GIF");
  std::vector<unsigned char> bytes(std::begin(kGifThatCrashedTheDecoder),
                                   std::end(kGifThatCrashedTheDecoder));
  bytes.resize(fs::file_size(drawing), 0);
  std::ofstream(drawing, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  StartProgram();
  ASSERT_FALSE(ended) << "start-up took the padded file for a damaged one";
  const platform::Picture start = forma->Slika.GetPicture();

  OpenGallery(*forma);
  ClickOn(forma->Galerija(7));
  EXPECT_EQ(galerija_prikazana, 1);
  EXPECT_EQ(forma->Slika.GetPicture(), start);
  EXPECT_EQ(trenutna_slika, 1);
  ExpectResponds(*forma);
}

}  // namespace
}  // namespace robustness
