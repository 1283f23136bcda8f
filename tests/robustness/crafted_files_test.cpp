// Data files replaced after start-up by someone who means harm: made to pass the start-up
// test's sizes, or to break the decoders behind it. The program goes on and answers at once,
// and it never starts a program it was not given.
#include "crafted_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "platform/failure.h"
#include "platform/picture.h"
#include "platform/sound.h"
#include "robustness_support.h"

namespace robustness {
namespace {

namespace fs = std::filesystem;
using test_support::FileBytes;
using test_support::ReadFileBytes;
using test_support::WriteFileBytes;

// A hang shows as many seconds; one second leaves room for a slow machine.
template <typename Drive>
void ExpectAnswersWithinASecond(Drive drive) {
  const auto start = std::chrono::steady_clock::now();
  drive();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
}

class CraftedFiles : public test_support::AppTest {
 protected:
  void SetUp() override {
    SendPrintsNowhere();
    UseSmallSoundFont();
    AppTest::SetUp();
  }
};

// The decoder must read the code stream as the file joins it, wherever the sub-blocks are
// cut: a re-split drawing shows exactly as the original, as the canvas's drawing and as a
// hover picture (a GIF under a JPEG's name).
TEST_F(CraftedFiles, DrawingsWithTheirSubBlocksCutAnywhereShowAsTheOriginals) {
  StartProgram();
  ASSERT_FALSE(ended);
  const FileBytes original = ReadFileBytes(data->File("PICTURE/07.GIF"));
  const platform::Picture expected = platform::LoadPictureFromMemory(original, "07.GIF");
  const platform::Picture blank = platform::LoadPicture(data->File("PICTURE/00.GIF"));
  struct Case {
    const char* file;
    void (*drive)(FormaMain&);
    platform::PictureBox& (*shown)(FormaMain&);
  };
  const Case cases[] = {
      {"PICTURE/07.GIF",
       [](FormaMain& f) {
         ClickOn(f.MoreImages);
         ClickOn(f.Galerija(7));
       },
       [](FormaMain& f) -> platform::PictureBox& { return f.Slika; }},
      {"PICTURE/BOJE2_02.JPG", [](FormaMain& f) { MoveOnto(f.Paleta(2)); },
       [](FormaMain& f) -> platform::PictureBox& { return f.Paleta(2); }},
  };
  for (const Case& c : cases) {
    for (std::uint32_t seed = 1; seed <= 8; ++seed) {
      SCOPED_TRACE(std::string(c.file) + " split " + std::to_string(seed));
      WriteFileBytes(data->File(c.file), test_support::ResplitGifSubBlocks(original, seed));
      test_support::MoveMouse(1010, 700);  // the bare form: resting pictures back
      forma->Slika.SetPicture(blank);
      ExpectAnswersWithinASecond([&] { c.drive(*forma); });
      const platform::Picture shown = c.shown(*forma).GetPicture();
      ASSERT_NE(shown, nullptr);
      ASSERT_EQ(shown->width, expected->width);
      ASSERT_EQ(shown->height, expected->height);
      EXPECT_TRUE(shown->pixels == expected->pixels) << "the drawing decodes otherwise";
      ASSERT_NO_FATAL_FAILURE(ExpectResponds(*forma));
    }
  }
}

// Thousands of scans in a file of the original's length: refused before they are decoded.
TEST_F(CraftedFiles, JpegsWithThousandsOfScansAreRefusedAtOnce) {
  StartProgram();
  ASSERT_FALSE(ended);
  struct Case {
    const char* file;
    int side;
    void (*drive)(FormaMain&);
  };
  const Case cases[] = {
      {"PICTURE/GALERIJA.JPG", 4096,
       [](FormaMain& f) {
         ClickOn(f.MoreImages);
         ClickOn(f.Back);
       }},
      {"PICTURE/BOJE2_02.JPG", 1024,
       [](FormaMain& f) {
         MoveOnto(f.Paleta(2));
         MoveOnto(f.Paleta(3));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const fs::path file = data->File(c.file);
    WriteFileBytes(file, test_support::JpegWithRepeatedScan(c.side, c.side, fs::file_size(file)));
    ExpectAnswersWithinASecond([&] { c.drive(*forma); });
    ExpectAnswersWithinASecond([&] { c.drive(*forma); });
    ASSERT_NO_FATAL_FAILURE(ExpectResponds(*forma));
  }
}

// A sound of one to three frames a second asks the mixer's conversion for a buffer whose size
// overflows (at 2 Hz, hundreds of megabytes): refused by its rate like a damaged sound, it
// plays the beep and the program goes on.
TEST_F(CraftedFiles, SoundsOfAFewHertzCountAsDamagedAndTheProgramGoesOn) {
  StartProgram();
  ASSERT_FALSE(ended);
  const fs::path sound = data->File("SOUND/BRAON.WAV");
  const FileBytes original = ReadFileBytes(sound);
  for (const std::uint32_t rate : {1u, 2u, 3u}) {
    SCOPED_TRACE(std::to_string(rate) + " Hz");
    const FileBytes crafted = test_support::WavAtRate(original, rate);
    WriteFileBytes(sound, crafted);
    const long before = PeakResidentKb();
    ClickOn(forma->Paleta(9));
    EXPECT_LT(PeakResidentKb() - before, 64 * 1024) << "the sound was converted";
    EXPECT_EQ(trenutna_boja, 0x003367CC) << "the click did not choose brown";
    EXPECT_THROW(platform::ConvertSound(crafted, "BRAON.WAV"), platform::RuntimeError);
    ClickOn(forma->Paleta(1));
    ASSERT_NO_FATAL_FAILURE(ExpectResponds(*forma));
  }
}

// A picture or a sound grown to 1.5 GB with nothing on disk: refused by its length, never
// read, however often it is asked for.
TEST_F(CraftedFiles, HugePicturesAndSoundsFailLikeDamagedOnesWithoutBeingRead) {
  StartProgram();
  ASSERT_FALSE(ended);
  struct Case {
    const char* file;
    void (*drive)(FormaMain&);
  };
  const Case cases[] = {
      {"PICTURE/MOREIMAGES2.JPG",
       [](FormaMain& f) {
         MoveOnto(f.MoreImages);
         MoveOnto(f.Paleta(3));
       }},
      {"PICTURE/07.GIF",
       [](FormaMain& f) {
         ClickOn(f.MoreImages);
         ClickOn(f.Galerija(7));
         if (f.Back.Visible()) ClickOn(f.Back);
       }},
      {"SOUND/CRVENA.WAV", [](FormaMain& f) { ClickOn(f.Paleta(1)); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string file = data->File(c.file).string();
    test_support::GrowSparsely(file.c_str(), 3LL << 29);
    const long before = PeakResidentKb();
    for (int i = 0; i < 3; ++i) c.drive(*forma);
    if (c.file[0] == 'P') {
      EXPECT_THROW(platform::LoadPicture(file), platform::RuntimeError);
    } else {
      EXPECT_EQ(platform::sndPlaySoundA(file, platform::SND_ASYNC), 1) << "no beep either";
    }
    EXPECT_LT(PeakResidentKb() - before, 64 * 1024) << "the file was read";
    ASSERT_NO_FATAL_FAILURE(ExpectResponds(*forma));
  }
}

// A 3 GB music file with nothing on disk: refused by its length, never read.
TEST_F(CraftedFiles, AHugeMusicFileFailsLikeADamagedOneAtOnce) {
  StartProgram();
  ASSERT_FALSE(ended);
  const fs::path music = data->File("MUSIC/001.MID");
  {
    const int fd = ::open(music.c_str(), O_WRONLY | O_TRUNC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, 3LL << 30), 0);
    ::close(fd);
  }
  ExpectAnswersWithinASecond([&] { ClickOn(forma->MusicOn); });
  // The start fails at the load: the flags say it plays, the timer stays off.
  EXPECT_EQ(forma->muzika_svira, 1);
  EXPECT_FALSE(forma->tmrRepeat.Enabled());
  ExpectAnswersWithinASecond([&] { ClickOn(forma->MusicOn); });
  EXPECT_EQ(muzika_iskljucena, 1);
  ExpectResponds(*forma);
}

// The program folder's name has a space ("Colouring Book"); an executable at the prefix
// before it ("Colouring") is a decoy that must never run.
class CompanionInAFolderWithASpace : public CraftedFiles {
 protected:
  void SetUp() override {
    CraftedFiles::SetUp();
    const fs::path root = data->Path().parent_path();
    decoy_ran_ = root / "decoy-ran";
    companion_ran_ = root / "companion-ran";
    Script(root / "Colouring", decoy_ran_);
  }

  static void Script(const fs::path& at, const fs::path& marker) {
    std::ofstream(at) << "#!/bin/sh\necho \"$@\" > '" << marker.string() << "'\n";
    fs::permissions(at, fs::perms::owner_all);
  }

  // Whatever was started has had the time to write its mark.
  static bool RanAfterAWhile(const fs::path& marker) {
    for (int i = 0; i < 50 && !fs::exists(marker); ++i) PumpFor(10ms);
    return fs::exists(marker);
  }

  fs::path decoy_ran_, companion_ran_;
};

TEST_F(CompanionInAFolderWithASpace, ItRunsTheCompanionItselfAndNothingElse) {
  Script(data->File("MOVARI.EXE"), companion_ran_);
  StartProgram();
  ASSERT_FALSE(ended);
  EXPECT_TRUE(RanAfterAWhile(companion_ran_));
  EXPECT_FALSE(fs::exists(decoy_ran_)) << "the program at the path's prefix ran";
  EXPECT_EQ(trenutna_boja, 0x0000FF) << "start-up did not go on past the companion";
}

TEST_F(CompanionInAFolderWithASpace, WithoutTheCompanionStartUpStopsAndRunsNothing) {
  data->Remove("MOVARI.EXE");
  StartProgram();
  ASSERT_FALSE(ended);
  EXPECT_FALSE(RanAfterAWhile(decoy_ran_)) << "the program at the path's prefix ran";
  // Start-up stopped at the companion: the state it gives later keeps its zero values.
  EXPECT_EQ(trenutna_boja, 0);
  EXPECT_EQ(trenutna_slika, 0);
}

}  // namespace
}  // namespace robustness
