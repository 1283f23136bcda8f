// The program as a desktop session starts it: on GNOME's compositor (mutter nested on a
// private X server, with its Xwayland), and with a display that does not answer. It runs
// from the build's own folder; keys are typed and shots taken on the X server mutter is
// nested in, so that they reach the compositor as a user's would.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "desktop.h"
#include "image.h"
#include "nested_compositor.h"
#include "point.h"
#include "processes.h"
#include "temp_folder.h"

namespace {

using namespace test_support;
namespace fs = std::filesystem;

constexpr int kOutputWidth = 1920, kOutputHeight = 1080;
constexpr int kWidth = 1024, kHeight = 768;  // the program's own
// Where the program's pictures lie in its own pixels.
constexpr Point kMoreImages{832, 241}, kPanel{312, 259}, kYes{421, 434};
// The desktop's keys that must not reach the compositor while the program runs.
const std::vector<std::string> kDesktopKeys = {"alt+F4", "super+h", "alt+Tab"};
// How long the compositor is given to act on a key: the control run shows it does in less.
constexpr auto kKeyTakesEffect = 3s;

fs::path AppFile(const std::string& relative) { return fs::path(COLOURING_APP_DIR) / relative; }

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A compositor of its own, and the program started from its session.
class CompositorSession : public ::testing::Test {
 protected:
  void StartCompositor(NestedCompositor::Kind kind) {
    if (!NestedCompositor::Installed(kind)) GTEST_SKIP() << "the compositor is not installed";
    for (const char* tool : {"xdotool", "import", "xprop", "xmessage"}) {
      if (!OnPath(tool)) GTEST_SKIP() << tool << " is not installed";
    }
    compositor_.Start(kind, temp_.path(), kOutputWidth, kOutputHeight);
    host_ = std::make_unique<Desktop>(compositor_.host(), kOutputWidth / 2, kOutputHeight / 2);
  }

  // Starts the program as the session would; its output and errors go to log().
  std::unique_ptr<Started> StartProgram(bool wayland_only) {
    Environment changes = compositor_.Session(wayland_only);
    changes["SDL_VIDEODRIVER"] = std::nullopt;  // the session's own
    changes["PATH"] = browser_.folder().string() + ":" + std::getenv("PATH");
    changes["XDG_DATA_HOME"] = (temp_.path() / "user-data").string();
    changes["CUPS_SERVER"] = "/nonexistent/cups.sock";
    // The graphics stack unloads its drivers as the program ends, and what they still held
    // can then be traced to no library at all: a sanitizer build looks for leaks in the
    // program's own tests instead. Its other checks stay on.
    const char* asan = std::getenv("ASAN_OPTIONS");
    changes["ASAN_OPTIONS"] = std::string(asan != nullptr ? asan : "") + ":detect_leaks=0";
    return std::make_unique<Started>(std::vector<std::string>{AppFile("colouring-book").string()},
                                     changes, log().string());
  }
  fs::path log() const { return temp_.path() / "program.log"; }
  bool WaitUntilPictureShown() { return WaitUntilShown(kMoreImages, more_images_, true, 40s); }

  // The output in the program's own pixels, as the compositor scales them onto it.
  Image ProgramShot() const {
    const std::string size = std::to_string(kWidth) + "x" + std::to_string(kHeight) + "!";
    return ParsePpm(
        host_->Tool({"import", "-window", "root", "-resize", size, "-depth", "8", "ppm:-"}).out);
  }
  // Whether the shot shows that picture of the program's at that place: scaling blurs edges.
  static bool Shows(const Image& shot, Point at, const Image& picture) {
    return Likeness(shot, at.x, at.y, picture, 40) > 0.8;
  }
  bool WaitUntilShown(Point at, const Image& picture, bool shown, std::chrono::seconds limit) {
    return WaitFor([&] { return Shows(ProgramShot(), at, picture) == shown; }, limit);
  }
  // A point of the program's own pixels on the output.
  void ClickProgram(Point p) {
    host_->Click(p.x * kOutputWidth / kWidth, p.y * kOutputHeight / kHeight);
  }

  TempFolder temp_;
  RecordingBrowser browser_{temp_.path() / "browser"};
  NestedCompositor compositor_;
  std::unique_ptr<Desktop> host_;
  const Image more_images_ = ReadPicture(AppFile("PICTURE/MOREIMAGES1.JPG"));
};

class GnomeSession : public CompositorSession {
 protected:
  void SetUp() override { StartCompositor(NestedCompositor::kMutter); }
};

struct Session {
  const char* name;
  bool wayland_only;
};
void PrintTo(const Session& session, std::ostream* out) { *out << session.name; }

class ProgramInGnomeSession : public GnomeSession, public ::testing::WithParamInterface<Session> {};

TEST_P(ProgramInGnomeSession, IsShownHoldsTheDesktopsKeysAndLeavesOnYes) {
  const std::unique_ptr<Started> program = StartProgram(GetParam().wayland_only);
  ASSERT_TRUE(WaitUntilPictureShown()) << "the program's picture is not on the output; it said:\n"
                                       << ReadFile(log());
  for (const std::string& key : kDesktopKeys) {
    host_->Keys(key);
    std::this_thread::sleep_for(kKeyTakesEffect);
    ASSERT_TRUE(program->Running()) << key << " ended the program";
    EXPECT_TRUE(Shows(ProgramShot(), kMoreImages, more_images_)) << key << " took the picture away";
  }
  EXPECT_TRUE(browser_.Addresses().empty()) << "a close request reached the program";

  // The program's own way out, with a click placed on the scaled picture.
  host_->Keys("ctrl+x");
  const Image panel = ReadPicture(AppFile("PICTURE/CTRLX.JPG")).Part(0, 0, 300, 120);
  ASSERT_TRUE(WaitUntilShown(kPanel, panel, true, 10s)) << "no exit dialog";
  ClickProgram(kYes);
  EXPECT_TRUE(program->WaitForExit(15s).has_value()) << "Yes did not end the program; it said:\n"
                                                     << ReadFile(log());
  EXPECT_TRUE(WaitUntilShown(kMoreImages, more_images_, false, 10s))
      << "the output still shows the program";
  for (const std::string& line : Lines(ReadFile(log()))) {
    EXPECT_EQ(line.find("shortcuts stay active"), std::string::npos)
        << "mutter grants the keyboard, yet: " << line;
  }
}

INSTANTIATE_TEST_SUITE_P(Sessions, ProgramInGnomeSession,
                         ::testing::Values(Session{"WaylandAndXwayland", false},
                                           Session{"WaylandAlone", true}),
                         [](const auto& info) { return std::string(info.param.name); });

// The control: the same keys typed the same way do reach the compositor, and act on windows
// of programs that do not hold the keyboard.
TEST_F(GnomeSession, TheSameKeysActOnAnotherProgramsWindows) {
  Environment x = compositor_.Session(false);
  Started first({"xmessage", "-name", "first", "first"}, x);
  Started second({"xmessage", "-name", "second", "second"}, x);
  auto root = [&](const std::string& name) { return RunTool({"xprop", "-root", name}, x).out; };
  ASSERT_TRUE(
      WaitFor([&] { return root("_NET_CLIENT_LIST").find(", ") != std::string::npos; }, 20s))
      << "the two windows were not managed";
  std::string active;
  ASSERT_TRUE(WaitFor(
      [&] { return (active = root("_NET_ACTIVE_WINDOW")).find("0x0") == std::string::npos; }, 10s));

  host_->Keys("alt+Tab");
  std::string switched;
  EXPECT_TRUE(
      WaitFor([&] { return (switched = root("_NET_ACTIVE_WINDOW")) != active; }, kKeyTakesEffect))
      << "Alt+Tab moved nothing";
  const std::string window = switched.substr(switched.rfind(' ') + 1);
  host_->Keys("super+h");
  EXPECT_TRUE(WaitFor(
      [&] {
        return RunTool({"xprop", "-id", window, "WM_STATE"}, x).out.find("Iconic") !=
               std::string::npos;
      },
      kKeyTakesEffect))
      << "Super+H did not minimise the active window";
  host_->Keys("alt+F4");
  EXPECT_TRUE(WaitFor([&] { return !first.Running() || !second.Running(); }, kKeyTakesEffect))
      << "Alt+F4 closed neither window";
}

// A compositor that lets no program hold the keyboard: the program is shown all the same, and
// says once that the desktop's own shortcuts stay active.
class WestonSession : public CompositorSession {
 protected:
  void SetUp() override { StartCompositor(NestedCompositor::kWeston); }
};

TEST_F(WestonSession, TheProgramIsShownAndSaysTheShortcutsStayActive) {
  const std::unique_ptr<Started> program = StartProgram(true);
  ASSERT_TRUE(WaitUntilPictureShown()) << "the program's picture is not on the output; it said:\n"
                                       << ReadFile(log());
  auto said = [&] {
    int count = 0;
    for (const std::string& line : Lines(ReadFile(log()))) {
      count += line.starts_with("colouring-book: ") &&
               line.find("shortcuts stay active") != std::string::npos;
    }
    return count;
  };
  EXPECT_TRUE(WaitFor([&] { return said() > 0; }, 10s)) << ReadFile(log());
  EXPECT_EQ(said(), 1) << ReadFile(log());
  EXPECT_TRUE(program->Running());
}

// A display that does not answer is said at once, not run unseen on SDL's offscreen driver.
TEST(DeadDisplay, IsNamedInOneLineAndTheProgramEnds) {
  TempFolder temp;
  const fs::path runtime = temp.path() / "runtime";
  fs::create_directories(runtime);
  const fs::path log = temp.path() / "program.log";
  // No X server listens on so high a number, and the runtime folder holds no Wayland socket.
  Started program({AppFile("colouring-book").string()},
                  {{"DISPLAY", ":4093"},
                   {"WAYLAND_DISPLAY", std::nullopt},
                   {"XDG_RUNTIME_DIR", runtime.string()},
                   {"SDL_VIDEODRIVER", std::nullopt},
                   {"SDL_AUDIODRIVER", "dummy"}},
                  log.string());
  const std::optional<int> status = program.WaitForExit(20s);
  ASSERT_TRUE(status.has_value()) << "the program runs on without a display";
  EXPECT_NE(*status, 0);
  const std::vector<std::string> lines = Lines(ReadFile(log));
  ASSERT_EQ(lines.size(), 1u) << ReadFile(log);
  EXPECT_TRUE(lines[0].starts_with("colouring-book: ")) << lines[0];
  EXPECT_NE(lines[0].find("DISPLAY=:4093"), std::string::npos) << lines[0];
}

}  // namespace
