#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

struct Mix_Chunk;

namespace platform {

constexpr std::int32_t SND_ASYNC = 1;

// Starts the WAV file playing and returns at once; a new sound cuts off the one still
// playing. A missing, unreadable or damaged file plays a short built-in beep instead, and so
// does one CheckSoundData refuses or one longer than kLargestSoundFile, which is never read
// (sound_check.h). With no audio device the call stays silent and returns 0; otherwise it
// returns 1. Every play returns at once, whatever the flags say.
std::int32_t sndPlaySoundA(const std::string& path, std::int32_t flags);
// Watches every sndPlaySoundA call with the path and flags as given, before anything plays;
// for checking which sound a handler asks for in tests. Empty to stop watching.
void SetSoundObserver(std::function<void(const std::string& path, std::int32_t flags)> observer);

// The sound a WAV file's bytes make, converted for the open device, as sndPlaySoundA plays
// it. The bytes are checked first (CheckSoundData), and only what was checked reaches the
// mixer. Raises RuntimeError for bytes refused or not converted; `name` only names the sound
// in the message.
std::shared_ptr<Mix_Chunk> ConvertSound(std::span<const unsigned char> bytes,
                                        const std::string& name);

// Opens the audio device on first use and answers from then on whether it is open. The
// sounds and the music share it; a device that failed to open is not tried again.
bool AudioDeviceOpen();

// The event the mixer posts once a second of silence has been mixed; 0 while no device is
// open. Whoever handles it calls RestAudioIfSilent.
std::uint32_t AudioRestEvent();
// Stops the audio device's thread from waking while nothing plays; on the thread that
// plays the sounds and music, which starts it again (WakeAudio) before anything new plays.
void RestAudioIfSilent();
void WakeAudio();

}  // namespace platform
