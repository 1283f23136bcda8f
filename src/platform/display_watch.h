#pragma once

#include <sys/types.h>

namespace platform {

// What the program and its display watcher say to each other, one byte at a time, over a
// socket that is the watcher's descriptor kChannel.
namespace display_watch {
constexpr int kChannel = 3;
constexpr char kReady = 'r';    // the watcher: the desktop's configuration is recorded
constexpr char kModeSet = 'm';  // the program: the display shows the program's mode now
constexpr char kDone = 'd';     // the program: the desktop has its own mode back
constexpr const char* kFileName = "display-watcher";
}  // namespace display_watch

// X keeps a display mode after the client that set it is gone, so a kill, a crash or a
// connection cut off would leave the desktop small. A process of its own, beside the
// program, records the screen's configuration before the switch and puts it back when the
// program ends with the display still in its mode; its end of the socket closing, however
// the program ends, is what tells it. Only on X11: elsewhere nothing is started.
class DisplayWatch {
 public:
  DisplayWatch() = default;
  DisplayWatch(const DisplayWatch&) = delete;
  DisplayWatch& operator=(const DisplayWatch&) = delete;
  // Closing the socket leaves the watcher to judge the display for itself.
  ~DisplayWatch();

  // Starts the watcher and waits until it has recorded the configuration. One that cannot
  // start is said in one line, and the mode is switched unwatched.
  void Start();
  // The switch is made: the configuration now is the program's own.
  void ModeSet();
  // The desktop has its mode back from the program: the watcher ends touching nothing.
  void Done();

 private:
  void Close();
  int socket_ = -1;
  pid_t watcher_ = -1;
};

}  // namespace platform
