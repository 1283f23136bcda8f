#pragma once

#include <string>

#include "temp_folder.h"
#include "xvfb_session.h"

namespace test_support {

// A private X server with several display modes, as a family's PC has them, and a window
// manager on it: Xorg with the dummy video driver, a 1920x1080 desktop that also offers
// 1280x1024 and 1024x768 (and the driver's own smaller modes). Stopped by pid as XvfbSession
// is.
class XorgSession : public XvfbSession {
 public:
  XorgSession() = default;
  ~XorgSession() { Stop(); }

  // True when Xorg, its dummy driver and the window manager are installed, and this process
  // may start Xorg with a configuration of its own (it is root).
  static bool Installed();

  // Starts the server with a configuration of ours in a folder of its own, and the window
  // manager; gives the display name. Throws std::runtime_error when either fails.
  std::string Start();

  // The server's log, for a failure's message.
  std::string Log() const;

 private:
  TempFolder folder_;
};

}  // namespace test_support
