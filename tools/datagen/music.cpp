#include "music.h"

#include <algorithm>
#include <array>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace datagen {
namespace {

constexpr int kTicksPerQuarter = 480;
constexpr int kTicksPerEighth = kTicksPerQuarter / 2;
constexpr int kTicksPerBar = 4 * kTicksPerQuarter;
constexpr std::uint32_t kMicrosecondsPerQuarter = 500000;  // 120 beats a minute
constexpr int kDrumChannel = 9;

// The tune, bar by bar: note name and octave, then its length in eighths ("R" rests).
constexpr std::string_view kVerse =
    "E5/2 G5/2 E5/2 C5/2 | D5/3 C5/1 B4/2 G4/2 | C5/2 E5/2 A5/3 G5/1 | F5/2 A5/2 F5/2 C5/2 | "
    "E5/2 G5/2 C6/3 B5/1 | A5/2 F5/2 C5/2 A4/2 | ";
constexpr std::string_view kMelody[] = {
    kVerse, "B4/2 D5/2 G5/2 F5/2 | E5/4 C5/4 | ",
    "A5/3 G5/1 F5/2 A5/2 | G5/3 E5/1 C5/4 | F5/2 A5/2 C6/2 A5/2 | G5/6 R/2 | "
    "E5/2 A5/2 C6/2 A5/2 | F5/2 E5/2 F5/2 A5/2 | D5/2 F5/2 A5/2 F5/2 | G5/4 B4/2 D5/2 | ",
    kVerse, "B4/2 D5/2 F5/2 D5/2 | C5/8"};
constexpr std::string_view kChords = "C G Am F C F G C  F C F G Am F Dm G  C G Am F C F G C";

struct Event {
  int tick;
  int order;  // at one tick, notes end before new ones start
  std::vector<std::uint8_t> bytes;
};

class Track {
 public:
  void Add(int tick, std::vector<std::uint8_t> bytes, int order = 1) {
    events_.push_back({tick, order, std::move(bytes)});
  }
  void Note(int channel, int key, int velocity, int start, int length) {
    Add(start, {static_cast<std::uint8_t>(0x90 | channel), static_cast<std::uint8_t>(key),
                static_cast<std::uint8_t>(velocity)});
    Add(start + length,
        {static_cast<std::uint8_t>(0x80 | channel), static_cast<std::uint8_t>(key), 0}, 0);
  }
  void Setup(int channel, int program, int volume) {
    Add(0, {static_cast<std::uint8_t>(0xC0 | channel), static_cast<std::uint8_t>(program)});
    Add(0, {static_cast<std::uint8_t>(0xB0 | channel), 7, static_cast<std::uint8_t>(volume)});
  }
  std::vector<std::uint8_t> Chunk(int end_tick) {
    Add(end_tick, {0xFF, 0x2F, 0x00}, 2);
    std::stable_sort(events_.begin(), events_.end(), [](const Event& a, const Event& b) {
      return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<std::uint8_t> data;
    int now = 0;
    for (const Event& e : events_) {
      VariableLength(data, static_cast<std::uint32_t>(e.tick - now));
      now = e.tick;
      data.insert(data.end(), e.bytes.begin(), e.bytes.end());
    }
    std::vector<std::uint8_t> chunk = {'M', 'T', 'r', 'k'};
    BigEndian(chunk, static_cast<std::uint32_t>(data.size()), 4);
    chunk.insert(chunk.end(), data.begin(), data.end());
    return chunk;
  }
  static void BigEndian(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }

 private:
  static void VariableLength(std::vector<std::uint8_t>& out, std::uint32_t v) {
    std::uint8_t groups[5];
    int n = 0;
    do {
      groups[n++] = static_cast<std::uint8_t>(v & 0x7F);
      v >>= 7;
    } while (v != 0);
    while (n-- > 0) out.push_back(static_cast<std::uint8_t>(groups[n] | (n > 0 ? 0x80 : 0)));
  }
  std::vector<Event> events_;
};

int KeyOf(std::string_view name) {
  static constexpr std::array<int, 7> kSemitones = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  int key = kSemitones[static_cast<std::size_t>(name[0] - 'A')];
  std::size_t at = 1;
  if (name[at] == 's') ++key, ++at;
  return key + 12 * (name[at] - '0' + 1);
}

// Writes the tune into the track; every bar must hold exactly eight eighths.
int WriteMelody(Track& track, int channel) {
  std::string tune;
  for (const std::string_view part : kMelody) tune += part;
  std::istringstream words(tune);
  std::string word;
  int tick = 0, bar_start = 0;
  while (words >> word) {
    if (word == "|") {
      if (tick - bar_start != kTicksPerBar) throw std::logic_error("a bar of the tune is uneven");
      bar_start = tick;
      continue;
    }
    const std::size_t slash = word.find('/');
    const int length = std::stoi(word.substr(slash + 1)) * kTicksPerEighth;
    if (word[0] != 'R') track.Note(channel, KeyOf(word.substr(0, slash)), 100, tick, length - 20);
    tick += length;
  }
  return tick;
}

// Root-position triads kept between F3 and E4 for the root, so the chords move smoothly.
std::array<int, 3> ChordKeys(const std::string& name) {
  int root = KeyOf(name.substr(0, 1) + "4");
  if (root > KeyOf("E4")) root -= 12;
  const bool minor = name.size() > 1 && name[1] == 'm';
  return {root, root + (minor ? 3 : 4), root + 7};
}

}  // namespace

std::vector<std::uint8_t> MakeMusic() {
  Track tempo, melody, chords, bass, drums;
  tempo.Add(0, {0xFF, 0x51, 0x03, kMicrosecondsPerQuarter >> 16,
                (kMicrosecondsPerQuarter >> 8) & 0xFF, kMicrosecondsPerQuarter & 0xFF});
  tempo.Add(0, {0xFF, 0x58, 0x04, 4, 2, 24, 8});
  melody.Setup(0, 73, 110);  // flute
  chords.Setup(1, 0, 70);    // piano
  bass.Setup(2, 32, 95);     // acoustic bass
  drums.Add(0, {0xB0 | kDrumChannel, 7, 60});

  const int end = WriteMelody(melody, 0);
  std::istringstream progression{std::string(kChords)};
  std::string chord;
  std::vector<std::string> bars;
  while (progression >> chord) bars.push_back(chord);
  if (static_cast<int>(bars.size()) * kTicksPerBar != end) {
    throw std::logic_error("the chords and the tune differ in length");
  }
  for (std::size_t i = 0; i < bars.size(); ++i) {
    const int bar = static_cast<int>(i) * kTicksPerBar;
    const std::array<int, 3> keys = ChordKeys(bars[i]);
    const int root = keys[0] - 24;
    if (i + 1 == bars.size()) {
      // The last bar: one held tonic chord that stops exactly at the bar's end.
      for (const int k : keys) chords.Note(1, k, 75, bar, kTicksPerBar);
      bass.Note(2, root, 100, bar, kTicksPerBar);
      drums.Note(kDrumChannel, 36, 90, bar, kTicksPerEighth);
      continue;
    }
    // Oom-pah: bass on beats one and three, chords on two and four.
    bass.Note(2, root, 100, bar, kTicksPerQuarter - 30);
    bass.Note(2, keys[2] - 24, 90, bar + 2 * kTicksPerQuarter, kTicksPerQuarter - 30);
    for (const int beat : {1, 3}) {
      for (const int k : keys) {
        chords.Note(1, k, 70, bar + beat * kTicksPerQuarter, kTicksPerQuarter - 40);
      }
    }
    for (int eighth = 0; eighth < 8; ++eighth) {
      const int at = bar + eighth * kTicksPerEighth;
      drums.Note(kDrumChannel, 42, eighth % 2 == 0 ? 55 : 40, at, kTicksPerEighth / 2);
      if (eighth == 0 || eighth == 4) drums.Note(kDrumChannel, 36, 85, at, kTicksPerEighth);
      if (eighth == 2 || eighth == 6) drums.Note(kDrumChannel, 39, 60, at, kTicksPerEighth);
    }
  }

  std::vector<std::uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 5};
  Track::BigEndian(file, kTicksPerQuarter, 2);
  for (Track* t : {&tempo, &melody, &chords, &bass, &drums}) {
    const std::vector<std::uint8_t> chunk = t->Chunk(end);
    file.insert(file.end(), chunk.begin(), chunk.end());
  }
  return file;
}

}  // namespace datagen
