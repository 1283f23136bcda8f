// The real program measured from outside: started on a private X display with a window
// manager, driven with xdotool, its CPU time read from /proc between the events sent.
//   program_on_screen [--quick] [program]
// The program is the one built beside this tool unless another is named (to compare builds;
// it must lie in the same folder, beside the data set).
// Prints the median over several rounds of: CPU per pointer move over the background, per
// palette click, per gallery step (open or back), the CPU share while idle, and how long the
// hover picture of a palette button takes to appear after a burst of pointer moves.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "desktop.h"
#include "image.h"
#include "processes.h"
#include "xvfb_session.h"

namespace {

using namespace test_support;
using Clock = std::chrono::steady_clock;

struct At {
  int x, y;
};
constexpr At kBackground{800, 150}, kGalleryButton{911, 325}, kBack{126, 20};
constexpr At kPaletteClicked{93 + 40, 717};
// A palette button that is never clicked, so that it always has a hover picture.
constexpr At kPaletteHovered{513, 675};
constexpr const char* kHoverPicture = "BOJE2_07.JPG";
constexpr const char* kRestingPicture = "BOJE1_07.JPG";

// The program's CPU time in milliseconds, all its threads, as the kernel accounts it.
double CpuMs(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto name_end = stat.rfind(')');
  if (name_end == std::string::npos) throw std::runtime_error("the program is gone");
  std::istringstream fields(stat.substr(name_end + 2));
  std::vector<std::string> f;
  for (std::string s; fields >> s;) f.push_back(s);
  // Fields from the state (the third) on: utime and stime are the 14th and 15th.
  const double ticks = std::stod(f.at(11)) + std::stod(f.at(12));
  return ticks * 1000.0 / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

// The same to the nanosecond, from the scheduler's figures of the threads alive now: clock
// ticks are too coarse for a few seconds of idling.
double CpuNs(pid_t pid) {
  const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
  DIR* dir = ::opendir(tasks.c_str());
  if (dir == nullptr) throw std::runtime_error("the program is gone");
  double total = 0;
  while (const dirent* entry = ::readdir(dir)) {
    if (entry->d_name[0] == '.') continue;
    std::ifstream in(tasks + "/" + entry->d_name + "/schedstat");
    double ns = 0;
    if (in >> ns) total += ns;
  }
  ::closedir(dir);
  return total;
}

// Waits until the program has used (almost) no CPU for a while: what was sent is handled.
void Settle(pid_t pid) {
  const auto deadline = Clock::now() + std::chrono::seconds(120);
  double last = CpuNs(pid);
  int quiet = 0;
  while (quiet < 4 && Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const double now = CpuNs(pid);
    quiet = (now - last < 0.5e6) ? quiet + 1 : 0;
    last = now;
  }
}

// Reads parts of the screen straight from the X server, far faster than a screenshot tool,
// so that polling for a picture does not blur the time it appears.
class Screen {
 public:
  explicit Screen(const std::string& display) : display_(XOpenDisplay(display.c_str())) {
    if (display_ == nullptr) throw std::runtime_error("cannot open display " + display);
  }
  ~Screen() { XCloseDisplay(display_); }
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  Image Grab(int left, int top, int width, int height) {
    XImage* x =
        XGetImage(display_, DefaultRootWindow(display_), left, top, static_cast<unsigned>(width),
                  static_cast<unsigned>(height), AllPlanes, ZPixmap);
    Image image;
    if (x == nullptr) return image;
    image.width = width;
    image.height = height;
    image.rgb.resize(static_cast<std::size_t>(width) * height * 3);
    std::size_t i = 0;
    for (int y = 0; y < height; ++y) {
      for (int xx = 0; xx < width; ++xx) {
        const unsigned long p = XGetPixel(x, xx, y);
        image.rgb[i++] = static_cast<std::uint8_t>((p & x->red_mask) >> 16);
        image.rgb[i++] = static_cast<std::uint8_t>((p & x->green_mask) >> 8);
        image.rgb[i++] = static_cast<std::uint8_t>(p & x->blue_mask);
      }
    }
    XDestroyImage(x);
    return image;
  }

 private:
  Display* display_;
};

// xdotool arguments that step the pointer by (dx, dy).
void AddStep(std::vector<std::string>& args, int dx, int dy) {
  args.insert(args.end(), {"mousemove_relative", "--", std::to_string(dx), std::to_string(dy)});
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

class Bench {
 public:
  Bench(const std::string& display, pid_t pid, const std::string& picture_dir)
      : display_(display), pid_(pid), screen_(display) {
    hover_ = ReadPicture(picture_dir + "/" + kHoverPicture);
    resting_ = ReadPicture(picture_dir + "/" + kRestingPicture);
  }

  void Xdotool(std::vector<std::string> args) {
    args.insert(args.begin(), "xdotool");
    const Outcome done = RunTool(args, {{"DISPLAY", display_}}, std::chrono::seconds(120));
    if (done.status != 0) throw std::runtime_error("xdotool failed");
  }

  void MoveTo(At to) {
    std::vector<std::string> args;
    AddStep(args, to.x - at_.x, to.y - at_.y);
    at_ = to;
    Xdotool(args);
  }

  // CPU per event of the xdotool commands, measured from a quiet program to a quiet program.
  double CpuPerEvent(const std::vector<std::string>& args, int events) {
    Settle(pid_);
    const double before = CpuMs(pid_);
    Xdotool(args);
    Settle(pid_);
    return (CpuMs(pid_) - before) / events;
  }

  // Moves paced a little apart, so that each one reaches the program as a move of its own.
  double PointerMoves(int count) {
    MoveTo(kBackground);
    std::vector<std::string> args;
    for (int i = 0; i < count; ++i) {
      AddStep(args, i % 2 == 0 ? 1 : -1, 0);
      args.insert(args.end(), {"sleep", "0.002"});
    }
    return CpuPerEvent(args, count);
  }

  double PaletteClicks(int count) {
    MoveTo(kPaletteClicked);
    std::vector<std::string> args;
    for (int i = 0; i < count; ++i) args.insert(args.end(), {"click", "1"});
    return CpuPerEvent(args, count);
  }

  // Open and back, each a click after a move onto its button.
  double GallerySteps(int pairs) {
    MoveTo(kGalleryButton);
    std::vector<std::string> args;
    for (int i = 0; i < pairs; ++i) {
      args.insert(args.end(), {"click", "1"});
      AddStep(args, kBack.x - kGalleryButton.x, kBack.y - kGalleryButton.y);
      args.insert(args.end(), {"click", "1"});
      AddStep(args, kGalleryButton.x - kBack.x, kGalleryButton.y - kBack.y);
    }
    return CpuPerEvent(args, 2 * pairs);
  }

  double IdlePercent(std::chrono::milliseconds stretch) {
    MoveTo(kBackground);
    Settle(pid_);
    const double before = CpuNs(pid_);
    const auto started = Clock::now();
    std::this_thread::sleep_for(stretch);
    const double elapsed_ns =
        std::chrono::duration<double, std::nano>(Clock::now() - started).count();
    return 100.0 * (CpuNs(pid_) - before) / elapsed_ns;
  }

  // Milliseconds from sending the move onto the palette button to its hover picture on the
  // screen; -1 when it did not appear within ten seconds.
  double HoverAfterBurst(int burst) {
    MoveTo(kBackground);
    Settle(pid_);
    if (!Shows(resting_)) throw std::runtime_error("the palette button is not at rest");
    std::vector<std::string> args;
    for (int i = 0; i < burst; ++i) AddStep(args, i % 2 == 0 ? 1 : -1, 0);
    Xdotool(args);
    const auto sent = Clock::now();
    MoveTo({kPaletteHovered.x + 40, kPaletteHovered.y + 40});
    while (Clock::now() - sent < std::chrono::seconds(10)) {
      if (Shows(hover_)) {
        return std::chrono::duration<double, std::milli>(Clock::now() - sent).count();
      }
    }
    return -1;
  }

  bool Shows(const Image& picture) {
    const Image shot =
        screen_.Grab(kPaletteHovered.x, kPaletteHovered.y, picture.width, picture.height);
    return shot.width > 0 && Likeness(shot, 0, 0, picture) > 0.9;
  }

 private:
  std::string display_;
  pid_t pid_;
  Screen screen_;
  Image hover_, resting_;
  At at_ = kBackground;
};

}  // namespace

int main(int argc, char** argv) {
  const bool quick = argc > 1 && std::string(argv[1]) == "--quick";
  const std::string program_path = argc > 1 + quick ? argv[1 + quick] : PROGRAM_PATH;
  for (const char* tool : {"xdotool", "convert"}) {
    if (!OnPath(tool)) {
      std::printf("program on screen: skipped, %s is not installed\n", tool);
      return 0;
    }
  }
  if (!XvfbSession::Installed()) {
    std::printf("program on screen: skipped, Xvfb or openbox is not installed\n");
    return 0;
  }
  const int rounds = quick ? 3 : 7;
  const int moves = quick ? 600 : 1500, clicks = quick ? 60 : 150, pairs = quick ? 8 : 20;
  const auto idle = std::chrono::milliseconds(quick ? 4000 : 10000);
  constexpr int kBurst = 2000;

  try {
    XvfbSession x;
    const std::string display = x.Start(1024, 768, 24);
    TempFolder temp;
    RecordingBrowser browser(temp.path() / "browser");
    RunTool({"xdotool", "mousemove", std::to_string(kBackground.x), std::to_string(kBackground.y)},
            {{"DISPLAY", display}});
    Started program({program_path},
                    {{"DISPLAY", display},
                     {"SDL_VIDEODRIVER", std::nullopt},
                     {"SDL_AUDIODRIVER", "dummy"},
                     {"CUPS_SERVER", "/nonexistent/cups.sock"},
                     {"PATH", browser.folder().string() + ":" + std::getenv("PATH")}},
                    (temp.path() / "program.log").string());
    // Both start-up waits, then the main screen.
    std::this_thread::sleep_for(std::chrono::milliseconds(7000));
    Bench bench(display, program.pid(), std::string(APP_DIR) + "/PICTURE");
    Settle(program.pid());
    if (!program.Running()) throw std::runtime_error("the program ended during start-up");

    std::vector<double> move_ms, click_ms, gallery_ms, idle_pc, hover_ms;
    for (int r = 0; r < rounds; ++r) {
      move_ms.push_back(bench.PointerMoves(moves));
      click_ms.push_back(bench.PaletteClicks(clicks));
      gallery_ms.push_back(bench.GallerySteps(pairs));
      idle_pc.push_back(bench.IdlePercent(idle));
      hover_ms.push_back(bench.HoverAfterBurst(kBurst));
    }
    program.Stop(std::chrono::seconds(5));

    const auto line = [&](const char* what, const std::vector<double>& v, const char* unit) {
      std::printf("%-60s %10.3f %s\n", what, Median(v), unit);
    };
    line("OnScreen/PointerMoveOverBackground (CPU per move)", move_ms, "ms");
    line("OnScreen/PaletteClick (CPU per click)", click_ms, "ms");
    line("OnScreen/GalleryOpenOrBack (CPU per step)", gallery_ms, "ms");
    line("OnScreen/Idle (CPU share)", idle_pc, "%");
    line("OnScreen/HoverAfterBurstOf2000Moves", hover_ms, "ms");
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "program on screen: %s\n", failure.what());
    return 1;
  }
  return 0;
}
