#include "nested_compositor.h"

#include <signal.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace test_support {
namespace {

constexpr const char* kWaylandName = "wayland-test";

std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

}  // namespace

bool NestedCompositor::Installed(Kind kind) {
  if (kind == kWeston) return OnPath("Xvfb") && OnPath("weston") && OnPath("setsid");
  return OnPath("Xvfb") && OnPath("mutter") && OnPath("Xwayland") && OnPath("dbus-run-session") &&
         OnPath("setsid") && OnPath("xdpyinfo");
}

void NestedCompositor::Start(Kind kind, const std::filesystem::path& folder, int width,
                             int height) {
  Stop();
  runtime_ = folder / "runtime";
  std::filesystem::create_directories(runtime_);
  std::filesystem::permissions(runtime_, std::filesystem::perms::owner_all);
  log_ = folder / "compositor.log";
  const std::string host = host_.StartWithoutWindowManager(width, height, 24);
  const std::string size = std::to_string(width) + "x" + std::to_string(height);
  // setsid makes the session's first process the leader of a group that holds all of it.
  std::vector<std::string> command =
      kind == kMutter ? std::vector<std::string>{"setsid",
                                                 "dbus-run-session",
                                                 "--",
                                                 "mutter",
                                                 "--nested",
                                                 "--wayland",
                                                 "--wayland-display",
                                                 kWaylandName}
                      : std::vector<std::string>{"setsid",
                                                 "weston",
                                                 "--backend=x11-backend.so",
                                                 std::string("--socket=") + kWaylandName,
                                                 "--width=" + std::to_string(width),
                                                 "--height=" + std::to_string(height)};
  Environment environment{
      {"DISPLAY", host}, {"XDG_RUNTIME_DIR", runtime_.string()}, {"WAYLAND_DISPLAY", std::nullopt}};
  // Mutter's nested output takes its size from this alone.
  if (kind == kMutter) environment["MUTTER_DEBUG_DUMMY_MODE_SPECS"] = size;
  session_ = std::make_unique<Started>(command, environment, log_.string());
  const bool up = WaitFor(
      [&] {
        return std::filesystem::exists(runtime_ / kWaylandName) &&
               (kind == kWeston || UpWithXwayland());
      },
      30s);
  if (!up) {
    const std::string log = ReadFile(log_);
    Stop();
    throw std::runtime_error("the compositor did not come up nested in " + host + ":\n" + log);
  }
}

// Mutter names its Xwayland's display in its log once it has started it.
bool NestedCompositor::UpWithXwayland() {
  static const std::regex announced("Using public X11 display (:[0-9]+)");
  std::smatch found;
  const std::string log = ReadFile(log_);
  if (!std::regex_search(log, found, announced)) return false;
  xwayland_ = found[1];
  for (const auto& entry : std::filesystem::directory_iterator(runtime_)) {
    if (entry.path().filename().string().starts_with(".mutter-Xwaylandauth")) {
      xauthority_ = entry.path().string();
    }
  }
  return !xauthority_.empty() &&
         RunTool({"xdpyinfo"}, {{"DISPLAY", xwayland_}, {"XAUTHORITY", xauthority_}}, 5s).status ==
             0;
}

void NestedCompositor::Stop() {
  if (session_ != nullptr) {
    ::kill(-session_->pid(), SIGTERM);
    if (!session_->WaitForExit(5s)) ::kill(-session_->pid(), SIGKILL);
    // Xwayland and the bus may outlive their parent: what is left of the group goes too.
    ::kill(-session_->pid(), SIGKILL);
    session_.reset();
  }
  xwayland_.clear();
  xauthority_.clear();
  host_.Stop();
}

Environment NestedCompositor::Session(bool wayland_only) const {
  Environment session{{"WAYLAND_DISPLAY", kWaylandName},
                      {"XDG_RUNTIME_DIR", runtime_.string()},
                      {"DISPLAY", std::nullopt},
                      {"XAUTHORITY", std::nullopt}};
  if (!wayland_only && !xwayland_.empty()) {
    session["DISPLAY"] = xwayland_;
    session["XAUTHORITY"] = xauthority_;
  }
  return session;
}

}  // namespace test_support
