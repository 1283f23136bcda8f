#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "processes.h"
#include "xvfb_session.h"

namespace test_support {

// A Wayland compositor nested in a private X server whose screen is its one output: keys
// typed and shots taken on that X server reach the compositor as a user's would. Mutter runs
// as a GNOME session on Wayland runs it, with its Xwayland and a D-Bus session of its own;
// weston is a compositor without the protocol that lets a program hold the keyboard.
class NestedCompositor {
 public:
  enum Kind { kMutter, kWeston };

  NestedCompositor() = default;
  NestedCompositor(const NestedCompositor&) = delete;
  NestedCompositor& operator=(const NestedCompositor&) = delete;
  ~NestedCompositor() { Stop(); }

  // True when Xvfb and that compositor (with Xwayland and D-Bus, for mutter) are installed.
  static bool Installed(Kind kind);

  // Starts it all with an output of that size, the session's files in `folder`, and waits
  // until clients can connect. Throws std::runtime_error when it does not come up.
  void Start(Kind kind, const std::filesystem::path& folder, int width, int height);
  // Ends the compositor's whole process group (for mutter: D-Bus, mutter, Xwayland), then
  // the X server.
  void Stop();

  // The X server the compositor is nested in: where xdotool types and import takes shots.
  const std::string& host() const { return host_.display(); }
  // What a program started from that session is given: WAYLAND_DISPLAY, XDG_RUNTIME_DIR and,
  // unless `wayland_only` or without an Xwayland, DISPLAY and XAUTHORITY for its Xwayland.
  Environment Session(bool wayland_only) const;

 private:
  bool UpWithXwayland();

  XvfbSession host_;
  std::unique_ptr<Started> session_;  // started by setsid: the leader of its process group
  std::filesystem::path runtime_, log_;
  std::string xwayland_, xauthority_;
};

}  // namespace test_support
