#include "platform/midi_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "media_files.h"
#include "platform/failure.h"
#include "temp_folder.h"

namespace {

using namespace media_files;

struct LengthCase {
  const char* name;
  Bytes file;
  double seconds;
  friend void PrintTo(const LengthCase& c, std::ostream* out) { *out << c.name; }
};

Bytes TextMeta(std::size_t length) {
  Bytes b{0xFF, 0x01};
  PutVariableLength(b, static_cast<std::uint32_t>(length));
  b.insert(b.end(), length, 'x');
  return b;
}

// A time-code division: 25 frames a second, 40 ticks a frame, so 1000 ticks a second.
constexpr std::uint16_t kTimeCode25x40 = 0xE728;

std::vector<LengthCase> LengthCases() {
  return {
      {"DefaultTempo", MidiFile(0, 96, {Track({NoteOn(0, 60), NoteOff(192, 60), EndOfTrack(192)})}),
       1.0},
      {"TempoChangeMidPiece",
       MidiFile(0, 96,
                {Track({Tempo(0, 1000000), NoteOn(0, 60), Tempo(96, 250000), NoteOff(288, 60),
                        EndOfTrack(288)})}),
       1.0 + 2 * 0.25},
      {"TempoMapInFirstTrackNotesInSecond",
       MidiFile(1, 96,
                {Track({Tempo(0, 600000), Tempo(192, 300000), EndOfTrack(192)}),
                 Track({NoteOn(0, 60), NoteOff(384, 60), EndOfTrack(384)})}),
       2 * 0.6 + 2 * 0.3},
      {"TempoChangeInThirdTrack",
       MidiFile(1, 96,
                {Track({EndOfTrack(0)}), Track({NoteOn(0, 60), NoteOff(480, 60), EndOfTrack(480)}),
                 Track({Tempo(96, 250000), EndOfTrack(96)})}),
       0.5 + 4 * 0.25},
      {"RunningStatus",
       MidiFile(0, 96,
                {Track({NoteOn(0, 60),
                        {96, {62, 100}},
                        {192, {64, 100}},
                        {288, {0x80, 60, 0}},
                        {288, {62, 0}},
                        {288, {64, 0}},
                        EndOfTrack(288)})}),
       1.5},
      {"ProgramChangeHasOneDataByte",
       MidiFile(
           0, 96,
           {Track(
               {{0, {0xC0, 5}}, {0, {0xD0, 7}}, NoteOn(0, 60), NoteOff(96, 60), EndOfTrack(96)})}),
       0.5},
      {"LongMetaAndSystemExclusiveSkipped",
       MidiFile(0, 96,
                {Track({{0, TextMeta(200)},
                        {0, {0xF0, 0x03, 0x7E, 0x7F, 0xF7}},
                        NoteOn(0, 60),
                        NoteOff(192, 60),
                        EndOfTrack(192)})}),
       1.0},
      {"TimeCodeDivisionIgnoresTempo",
       MidiFile(0, kTimeCode25x40,
                {Track({Tempo(0, 250000), NoteOn(0, 60), NoteOff(2500, 60), EndOfTrack(2500)})}),
       2.5},
      {"IndependentSequencesPlayInTurn",
       MidiFile(2, 96,
                {Track({Tempo(0, 250000), NoteOn(0, 60), NoteOff(96, 60), EndOfTrack(96)}),
                 Track({NoteOn(0, 60), NoteOff(192, 60), EndOfTrack(192)})}),
       0.25 + 1.0},
  };
}

class MidiFileLength : public testing::TestWithParam<LengthCase> {
 protected:
  test_support::TempFolder folder_;
};

TEST_P(MidiFileLength, ComesFromDivisionTempoMapAndLastEvent) {
  const std::string path = folder_ / "piece.mid";
  Save(path, GetParam().file);
  EXPECT_NEAR(platform::MidiFileSeconds(path), GetParam().seconds, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Files, MidiFileLength, testing::ValuesIn(LengthCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MidiFileSecondsTest, SkipsChunksOfUnknownKinds) {
  test_support::TempFolder folder;
  Bytes file = MidiFile(1, 96, {Track({NoteOn(0, 60), NoteOff(96, 60), EndOfTrack(96)})});
  const Bytes unknown{'X', 'Y', 'Z', 'W', 0, 0, 0, 3, 1, 2, 3};
  file.insert(file.begin() + 14, unknown.begin(), unknown.end());
  Save(folder / "piece.mid", file);
  EXPECT_NEAR(platform::MidiFileSeconds(folder / "piece.mid"), 0.5, 1e-9);
}

TEST(MidiFileSecondsTest, TakesWindowsStylePaths) {
  test_support::TempFolder folder;
  std::filesystem::create_directory(folder / "Music");
  Save(folder / "Music/Song.mid",
       MidiFile(0, 96, {Track({NoteOn(0, 60), NoteOff(192, 60), EndOfTrack(192)})}));
  std::string windows_path = folder.path().string() + "\\MUSIC\\song.MID";
  EXPECT_NEAR(platform::MidiFileSeconds(windows_path), 1.0, 1e-9);
}

TEST(MidiFileSecondsTest, UnreadableFilesFail) {
  test_support::TempFolder folder;
  const Bytes good = MidiFile(0, 96, {Track({NoteOn(0, 60), NoteOff(96, 60), EndOfTrack(96)})});
  const std::vector<std::pair<const char*, Bytes>> bad = {
      {"empty", {}},
      {"not_midi", ToneWav(440, 0.01)},
      {"cut_in_track", Bytes(good.begin(), good.end() - 5)},
      {"cut_in_header", Bytes(good.begin(), good.begin() + 10)},
      {"fewer_tracks", MidiFile(1, 96, {Track({EndOfTrack(0)})})},
      {"data_without_status", MidiFile(0, 96, {Track({{0, {60, 100}}, EndOfTrack(0)})})},
  };
  for (auto [name, bytes] : bad) {
    if (std::string(name) == "fewer_tracks") bytes[11] = 2;  // header claims two tracks
    Save(folder / name, bytes);
    EXPECT_THROW(platform::MidiFileSeconds(folder / name), platform::RuntimeError) << name;
  }
  EXPECT_THROW(platform::MidiFileSeconds(folder / "missing.mid"), platform::RuntimeError);
}

}  // namespace
