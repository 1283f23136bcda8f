#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

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
  // The same server without a window manager: one that a compositor nested in it takes as
  // its only output.
  std::string StartWithoutWindowManager(int width, int height, int depth);
  // Stops both by their pids and waits for them; does nothing when not started.
  void Stop();

  const std::string& display() const { return display_; }

 protected:
  // Starts the server of that command, told "-displayfd" and a descriptor to write its
  // display number to, then the window manager; `what` names its screen for errors.
  // No window manager config at all means no window manager.
  std::string StartWith(std::vector<std::string> server_command, const std::string& what,
                        const std::optional<std::string>& window_manager_config = "");

 private:
  pid_t server_ = -1;
  pid_t window_manager_ = -1;
  std::string display_;
};

}  // namespace test_support
