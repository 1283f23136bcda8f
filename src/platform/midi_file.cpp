#include "platform/midi_file.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <map>
#include <vector>

#include "platform/failure.h"
#include "platform/paths.h"

namespace platform {
namespace {

constexpr std::uint32_t kDefaultMicrosecondsPerQuarter = 500000;

// Tempo changes by tick: microseconds per quarter note from that tick on.
using TempoMap = std::map<std::uint64_t, std::uint32_t>;

struct Track {
  std::uint64_t last_tick = 0;
  TempoMap tempos;
};

class Reader {
 public:
  Reader(const std::vector<unsigned char>& bytes, std::size_t begin, std::size_t end,
         const std::string& path)
      : bytes_(bytes), at_(begin), end_(end), path_(path) {}

  bool AtEnd() const { return at_ >= end_; }
  std::size_t Position() const { return at_; }

  std::uint8_t Byte() {
    if (at_ >= end_) Fail("ends early");
    return bytes_[at_++];
  }
  std::uint32_t BigEndian(int count) {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) value = (value << 8) | Byte();
    return value;
  }
  // A variable-length quantity: seven bits a byte, high bit set on all but the last.
  std::uint32_t VariableLength() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      const std::uint8_t b = Byte();
      value = (value << 7) | (b & 0x7F);
      if ((b & 0x80) == 0) return value;
    }
    Fail("has a malformed length");
  }
  void Skip(std::uint32_t count) {
    if (count > end_ - at_) Fail("ends early");
    at_ += count;
  }
  [[noreturn]] void Fail(const char* what) const {
    throw RuntimeError("MIDI file " + path_ + " " + what);
  }

 private:
  const std::vector<unsigned char>& bytes_;
  std::size_t at_;
  std::size_t end_;
  const std::string& path_;
};

Track ReadTrack(Reader& in) {
  Track track;
  std::uint8_t running_status = 0;
  while (!in.AtEnd()) {
    track.last_tick += in.VariableLength();
    std::uint8_t status = in.Byte();
    if (status < 0x80) {
      // Running status: this byte is the first data byte of a repeated channel message.
      if (running_status == 0) in.Fail("has data with no status");
      status = running_status;
      in.Skip(((status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0) ? 0 : 1);
      continue;
    }
    if (status == 0xFF) {
      const std::uint8_t type = in.Byte();
      const std::uint32_t length = in.VariableLength();
      if (type == 0x51 && length == 3) {
        track.tempos[track.last_tick] = in.BigEndian(3);
      } else {
        in.Skip(length);
      }
      if (type == 0x2F) break;  // end of track
    } else if (status == 0xF0 || status == 0xF7) {
      in.Skip(in.VariableLength());
    } else if (status >= 0xF0) {
      in.Fail("has a system message in a track");
    } else {
      running_status = status;
      in.Skip(((status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0) ? 1 : 2);
    }
  }
  return track;
}

double SecondsAt(std::uint64_t tick, const TempoMap& tempos, std::uint32_t ticks_per_quarter) {
  double microseconds = 0;
  std::uint64_t from = 0;
  std::uint32_t tempo = kDefaultMicrosecondsPerQuarter;
  for (const auto& [change_tick, change_tempo] : tempos) {
    if (change_tick >= tick) break;
    microseconds += static_cast<double>(change_tick - from) * tempo;
    from = change_tick;
    tempo = change_tempo;
  }
  microseconds += static_cast<double>(tick - from) * tempo;
  return microseconds / ticks_per_quarter / 1e6;
}

}  // namespace

std::vector<unsigned char> ReadMidiFile(const std::string& path) {
  std::vector<unsigned char> bytes;
  switch (ReadMappedFile(path, bytes, kLargestMusicFile)) {
    case FileRead::kRead:
      return bytes;
    case FileRead::kNoFile:
      throw RuntimeError("cannot open MIDI file " + path);
    case FileRead::kUnreadable:
      throw RuntimeError("cannot read MIDI file " + path);
    case FileRead::kTooLarge:
      break;
  }
  throw RuntimeError("MIDI file " + path + " is too long to be a piece of ours");
}

double MidiFileSeconds(const std::string& path) { return MidiSeconds(ReadMidiFile(path), path); }

double MidiSeconds(std::span<const unsigned char> data, const std::string& path) {
  if (data.size() > kLargestMusicFile) {
    throw RuntimeError("MIDI file " + path + " is too long to be a piece of ours");
  }
  const std::vector<unsigned char> bytes(data.begin(), data.end());
  Reader header(bytes, 0, bytes.size(), path);
  if (header.BigEndian(4) != 0x4D546864) header.Fail("is not a standard MIDI file");  // "MThd"
  const std::uint32_t header_length = header.BigEndian(4);
  if (header_length < 6) header.Fail("has a short header");
  const std::uint32_t format = header.BigEndian(2);
  const std::uint32_t track_count = header.BigEndian(2);
  const std::uint32_t division = header.BigEndian(2);
  header.Skip(header_length - 6);
  if (division == 0) header.Fail("has no time division");

  std::vector<Track> tracks;
  while (tracks.size() < track_count && !header.AtEnd()) {
    const std::uint32_t id = header.BigEndian(4);
    const std::uint32_t length = header.BigEndian(4);
    const std::size_t begin = header.Position();
    header.Skip(length);
    if (id != 0x4D54726B) continue;  // not "MTrk": chunks of unknown kinds are skipped
    Reader track(bytes, begin, begin + length, path);
    tracks.push_back(ReadTrack(track));
  }
  if (tracks.size() != track_count) header.Fail("has fewer tracks than its header says");

  if (division & 0x8000) {
    // Time code: frames per second (stored negative) times ticks per frame; tempo plays no part.
    const int frames_per_second = -static_cast<std::int8_t>(division >> 8);
    const int ticks_per_frame = division & 0xFF;
    if (frames_per_second <= 0 || ticks_per_frame == 0) header.Fail("has a bad time code");
    std::uint64_t last = 0;
    for (const Track& t : tracks)
      last = format == 2 ? last + t.last_tick : std::max(last, t.last_tick);
    return static_cast<double>(last) / (frames_per_second * ticks_per_frame);
  }

  if (format == 2) {
    // Independent sequences, played one after another, each with its own tempo.
    double seconds = 0;
    for (const Track& t : tracks) seconds += SecondsAt(t.last_tick, t.tempos, division);
    return seconds;
  }
  // Simultaneous tracks share one tempo map, wherever its events are stored.
  TempoMap tempos;
  std::uint64_t last = 0;
  for (const Track& t : tracks) {
    tempos.insert(t.tempos.begin(), t.tempos.end());
    last = std::max(last, t.last_tick);
  }
  return SecondsAt(last, tempos, division);
}

}  // namespace platform
