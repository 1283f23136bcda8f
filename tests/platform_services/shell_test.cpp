#include "platform/shell.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/failure.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A program that writes down its arguments, parent, session and its parent's parent (read
// past the names, which may have spaces).
const std::string kRecord = R"(#!/bin/sh
folder=$(dirname "$0")
{ echo "$*"; sed 's/.*) //' /proc/$$/stat | awk '{print $2, $4}'
  sed 's/.*) //' /proc/$PPID/stat | awk '{print $2}'; } > "$folder/record.tmp"
mv "$folder/record.tmp" "$folder/record"
)";
// One that then stays until released, so a caller that waited for it would never return.
const std::string kRecorder = kRecord + R"(while [ ! -e "$folder/release" ]; do sleep 0.02; done
)";

class ShellTest : public testing::Test {
 protected:
  void SetUp() override {
    old_path_ = std::getenv("PATH");
    ::setenv("PATH", (folder_.path().string() + ":" + old_path_).c_str(), 1);
  }
  void TearDown() override {
    ::setenv("PATH", old_path_.c_str(), 1);
    std::ofstream(folder_ / "release");
    if (recorded_pid_ > 0) WaitUntilGone(recorded_pid_);
  }

  // Reaped by the layer, not by us: waits until it is gone, ending it if it hangs.
  static void WaitUntilGone(pid_t pid) {
    const auto deadline = std::chrono::steady_clock::now() + 3s;
    while (::kill(pid, 0) == 0) {
      if (std::chrono::steady_clock::now() > deadline) {
        ::kill(pid, SIGKILL);
        break;
      }
      std::this_thread::sleep_for(10ms);
    }
  }

  std::string Program(const std::string& name, const std::string& text, mode_t mode = 0755) {
    const std::string path = folder_ / name;
    std::ofstream(path) << text;
    ::chmod(path.c_str(), mode);
    return path;
  }

  struct Record {
    std::string arguments;
    pid_t parent = 0;
    pid_t session = 0;
    pid_t grandparent = 0;
  };
  Record WaitForRecord() {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!fs::exists(folder_ / "record") && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(10ms);
    }
    std::ifstream in(folder_ / "record");
    Record r;
    std::getline(in, r.arguments);
    in >> r.parent >> r.session >> r.grandparent;
    if (r.session > 0) recorded_pid_ = r.session;  // a session leader's pid is its session id
    return r;
  }

  test_support::TempFolder folder_;
  std::string old_path_;
  pid_t recorded_pid_ = -1;
};

TEST_F(ShellTest, ShellExecuteHandsTheAddressToTheDefaultHandlerDetached) {
  Program("xdg-open", kRecorder);
  const std::intptr_t result = platform::ShellExecuteA(
      nullptr, nullptr, "https://example.org/a?b=c", nullptr, nullptr, platform::SW_SHOWNORMAL);
  EXPECT_GT(result, 32);
  const Record r = WaitForRecord();
  EXPECT_EQ(r.arguments, "https://example.org/a?b=c");
  EXPECT_NE(r.session, ::getsid(0)) << "the handler shares our session";
  // Under a go-between of ours, which leads the handler's session.
  EXPECT_EQ(r.grandparent, ::getpid());
  EXPECT_EQ(r.parent, r.session);
}

// Whatever the handler says is its own business; that it failed is told in one line, ours.
struct Opener {
  const char* name;
  int status;  // -1: there is none on PATH
  const char* told;
};

class OpenerOutputTest : public ShellTest, public testing::WithParamInterface<Opener> {};

TEST_P(OpenerOutputTest, KeepsTheHandlersOutputOffOursAndTellsItsFailureInOneLine) {
  const Opener& opener = GetParam();
  if (opener.status < 0) {
    ::setenv("PATH", folder_.path().c_str(), 1);
  } else {
    Program("xdg-open", kRecord + "echo 'junk on stdout'\n" +
                            "echo 'x-www-browser: Permission denied' >&2\n" +
                            "echo '/usr/bin/firefox: not found' >&2\nexit " +
                            std::to_string(opener.status) + "\n");
  }
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  platform::ShellExecuteA(nullptr, nullptr, "https://example.org", nullptr, nullptr, 1);
  if (opener.status >= 0) {
    // The leader of the handler's session has said all it will once it is gone.
    const pid_t leader = WaitForRecord().session;
    if (leader > 0 && leader != ::getpid()) WaitUntilGone(leader);
  }
  const std::string on_stdout = testing::internal::GetCapturedStdout();
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(on_stdout, "");
  if (*opener.told == '\0') {
    EXPECT_EQ(said, "");
  } else {
    EXPECT_EQ(said.rfind("colouring-book: the page https://example.org was not opened: ", 0), 0u)
        << said;
    EXPECT_NE(said.find(opener.told), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(said.back(), '\n') << said;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Openers, OpenerOutputTest,
    testing::Values(Opener{"Succeeds", 0, ""}, Opener{"Fails", 1, "xdg-open ended with status 1"},
                    Opener{"FailsOtherwise", 4, "xdg-open ended with status 4"},
                    Opener{"IsMissing", -1, "no xdg-open on PATH"}),
    [](const testing::TestParamInfo<Opener>& info) { return std::string(info.param.name); });

TEST_F(ShellTest, ShellExecuteWithUnknownVerbOrNoHandlerReportsIt) {
  EXPECT_EQ(platform::ShellExecuteA(nullptr, "print", "https://example.org", nullptr, nullptr, 1),
            31);
  ::setenv("PATH", folder_.path().c_str(), 1);  // no handler anywhere on PATH
  EXPECT_LE(platform::ShellExecuteA(nullptr, nullptr, "https://example.org", nullptr, nullptr, 1),
            32);
}

// The whole path is the program, spaces and all: no argument comes from it.
TEST_F(ShellTest, ShellStartsExactlyTheNamedProgramAndReapsIt) {
  const std::string recorder = Program("the recorder", kRecorder);
  const double task = platform::Shell(recorder, 1);
  const Record r = WaitForRecord();
  EXPECT_EQ(r.arguments, "");
  EXPECT_EQ(static_cast<pid_t>(task), r.session);
  EXPECT_NE(r.session, ::getsid(0));

  std::ofstream(folder_ / "release");
  std::string state;
  for (auto deadline = std::chrono::steady_clock::now() + 3s;
       std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(10ms)) {
    std::ifstream stat("/proc/" + std::to_string(r.session) + "/stat");
    if (!stat) break;  // ended and reaped
    std::string skip;
    stat >> skip >> skip >> state;
  }
  EXPECT_FALSE(fs::exists("/proc/" + std::to_string(r.session))) << "left as state " << state;
}

// A program at a prefix of a path with a space in it is a decoy: it never runs, whether the
// named program is missing or not executable.
TEST_F(ShellTest, ShellOfAMissingOrNonExecutableProgramFailsAndStartsNothing) {
  const char* const kDecoy = "#!/bin/sh\ntouch \"$(dirname \"$0\")/decoy-ran\"\n";
  Program("missing", kDecoy);
  Program("plain", kDecoy);
  const std::string plain = Program("plain file", "#!/bin/sh\n", 0644);
  EXPECT_THROW(platform::Shell(folder_ / "missing with arguments", 1), platform::RuntimeError);
  EXPECT_THROW(platform::Shell(plain, 1), platform::RuntimeError);
  EXPECT_THROW(platform::Shell(folder_.path(), 1), platform::RuntimeError);
  EXPECT_THROW(platform::Shell("", 1), platform::RuntimeError);
  EXPECT_THROW(platform::Shell(" ", 1), platform::RuntimeError);
  std::this_thread::sleep_for(200ms);
  EXPECT_FALSE(fs::exists(folder_ / "decoy-ran")) << "a program at a prefix of the path ran";
}

}  // namespace
