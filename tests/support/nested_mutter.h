#pragma once

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <string>

#include "processes.h"
#include "xvfb_session.h"

namespace test_support {

// GNOME's compositor as a GNOME session on Wayland runs it, with its Xwayland and a D-Bus
// session of its own, nested in a private X server whose screen is its one output. Keys
// typed and shots taken on that X server reach the compositor as a user's would.
class NestedMutter {
 public:
  NestedMutter() = default;
  NestedMutter(const NestedMutter&) = delete;
  NestedMutter& operator=(const NestedMutter&) = delete;
  ~NestedMutter() { Stop(); }

  // True when Xvfb, mutter, Xwayland and dbus-run-session are installed.
  static bool Installed();

  // Starts it all with an output of that size, the session's files in `runtime_folder`, and
  // waits until Wayland and X clients can connect. Throws std::runtime_error when it does
  // not come up.
  void Start(const std::filesystem::path& runtime_folder, int width, int height);
  // Ends the compositor's whole process group (D-Bus, mutter, Xwayland), then the X server.
  void Stop();

  // The X server mutter is nested in: where xdotool types and import takes shots.
  const std::string& host() const { return host_.display(); }
  // What a program started from that session is given: WAYLAND_DISPLAY, XDG_RUNTIME_DIR and,
  // unless `wayland_only`, DISPLAY and XAUTHORITY for its Xwayland.
  Environment Session(bool wayland_only) const;

 private:
  XvfbSession host_;
  std::unique_ptr<Started> session_;  // setsid's dbus-run-session: the group's leader
  std::filesystem::path runtime_, log_;
  std::string xwayland_, xauthority_;
};

}  // namespace test_support
