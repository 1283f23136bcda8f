// A window manager that keeps the program's window off the screen as it starts (minimised,
// or on another desktop): the rest of the desktop keeps its keyboard, the program says so in
// one line, and the keyboard is the program's again once its window is shown.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>

#include "app_fixture.h"
#include "desktop.h"
#include "processes.h"
#include "temp_folder.h"
#include "xvfb_session.h"
// Last: Xlib's macros would change the names above.
#include <X11/Xlib.h>

namespace panels_test {
namespace {

using namespace std::chrono_literals;
using test_support::Started;
using test_support::WaitFor;

struct OffScreenRule {
  const char* name;
  const char* rule;  // what the window manager's rule does to the program's window
};
void PrintTo(const OffScreenRule& rule, std::ostream* out) { *out << rule.name; }

std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// Whether a client of the test's own can take the keyboard: nobody else holds it.
bool KeyboardFree(const std::string& display) {
  Display* d = XOpenDisplay(display.c_str());
  if (d == nullptr) return false;
  const bool free = XGrabKeyboard(d, DefaultRootWindow(d), False, GrabModeAsync, GrabModeAsync,
                                  CurrentTime) == GrabSuccess;
  XUngrabKeyboard(d, CurrentTime);
  XCloseDisplay(d);
  return free;
}

class ProgramKeptOffScreen : public ::testing::TestWithParam<OffScreenRule> {
 protected:
  void SetUp() override {
    if (!test_support::Desktop::Installed() || !test_support::OnPath("xev")) {
      GTEST_SKIP() << "needs Xvfb, openbox, xdotool, xev and ImageMagick's import";
    }
    const std::filesystem::path config = folder_.path() / "rc.xml";
    std::ofstream(config) << "<?xml version=\"1.0\"?>\n"
                          << "<openbox_config xmlns=\"http://openbox.org/3.4/rc\">\n"
                          << "  <desktops><number>2</number></desktops>\n"
                          << "  <applications><application title=\"Colouring Book\">"
                          << GetParam().rule << "</application></applications>\n"
                          << "</openbox_config>\n";
    desktop_ = std::make_unique<test_support::Desktop>(x_.Start(1024, 768, 24, config.string()));
  }

  std::string X(const std::vector<std::string>& arguments) { return desktop_->Tool(arguments).out; }
  std::string FirstId(const std::string& ids) {
    std::string id;
    std::istringstream(ids) >> id;
    return id;
  }
  bool Viewable(const std::string& window) {
    return X({"xwininfo", "-id", window}).find("IsViewable") != std::string::npos;
  }

  test_support::TempFolder folder_;
  test_support::DataDir data_;
  test_support::XvfbSession x_;
  std::unique_ptr<test_support::Desktop> desktop_;
};

TEST_P(ProgramKeptOffScreen, TheDesktopKeepsItsKeyboardUntilTheWindowIsShown) {
  const test_support::Environment on_display = {{"DISPLAY", desktop_->display()},
                                                {"SDL_VIDEODRIVER", std::nullopt},
                                                {"CUPS_SERVER", "/nonexistent/cups.sock"}};
  const std::filesystem::path typed = folder_.path() / "typed.log";
  Started other({"xev", "-name", "another-program"}, on_display, typed.string());
  std::string other_window;
  ASSERT_TRUE(WaitFor(
      [&] {
        return !(other_window = FirstId(X({"xdotool", "search", "--name", "^another-program$"})))
                    .empty();
      },
      20s));

  const std::filesystem::path log = folder_.path() / "program.log";
  Started program({data_.File("colouring-book").string()}, on_display, log.string());
  std::string window;
  ASSERT_TRUE(WaitFor(
      [&] {
        return !(window = FirstId(X({"xdotool", "search", "--name", "^Colouring Book$"}))).empty();
      },
      60s))
      << "the program made no window";

  // Said once the moment of holding it while the window appears is over.
  const std::string said = "the keyboard is left to the desktop until it is shown";
  EXPECT_TRUE(WaitFor([&] { return ReadAll(log).find(said) != std::string::npos; }, 60s))
      << "the program did not say that it let the keyboard go; it said:\n"
      << ReadAll(log);

  // The rest of the desktop has its keyboard: keys typed into another program reach it.
  EXPECT_TRUE(WaitFor([&] { return KeyboardFree(desktop_->display()); }, 20s))
      << "the program holds the keyboard with nothing of it on screen";
  X({"xdotool", "windowactivate", "--sync", other_window});
  X({"xdotool", "type", "--delay", "50", "qz"});
  EXPECT_TRUE(
      WaitFor([&] { return ReadAll(typed).find("(keysym 0x7a, z)") != std::string::npos; }, 10s))
      << "the keys typed into another program did not reach it";
  EXPECT_FALSE(Viewable(window)) << "the rule did not keep the window off the screen";
  ASSERT_TRUE(program.Running());

  // Shown, the window takes the keyboard.
  X({"xdotool", "windowactivate", window});
  EXPECT_TRUE(WaitFor([&] { return Viewable(window); }, 20s)) << "the window was not shown";
  EXPECT_TRUE(WaitFor([&] { return !KeyboardFree(desktop_->display()); }, 20s))
      << "the shown window did not take the keyboard";
  ASSERT_TRUE(program.Running());
  EXPECT_EQ(Count(ReadAll(log), said), 1u) << ReadAll(log);
}

INSTANTIATE_TEST_SUITE_P(Rules, ProgramKeptOffScreen,
                         testing::Values(OffScreenRule{"Minimised", "<iconic>yes</iconic>"},
                                         OffScreenRule{"OnAnotherDesktop", "<desktop>2</desktop>"}),
                         [](const testing::TestParamInfo<OffScreenRule>& info) {
                           return info.param.name;
                         });

}  // namespace
}  // namespace panels_test
