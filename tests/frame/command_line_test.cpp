// The command line is answered before any window opens: usage and version on request, anything
// else refused, and a desktop without a display is told so at once instead of getting an
// invisible program.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "frame_fixture.h"
#include "processes.h"

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

}  // namespace
}  // namespace frame_test
