#pragma once

namespace platform {

// The first thing the program does, before it opens any file or connection: standard input,
// output and error that the starter left closed are opened on /dev/null, so that no window
// system connection or picture file can take their numbers and receive the program's lines;
// and a file-size limit makes a write fail with EFBIG instead of ending the program, so that
// a save past it is refused as any other refused save is. Every signal the program takes
// into its own hands is set up here.
void PrepareProcess();

}  // namespace platform
