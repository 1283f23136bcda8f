#include "desktop.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "xvfb_session.h"

namespace test_support {

bool Desktop::Installed() {
  return XvfbSession::Installed() && OnPath("xdotool") && OnPath("import");
}

RecordingBrowser::RecordingBrowser(const std::filesystem::path& folder)
    : folder_(folder), record_(folder / "opened.txt") {
  std::filesystem::create_directories(folder_);
  const std::filesystem::path script = folder_ / "xdg-open";
  std::ofstream(script) << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << record_.string() << "'\n";
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
}

std::vector<std::string> RecordingBrowser::Addresses() const {
  std::vector<std::string> addresses;
  std::ifstream in(record_);
  for (std::string line; std::getline(in, line);) addresses.push_back(line);
  return addresses;
}

std::vector<std::string> RecordingBrowser::WaitForAddresses(std::size_t count,
                                                            std::chrono::milliseconds limit) const {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (Addresses().size() < count && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(20ms);
  }
  return Addresses();
}

Outcome Desktop::Tool(const std::vector<std::string>& arguments,
                      std::chrono::milliseconds limit) const {
  return RunTool(arguments, {{"DISPLAY", display_}}, limit);
}

Desktop::Desktop(std::string display) : display_(std::move(display)) {}

Desktop::Desktop(std::string display, int x, int y)
    : display_(std::move(display)), pointer_known_(true), x_(x), y_(y) {
  Tool({"xdotool", "mousemove", std::to_string(x), std::to_string(y)});
}

// The window manager freezes the pointer at each press until it has looked at it; moves of
// the pointer to a point (xdotool's warps) pass the queued presses and releases then, and
// reach the program out of order. Relative moves are input events that keep their order.
std::vector<std::string> Desktop::StepTo(int x, int y) {
  if (!pointer_known_) throw std::logic_error("the pointer's starting point is not known");
  std::vector<std::string> step{"xdotool", "mousemove_relative", "--", std::to_string(x - x_),
                                std::to_string(y - y_)};
  x_ = x;
  y_ = y;
  return step;
}

void Desktop::MoveTo(int x, int y) {
  if (x != x_ || y != y_) Tool(StepTo(x, y));
}
void Desktop::Click(int x, int y) {
  std::vector<std::string> arguments = StepTo(x, y);
  arguments.insert(arguments.end(), {"click", "1"});
  Tool(arguments);
}
void Desktop::Click() const { Tool({"xdotool", "click", "1"}); }
void Desktop::ButtonDown() const { Tool({"xdotool", "mousedown", "1"}); }
void Desktop::ButtonUp() const { Tool({"xdotool", "mouseup", "1"}); }
void Desktop::Keys(const std::string& keys) const { Tool({"xdotool", "key", keys}); }

Image Desktop::Shot(const std::string& window) const {
  return ParsePpm(Tool({"import", "-window", window, "-depth", "8", "ppm:-"}).out);
}

Image Desktop::Shot(int left, int top, int width, int height) const {
  const std::string crop = std::to_string(width) + "x" + std::to_string(height) + "+" +
                           std::to_string(left) + "+" + std::to_string(top);
  return ParsePpm(
      Tool({"import", "-window", "root", "-crop", crop, "+repage", "-depth", "8", "ppm:-"}).out);
}

Image Desktop::TryShot() const {
  try {
    return Shot();
  } catch (const std::exception&) {
    return {};
  }
}

std::pair<int, int> Desktop::ScreenSize() const {
  std::istringstream info(Tool({"xdpyinfo"}).out);
  for (std::string line; std::getline(info, line);) {
    const auto at = line.find("dimensions:");
    if (at == std::string::npos) continue;
    int width = 0, height = 0;
    char by = 0;
    std::istringstream(line.substr(at + 11)) >> width >> by >> height;
    return {width, height};
  }
  return {0, 0};
}

std::vector<std::string> Desktop::Windows(const std::string& title, bool visible_only) const {
  std::vector<std::string> arguments{"xdotool", "search"};
  if (visible_only) arguments.push_back("--onlyvisible");
  arguments.insert(arguments.end(), {"--name", "^" + title + "$"});
  std::istringstream found(Tool(arguments).out);
  std::vector<std::string> ids;
  for (std::string id; found >> id;) ids.push_back(id);
  return ids;
}

std::string Desktop::Property(const std::string& window, const std::string& name) const {
  return Tool({"xprop", "-id", window, name}).out;
}

int Desktop::Geometry(const std::string& window, const std::string& field) const {
  std::istringstream info(Tool({"xwininfo", "-id", window}).out);
  for (std::string line; std::getline(info, line);) {
    const auto at = line.find(field + ":");
    if (at != std::string::npos) return std::stoi(line.substr(at + field.size() + 1));
  }
  return -1;
}

}  // namespace test_support
