// The built program on a real X server with a window manager, driven from outside for about
// a minute by random pointer moves, clicks, drags and key presses; it must still run at the
// end and still answer: Ctrl+X brings up the exit dialog on the screen, and No takes it away.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app_fixture.h"
#include "desktop.h"
#include "xvfb_session.h"

namespace robustness {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct Area {
  int x, y, w, h;
  bool Contains(int px, int py) const {
    return px >= x - 2 && py >= y - 2 && px < x + w + 2 && py < y + h + 2;
  }
};
// The exit dialog's Yes ends the program: no press lands there, whether or not the dialog is
// open. The web links are pressed now and then: the browser is a stand-in, and the window
// they minimise is brought back.
constexpr Area kYes{368, 409, 107, 50};
constexpr Area kExitDialog{312, 259, 400, 250};
// Points that close whatever panel is open and leave the gallery; on the main screen they
// fall on the canvas or the bare top edge of the window.
constexpr int kNo[] = {610, 434}, kClose[] = {668, 282}, kBack[] = {126, 20};

// Presses stay inside the window's client area, which the window manager's desktop borders.
constexpr int kRightmost = 1020, kLowest = 762;

int RunOn(const std::string& display, const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setenv("DISPLAY", display.c_str(), 1);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + 30s;
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(5ms);
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The screen as 0xRRGGBB values, from a binary PPM that the screenshot tool writes.
std::vector<std::uint32_t> Screenshot(const std::string& display, const std::string& file) {
  if (RunOn(display, {"import", "-display", display, "-window", "root", "-depth", "8",
                      "ppm:" + file}) != 0) {
    return {};
  }
  std::ifstream in(file, std::ios::binary);
  std::string magic;
  int width = 0, height = 0, max = 0;
  in >> magic >> width >> height >> max;
  in.get();
  if (magic != "P6" || width != 1024 || height != 768 || max != 255) return {};
  std::vector<unsigned char> bytes(static_cast<std::size_t>(width) * height * 3);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  std::vector<std::uint32_t> rgb;
  for (std::size_t i = 0; i + 2 < bytes.size(); i += 3) {
    rgb.push_back(static_cast<std::uint32_t>(bytes[i]) << 16 | bytes[i + 1] << 8 | bytes[i + 2]);
  }
  return rgb;
}

int ChangedPixels(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b,
                  Area area) {
  if (a.size() != b.size() || a.empty()) return -1;
  int changed = 0;
  for (int y = area.y; y < area.y + area.h; ++y) {
    for (int x = area.x; x < area.x + area.w; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * 1024 + x;
      changed += a[i] != b[i] ? 1 : 0;
    }
  }
  return changed;
}

// One batch of random input as the arguments of one input tool run.
std::vector<std::string> RandomBatch(std::mt19937& dice, int actions) {
  static const char* const kKeys[] = {"ctrl+x",    "ctrl+r", "a",     "x",         "Tab",
                                      "shift+Tab", "Return", "space", "Escape",    "Left",
                                      "Down",      "F1",     "F5",    "BackSpace", "ctrl+x"};
  std::vector<std::string> args{"xdotool"};
  const auto point = [&](std::vector<std::string>& out) {
    int x = 0, y = 0;
    do {
      x = static_cast<int>(dice() % (kRightmost + 1));
      y = static_cast<int>(dice() % (kLowest + 1));
    } while (kYes.Contains(x, y));
    out.insert(out.end(), {"mousemove", std::to_string(x), std::to_string(y)});
  };
  for (int i = 0; i < actions; ++i) {
    const unsigned roll = dice() % 100;
    point(args);
    if (roll < 30) {
      args.insert(args.end(), {"click", "1"});
    } else if (roll < 34) {
      args.insert(args.end(), {"click", roll % 2 ? "3" : "2"});
    } else if (roll < 42) {
      args.insert(args.end(), {"mousedown", "1"});
      point(args);
      point(args);
      args.insert(args.end(), {"mouseup", "1"});
    } else if (roll < 52) {
      // Ctrl+P waits three seconds and tries to print, which goes nowhere here.
      args.insert(args.end(),
                  {"key", dice() % 40 == 0 ? "ctrl+p" : kKeys[dice() % std::size(kKeys)]});
    }
    args.insert(args.end(), {"sleep", "0.01"});
  }
  return args;
}

// What a command prints, run with DISPLAY set.
std::string Output(const std::string& display, const std::string& command) {
  FILE* out = ::popen(("DISPLAY=" + display + " " + command + " 2>/dev/null").c_str(), "r");
  if (out == nullptr) return {};
  std::string text;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, out) != nullptr) text += buffer;
  ::pclose(out);
  return text;
}

void WriteFile(const fs::path& file, const std::string& text) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << text;
}

// The window manager without a single key or mouse binding: a press that misses the window
// opens no desktop menu, whose entries start programs.
void WriteBareWindowManagerConfig(const fs::path& config_home) {
  WriteFile(config_home / "openbox/rc.xml",
            "<?xml version=\"1.0\"?>\n"
            "<openbox_config xmlns=\"http://openbox.org/3.4/rc\"><keyboard/><mouse/>"
            "</openbox_config>\n");
}

TEST(XvfbSoak, RandomInputForAMinuteLeavesTheProgramRunningAndAnswering) {
  if (!test_support::Desktop::Installed()) {
    GTEST_SKIP() << "needs an X server, a window manager, xdotool and import";
  }
  test_support::DataDir data;
  const fs::path scratch = data.Path().parent_path();
  WriteBareWindowManagerConfig(scratch / "config");
  const char* config_home = std::getenv("XDG_CONFIG_HOME");
  const std::string old_config_home = config_home != nullptr ? config_home : "";
  ::setenv("XDG_CONFIG_HOME", (scratch / "config").c_str(), 1);
  test_support::XvfbSession x;
  const std::string display = x.Start(1024, 768, 24);
  if (config_home != nullptr) {
    ::setenv("XDG_CONFIG_HOME", old_config_home.c_str(), 1);
  } else {
    ::unsetenv("XDG_CONFIG_HOME");
  }
  const std::string shot = (scratch / "screen.ppm").string();
  const std::string log = (scratch / "program.log").string();
  // The web pages go to a stand-in that only notes them.
  WriteFile(scratch / "browser/xdg-open",
            "#!/bin/sh\necho \"$1\" >> '" + (scratch / "opened.log").string() + "'\n");
  fs::permissions(scratch / "browser/xdg-open", fs::perms::owner_all);

  const std::string program = (data.Path() / "colouring-book").string();
  const std::string path = (scratch / "browser").string() + ":" + std::getenv("PATH");
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ::setenv("DISPLAY", display.c_str(), 1);
    ::setenv("PATH", path.c_str(), 1);
    ::unsetenv("SDL_VIDEODRIVER");
    ::setenv("CUPS_SERVER", "/nonexistent/cups.sock", 1);  // printing goes nowhere
    ::setenv("SDL_SOUNDFONTS", "/usr/share/sounds/sf2/TimGM6mb.sf2", 1);
    const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(out, STDERR_FILENO);
    ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  // Killed outright: a polite end would unload the window, which opens the maker's page.
  struct Stop {
    pid_t pid;
    ~Stop() {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
    }
  } stop{pid};
  const auto running = [&] { return ::waitpid(pid, nullptr, WNOHANG) == 0; };
  const auto program_log = [&] {
    std::ifstream in(log);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };

  std::string window;
  for (auto until = std::chrono::steady_clock::now() + 60s;
       window.empty() && std::chrono::steady_clock::now() < until && running();
       std::this_thread::sleep_for(250ms)) {
    const std::string found = Output(display, "xdotool search --name 'Colouring Book'");
    window = found.substr(0, found.find('\n'));
  }
  ASSERT_FALSE(window.empty()) << "the window never came up\n" << program_log();
  // Start-up waits twice three seconds before the window takes the screen.
  std::this_thread::sleep_for(7s);
  int brought_back = 0;
  const auto bring_back = [&] {
    if (Output(display, "xprop -id " + window + " WM_STATE").find("Iconic") == std::string::npos) {
      return;
    }
    ++brought_back;
    RunOn(display, {"xdotool", "windowactivate", "--sync", window, "sleep", "0.5"});
  };

  std::mt19937 dice(31337);
  const char* seconds = std::getenv("XVFB_SOAK_SECONDS");
  const auto until =
      std::chrono::steady_clock::now() + std::chrono::seconds(seconds ? std::atol(seconds) : 60);
  while (std::chrono::steady_clock::now() < until) {
    ASSERT_GE(RunOn(display, RandomBatch(dice, 10)), 0) << "the input tool hung";
    ASSERT_TRUE(running()) << "the program ended\n" << program_log();
    bring_back();
  }
  std::this_thread::sleep_for(4s);  // a wipe or a print notice may still be under way
  ASSERT_TRUE(running()) << program_log();
  RecordProperty("brought_back_after_web_link", brought_back);

  for (const int* p : {kNo, kClose, kNo, kBack}) {
    bring_back();
    ASSERT_EQ(RunOn(display, {"xdotool", "mousemove", std::to_string(p[0]), std::to_string(p[1]),
                              "click", "1", "sleep", "0.5"}),
              0);
  }
  bring_back();
  // A right click on the canvas gives it the keys and fills nothing.
  ASSERT_EQ(RunOn(display, {"xdotool", "mousemove", "40", "40", "click", "3", "sleep", "1"}), 0);
  const auto before = Screenshot(display, shot);
  ASSERT_EQ(RunOn(display, {"xdotool", "key", "ctrl+x", "sleep", "1"}), 0);
  const auto dialog = Screenshot(display, shot);
  ASSERT_EQ(RunOn(display, {"xdotool", "mousemove", std::to_string(kNo[0]), std::to_string(kNo[1]),
                            "click", "1", "sleep", "1"}),
            0);
  const auto after = Screenshot(display, shot);

  ASSERT_TRUE(running()) << program_log();
  EXPECT_GT(ChangedPixels(before, dialog, kExitDialog), kExitDialog.w * kExitDialog.h / 2)
      << "Ctrl+X showed no exit dialog";
  EXPECT_GT(ChangedPixels(dialog, after, kExitDialog), kExitDialog.w * kExitDialog.h / 2)
      << "No did not take the exit dialog away";
}

}  // namespace
}  // namespace robustness
