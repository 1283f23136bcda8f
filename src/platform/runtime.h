#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Seconds since local midnight, with a fractional part: the clock of the system's `Timer`
// function, named for what it gives so that it cannot be taken for the timer control.
double SecondsSinceMidnight();
// Shifts the clock that SecondsSinceMidnight reads by this many seconds (0 takes the shift away).
void SetClockOffset(double seconds);
// Makes that clock run this many times faster than real time from now on (1 is real time),
// so that tests can run the program's three-second waits quickly.
void SetClockRate(double rate);

// Uniform single-precision values in [0, 1). The generator starts from the same state in
// every run; Randomize re-seeds it from the clock.
float Rnd();
void Randomize();

// The length of a file in bytes; a missing file or one that cannot be read fails.
std::int32_t FileLen(const std::string& path);
// Makes a directory the current one; a missing one fails.
void ChDir(const std::string& path);

// The directory the program file lies in, without a trailing separator (but for "/").
std::string AppPath();
// Makes AppPath report another directory, as a program started from there would see it,
// with its data beside it.
void SetAppPath(std::string directory);

std::string UCase(const std::string& text);

}  // namespace platform
