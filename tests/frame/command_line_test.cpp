// The command line is answered before any window opens: usage and version on request, anything
// else refused, and a desktop without a display is told so at once instead of getting an
// invisible program.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "frame_fixture.h"
#include "processes.h"
#include "temp_folder.h"
#include "xvfb_session.h"

namespace frame_test {
namespace {

using namespace std::chrono_literals;
using test_support::DataDir;
using test_support::Environment;

// No display of any kind: no X, no Wayland, and no driver named outright.
const Environment kNoDisplay{{"DISPLAY", std::nullopt},
                             {"WAYLAND_DISPLAY", std::nullopt},
                             {"SDL_VIDEODRIVER", std::nullopt}};

struct Answer {
  const char* name;
  std::vector<std::string> arguments;
  int status;
  const char* on_stdout;  // a piece of what it prints; empty for nothing at all
};

class CommandLineTest : public testing::TestWithParam<Answer> {};

// Each answer comes within a second, which a start-up with its waits could never do.
TEST_P(CommandLineTest, AnswersWithoutStarting) {
  std::vector<std::string> command{PROGRAM_PATH};
  command.insert(command.end(), GetParam().arguments.begin(), GetParam().arguments.end());
  const test_support::Outcome outcome = test_support::RunTool(command, kNoDisplay, 1s);
  EXPECT_EQ(outcome.status, GetParam().status);
  if (*GetParam().on_stdout == '\0') {
    EXPECT_EQ(outcome.out, "");
  } else {
    EXPECT_NE(outcome.out.find(GetParam().on_stdout), std::string::npos) << outcome.out;
  }
}

INSTANTIATE_TEST_SUITE_P(Arguments, CommandLineTest,
                         testing::Values(Answer{"Help", {"--help"}, 0, "Usage: colouring-book"},
                                         Answer{"Version", {"--version"}, 0, "colouring-book "},
                                         Answer{"UnknownOption", {"--fullscreen"}, 2, ""},
                                         Answer{"TwoWords", {"-h", "extra"}, 2, ""},
                                         Answer{"HelpAndVersion", {"--help", "--version"}, 2, ""},
                                         Answer{"NoDisplay", {}, 1, ""}),
                         [](const testing::TestParamInfo<Answer>& info) {
                           return std::string(info.param.name);
                         });

std::string Log(const DataDir& data, const char* name = "program.log") {
  std::ifstream in(data.File(name));
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(CommandLine, RefusalAndMissingDisplayAreExplainedOnStandardError) {
  DataDir data;
  test_support::Started refused({PROGRAM_PATH, "--bogus"}, kNoDisplay,
                                data.File("program.log").string());
  ASSERT_EQ(refused.WaitForExit(1s), 2);
  EXPECT_NE(Log(data).find("Usage: colouring-book"), std::string::npos) << Log(data);

  std::filesystem::remove(data.File("program.log"));
  test_support::Started no_display({PROGRAM_PATH}, kNoDisplay, data.File("program.log").string());
  ASSERT_EQ(no_display.WaitForExit(1s), 1);
  const std::string said = Log(data);
  EXPECT_NE(said.find("display"), std::string::npos) << said;
  EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line: " << said;
}

// Long before the program could say so, the script that installs, builds and starts it tells
// a session without a display, and stops there.
TEST(CommandLine, TheRunScriptTellsAMissingDisplayBeforeInstallingOrBuilding) {
  DataDir data;
  test_support::Started run({"bash", COLOURING_SOURCE_DIR "/scripts/run.sh"}, kNoDisplay,
                            data.File("run.log").string());
  EXPECT_EQ(run.WaitForExit(5s), 1) << Log(data, "run.log");
  const std::string said = Log(data, "run.log");
  EXPECT_EQ(said.find("colouring-book needs a desktop"), 0u) << said;
  EXPECT_NE(said.find("DISPLAY"), std::string::npos) << said;
}

// The run script's checks, on a copy of the scripts whose installer only records that it was
// called: a display that does not answer is told before anything is installed, one that
// answers goes on to the installer.
class RunScript : public testing::Test {
 protected:
  RunScript() {
    const fs::path scripts = folder_.path() / "scripts";
    fs::create_directories(scripts);
    for (const auto& file : fs::directory_iterator(COLOURING_SOURCE_DIR "/scripts")) {
      fs::copy_file(file.path(), scripts / file.path().filename());
    }
    fs::remove(scripts / "install-deps.sh");
    std::ofstream(scripts / "install-deps.sh")
        << "touch \"$(dirname \"$0\")/installing\"\nexit 3\n";
    fs::create_directories(runtime_dir());
  }
  fs::path runtime_dir() const { return folder_.path() / "runtime"; }
  bool Installing() const { return fs::exists(folder_.path() / "scripts" / "installing"); }
  // Runs the copy with these displays ("" for none); its exit status, and what it said.
  std::pair<std::optional<int>, std::string> Run(const std::string& x, const std::string& wayland) {
    Environment changes{{"DISPLAY", std::nullopt},
                        {"WAYLAND_DISPLAY", std::nullopt},
                        {"XDG_RUNTIME_DIR", runtime_dir().string()}};
    if (!x.empty()) changes["DISPLAY"] = x;
    if (!wayland.empty()) changes["WAYLAND_DISPLAY"] = wayland;
    const fs::path log = folder_.path() / "run.log";
    test_support::Started run({"bash", (folder_.path() / "scripts" / "run.sh").string()}, changes,
                              log.string());
    const std::optional<int> status = run.WaitForExit(20s);
    std::ifstream in(log);
    return {status, std::string(std::istreambuf_iterator<char>(in), {})};
  }
  // A socket file at that path; listening for connections, or bound only, as a compositor
  // that went away leaves it.
  int Socket(const fs::path& path, bool listening) {
    const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
    EXPECT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    if (listening) ::listen(s, 4);
    return s;
  }
  // A TCP listener on 127.0.0.1 that never answers, at the port of an X display; gives the
  // display's number.
  int SilentListener(int& number) {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    for (number = 4321; number < 4421; ++number) {
      sockaddr_in address{};
      address.sin_family = AF_INET;
      address.sin_port = htons(static_cast<std::uint16_t>(6000 + number));
      address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
      if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0) break;
    }
    EXPECT_EQ(::listen(s, 4), 0);
    return s;
  }
  // An X display number that no server has.
  static std::string DeadX() {
    int n = 4321;
    const auto socket_of = [](int number) {
      std::ostringstream path;
      path << "/tmp/.X11-unix/X" << number;
      return path.str();
    };
    while (fs::exists(socket_of(n))) ++n;
    std::ostringstream name;
    name << ':' << n;
    return name.str();
  }

  test_support::TempFolder folder_;
};

TEST_F(RunScript, DisplaysThatDoNotAnswerAreToldBeforeInstallingOrBuilding) {
  const int stale = Socket(runtime_dir() / "wayland-stale", false);
  struct Case {
    const char* name;
    std::string x, wayland;
    std::vector<std::string> said;
  };
  const std::string dead_x = DeadX();
  int silent_number = 0;
  const int silent = SilentListener(silent_number);
  std::ostringstream silent_x;
  silent_x << "127.0.0.1:" << silent_number;
  for (const Case& c : {
           Case{"dead X", dead_x, "", {"the X display " + dead_x + " does not answer"}},
           Case{"no Wayland socket", "", "wayland-gone", {"there is no socket"}},
           Case{"a Wayland socket nobody listens on", "", "wayland-stale", {"refuses connections"}},
           Case{"both dead", dead_x, "wayland-gone", {"the X display", "the Wayland display"}},
           Case{"a listener that is no X server", silent_x.str(), "", {"no answer of an X server"}},
       }) {
    SCOPED_TRACE(c.name);
    const auto [status, said] = Run(c.x, c.wayland);
    EXPECT_EQ(status, 1) << said;
    EXPECT_FALSE(Installing()) << said;
    EXPECT_EQ(said.find("colouring-book needs a desktop"), 0u) << said;
    for (const std::string& part : c.said) EXPECT_NE(said.find(part), std::string::npos) << said;
    EXPECT_NE(said.find("nothing was installed or built"), std::string::npos) << said;
  }
  ::close(stale);
  ::close(silent);
}

TEST_F(RunScript, DisplaysThatAnswerGoOnToTheInstaller) {
  if (!test_support::XvfbSession::Installed()) GTEST_SKIP() << "needs Xvfb and openbox";
  test_support::XvfbSession x;
  const std::string live_x = x.Start(640, 480, 24);
  const int compositor = Socket(runtime_dir() / "wayland-live", true);
  struct Case {
    const char* name;
    std::string x, wayland;
  };
  for (const Case& c : {Case{"X", live_x, ""}, Case{"Wayland", "", "wayland-live"},
                        Case{"X with a dead Wayland", live_x, "wayland-gone"},
                        Case{"Wayland with a dead X", DeadX(), "wayland-live"}}) {
    SCOPED_TRACE(c.name);
    fs::remove(folder_.path() / "scripts" / "installing");
    const auto [status, said] = Run(c.x, c.wayland);
    EXPECT_EQ(status, 3) << said;
    EXPECT_TRUE(Installing()) << said;
  }
  ::close(compositor);
}

}  // namespace
}  // namespace frame_test
