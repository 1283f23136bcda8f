#pragma once

// Small MIDI and WAV files written by the tests themselves, with known contents.

#include <cmath>
#include <cstdint>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace media_files {

using Bytes = std::vector<std::uint8_t>;

inline void PutBigEndian(Bytes& out, std::uint32_t value, int count) {
  for (int i = count - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}
inline void PutLittleEndian(Bytes& out, std::uint32_t value, int count) {
  for (int i = 0; i < count; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}
inline void PutVariableLength(Bytes& out, std::uint32_t value) {
  Bytes groups{static_cast<std::uint8_t>(value & 0x7F)};
  while (value >>= 7)
    groups.insert(groups.begin(), static_cast<std::uint8_t>(0x80 | (value & 0x7F)));
  out.insert(out.end(), groups.begin(), groups.end());
}

// One event at an absolute tick: the status byte and its data, as stored.
struct Event {
  std::uint32_t tick;
  Bytes bytes;
};

inline Event Tempo(std::uint32_t tick, std::uint32_t microseconds_per_quarter) {
  Bytes b{0xFF, 0x51, 0x03};
  PutBigEndian(b, microseconds_per_quarter, 3);
  return {tick, b};
}
inline Event NoteOn(std::uint32_t tick, std::uint8_t key) { return {tick, {0x90, key, 100}}; }
inline Event NoteOff(std::uint32_t tick, std::uint8_t key) { return {tick, {0x80, key, 0}}; }
inline Event EndOfTrack(std::uint32_t tick) { return {tick, {0xFF, 0x2F, 0x00}}; }

// A track chunk from events in tick order; the last one should be the end of the track.
inline Bytes Track(const std::vector<Event>& events) {
  Bytes body;
  std::uint32_t now = 0;
  for (const Event& e : events) {
    PutVariableLength(body, e.tick - now);
    now = e.tick;
    body.insert(body.end(), e.bytes.begin(), e.bytes.end());
  }
  Bytes chunk{'M', 'T', 'r', 'k'};
  PutBigEndian(chunk, static_cast<std::uint32_t>(body.size()), 4);
  chunk.insert(chunk.end(), body.begin(), body.end());
  return chunk;
}

inline Bytes MidiFile(int format, std::uint16_t division, const std::vector<Bytes>& tracks) {
  Bytes file{'M', 'T', 'h', 'd', 0, 0, 0, 6};
  PutBigEndian(file, format, 2);
  PutBigEndian(file, static_cast<std::uint32_t>(tracks.size()), 2);
  PutBigEndian(file, division, 2);
  for (const Bytes& t : tracks) file.insert(file.end(), t.begin(), t.end());
  return file;
}

// A mono 16-bit sine tone at half of full scale.
inline Bytes ToneWav(double frequency, double seconds, int rate = 22050) {
  const auto samples = static_cast<std::uint32_t>(seconds * rate);
  Bytes wav{'R', 'I', 'F', 'F'};
  PutLittleEndian(wav, 36 + samples * 2, 4);
  for (char c : std::string("WAVEfmt ")) wav.push_back(static_cast<std::uint8_t>(c));
  PutLittleEndian(wav, 16, 4);
  PutLittleEndian(wav, 1, 2);
  PutLittleEndian(wav, 1, 2);
  PutLittleEndian(wav, rate, 4);
  PutLittleEndian(wav, rate * 2, 4);
  PutLittleEndian(wav, 2, 2);
  PutLittleEndian(wav, 16, 2);
  for (char c : std::string("data")) wav.push_back(static_cast<std::uint8_t>(c));
  PutLittleEndian(wav, samples * 2, 4);
  for (std::uint32_t i = 0; i < samples; ++i) {
    const double v = 0.5 * std::sin(2 * std::numbers::pi * frequency * i / rate);
    PutLittleEndian(wav, static_cast<std::uint16_t>(static_cast<std::int16_t>(v * 32767)), 2);
  }
  return wav;
}

inline void Save(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

}  // namespace media_files
