#include "nested_mutter.h"

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

bool NestedMutter::Installed() {
  return OnPath("Xvfb") && OnPath("mutter") && OnPath("Xwayland") &&
         OnPath("dbus-run-session") && OnPath("setsid") && OnPath("xdpyinfo");
}

void NestedMutter::Start(const std::filesystem::path& runtime_folder, int width, int height) {
  Stop();
  runtime_ = runtime_folder / "runtime";
  std::filesystem::create_directories(runtime_);
  std::filesystem::permissions(runtime_, std::filesystem::perms::owner_all);
  log_ = runtime_folder / "mutter.log";
  const std::string host = host_.Start(width, height, 24, false);
  const std::string size = std::to_string(width) + "x" + std::to_string(height);
  // setsid makes the session's first process the leader of a group that holds all of it.
  session_ = std::make_unique<Started>(
      std::vector<std::string>{"setsid", "dbus-run-session", "--", "mutter", "--nested",
                               "--wayland", "--wayland-display", kWaylandName},
      Environment{{"DISPLAY", host},
                  {"XDG_RUNTIME_DIR", runtime_.string()},
                  {"WAYLAND_DISPLAY", std::nullopt},
                  {"MUTTER_DEBUG_DUMMY_MODE_SPECS", size}},
      log_.string());
  // Mutter names its Xwayland's display in its log once it has started it.
  const std::regex announced("Using public X11 display (:[0-9]+)");
  const bool up = WaitFor(
      [&] {
        std::smatch found;
        const std::string log = ReadFile(log_);
        if (!std::regex_search(log, found, announced)) return false;
        xwayland_ = found[1];
        for (const auto& entry : std::filesystem::directory_iterator(runtime_)) {
          if (entry.path().filename().string().starts_with(".mutter-Xwaylandauth")) {
            xauthority_ = entry.path().string();
          }
        }
        return !xauthority_.empty() && std::filesystem::exists(runtime_ / kWaylandName) &&
               RunTool({"xdpyinfo"}, {{"DISPLAY", xwayland_}, {"XAUTHORITY", xauthority_}}, 5s)
                       .status == 0;
      },
      30s);
  if (!up) {
    const std::string log = ReadFile(log_);
    Stop();
    throw std::runtime_error("mutter did not come up nested in " + host + ":\n" + log);
  }
}

void NestedMutter::Stop() {
  if (session_ != nullptr) {
    ::kill(-session_->pid(), SIGTERM);
    if (!session_->WaitForExit(5s)) ::kill(-session_->pid(), SIGKILL);
    // Xwayland and the bus may outlive their parent: what is left of the group goes too.
    ::kill(-session_->pid(), SIGKILL);
    session_.reset();
  }
  host_.Stop();
}

Environment NestedMutter::Session(bool wayland_only) const {
  Environment session{{"WAYLAND_DISPLAY", kWaylandName},
                      {"XDG_RUNTIME_DIR", runtime_.string()},
                      {"DISPLAY", std::nullopt},
                      {"XAUTHORITY", std::nullopt}};
  if (!wayland_only) {
    session["DISPLAY"] = xwayland_;
    session["XAUTHORITY"] = xauthority_;
  }
  return session;
}

}  // namespace test_support
