#include "platform/shell.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

// A program that writes down its arguments, parent and session (read past its name, which
// may have spaces), then stays until released,
// so a caller that waited for it would never return.
const char* const kRecorder = R"(#!/bin/sh
folder=$(dirname "$0")
{ echo "$*"; sed 's/.*) //' /proc/$$/stat | awk '{print $2, $4}'; } > "$folder/record.tmp"
mv "$folder/record.tmp" "$folder/record"
while [ ! -e "$folder/release" ]; do sleep 0.02; done
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
    if (recorded_pid_ > 0) {
      // Reaped by the layer, not by us: wait until it is gone, ending it if it hangs.
      const auto deadline = std::chrono::steady_clock::now() + 3s;
      while (::kill(recorded_pid_, 0) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
          ::kill(recorded_pid_, SIGKILL);
          break;
        }
        std::this_thread::sleep_for(10ms);
      }
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
  };
  Record WaitForRecord() {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!fs::exists(folder_ / "record") && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(10ms);
    }
    std::ifstream in(folder_ / "record");
    Record r;
    std::getline(in, r.arguments);
    in >> r.parent >> r.session;
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
  EXPECT_EQ(r.parent, ::getpid());
}

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
