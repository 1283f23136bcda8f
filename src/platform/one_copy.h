#pragma once

#include <cstdint>
#include <string>

#include "platform/window_handle.h"

namespace platform {

// The right to be the one running copy of the program for this user and display. It is an
// flock on a file in $XDG_RUNTIME_DIR (or, where that names no folder of the user's, in a folder
// of the user's alone under $TMPDIR or /tmp), named for the display; the file records the holder's
// pid. The lock dies with its holder, so a copy that was killed or crashed never blocks the next
// start. A start that finds the lock held sends the holder SIGUSR1 (when that pid runs this same
// program file), which its event loop hears as SecondStartEvent, and ends without opening a
// window.
enum class CopyState {
  kNotChecked,   // TakeOneCopy has not run
  kTheOne,       // this process holds the lock for as long as it lives
  kAnotherRuns,  // another copy holds it, and has been asked to come to the front
  kUnguarded,    // no lock to be had (a headless driver, no folder for it): runs without one
};

// Takes the lock, or asks its holder to come to the front. Runs before any window opens and
// before any thread is made: the holder's threads are all made with SIGUSR1 blocked, for the
// listener alone to take it. A lock that cannot be had for a reason of the system's is told
// in one line, and the program runs unguarded.
CopyState TakeOneCopy();
CopyState OneCopyState();
// The file that holds the lock for this user and display ("" with none, a headless driver).
std::string OneCopyLockFile();

// Starts the listener that turns each later start into a SecondStartEvent; once the event
// loop can take events. Without a thread for it, later starts still end, and the line says
// this copy will not come to the front.
void ListenForSecondStarts();
std::uint32_t SecondStartEvent();
// What the event loop does with it: a window on the screen is raised, one minimised for a
// web page is restored (and takes the keyboard again as on any restore). For a window that is
// meant to be shown: one that start-up keeps hidden is left to show itself.
void ComeToTheFront(HWND window);

}  // namespace platform
