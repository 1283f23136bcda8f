#pragma once

#include <sys/types.h>

#include <string>

namespace test_support {

// A private X server with a window manager on it, for the tests that need a real display.
class XvfbSession {
 public:
  XvfbSession() = default;
  XvfbSession(const XvfbSession&) = delete;
  XvfbSession& operator=(const XvfbSession&) = delete;
  ~XvfbSession() { Stop(); }

  // True when the X server and the window manager are installed.
  static bool Installed();

  // Starts the server on a free display number with one screen of that size and depth (its
  // only display mode), then the window manager, and waits until both are ready. Gives the
  // display name, e.g. ":7". The window manager reads its configuration from that file
  // (an absolute path) when one is given. Throws std::runtime_error when either fails to
  // come up.
  std::string Start(int width, int height, int depth,
                    const std::string& window_manager_config = "");
  // Stops both by their pids and waits for them; does nothing when not started.
  void Stop();

  const std::string& display() const { return display_; }

 private:
  pid_t server_ = -1;
  pid_t window_manager_ = -1;
  std::string display_;
};

}  // namespace test_support
