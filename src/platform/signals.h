#pragma once

namespace platform {

// How the program meets the signals it is sent: a hang-up (its terminal closed) or a quit
// from the keyboard ends it as SIGTERM does, which the toolkit turns into the quit event that
// unloads the form and gives the desktop its display mode back. A signal the program was
// started ignoring (nohup) stays ignored. A file-size limit makes a write fail instead of
// ending the program.
void SetUpSignals();

}  // namespace platform
