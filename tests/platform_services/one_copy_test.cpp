// The lock that keeps one copy per user and display, taken by real processes: each copy is a
// child of the test that takes it as the program does at start-up.
#include "platform/one_copy.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;
using platform::CopyState;
using namespace std::chrono_literals;

struct Place {
  std::optional<std::string> runtime_dir, tmp_dir;
  std::string display;
};

// A copy started as a child: it tells through a pipe the state it got, and a holder then
// listens for later starts and tells of each one it hears in its event loop ('c').
class Copy {
 public:
  Copy(const Place& place, bool hold) {
    int channel[2];
    if (::pipe(channel) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(channel[0]);
      Run(place, hold, channel[1]);
    }
    ::close(channel[1]);
    from_ = channel[0];
  }
  ~Copy() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (from_ >= 0) ::close(from_);
  }

  // The next byte it tells, or 0 when it ended or said nothing in time.
  char Next(std::chrono::seconds limit = 20s) {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(from_, &ready);
    timeval wait{static_cast<time_t>(limit.count()), 0};
    char byte = 0;
    if (::select(from_ + 1, &ready, nullptr, nullptr, &wait) != 1 || ::read(from_, &byte, 1) != 1) {
      return 0;
    }
    return byte;
  }
  CopyState State() { return static_cast<CopyState>(Next() - '0'); }
  void Kill() {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
  pid_t pid() const { return pid_; }

 private:
  [[noreturn]] static void Run(const Place& place, bool hold, int to) {
    ::unsetenv("SDL_VIDEODRIVER");
    ::unsetenv("WAYLAND_DISPLAY");
    ::setenv("DISPLAY", place.display.c_str(), 1);
    if (place.runtime_dir) {
      ::setenv("XDG_RUNTIME_DIR", place.runtime_dir->c_str(), 1);
    } else {
      ::unsetenv("XDG_RUNTIME_DIR");
    }
    if (place.tmp_dir) ::setenv("TMPDIR", place.tmp_dir->c_str(), 1);
    const CopyState state = platform::TakeOneCopy();
    const char told = static_cast<char>('0' + static_cast<int>(state));
    if (::write(to, &told, 1) != 1 || !hold || state != CopyState::kTheOne) ::_exit(0);
    if (SDL_Init(SDL_INIT_EVENTS) != 0) ::_exit(1);
    platform::ListenForSecondStarts();
    for (;;) {
      SDL_Event event;
      if (SDL_WaitEventTimeout(&event, 1000) && event.type == platform::SecondStartEvent()) {
        if (::write(to, "c", 1) != 1) ::_exit(1);
      }
    }
  }

  pid_t pid_ = -1;
  int from_ = -1;
};

std::string Lock(const fs::path& folder, const std::string& key) {
  return (folder / ("colouring-book-" + key + ".lock")).string();
}

TEST(OneCopy, ALaterStartOnTheSameDisplayFindsTheHolderAndItsEventLoopHearsOfIt) {
  test_support::TempFolder runtime;
  const Place here{runtime.path().string(), std::nullopt, ":41"};
  Copy first(here, true);
  ASSERT_EQ(first.State(), CopyState::kTheOne);
  EXPECT_EQ(test_support::ReadAll(Lock(runtime.path(), "x11-_41")),
            std::to_string(first.pid()) + "\n");

  // Another screen of the same display is the same display; another display has its own.
  for (const char* display : {":41", ":41.0", ":41.1"}) {
    Copy second({here.runtime_dir, std::nullopt, display}, false);
    EXPECT_EQ(second.State(), CopyState::kAnotherRuns) << display;
    EXPECT_EQ(first.Next(), 'c') << "the holder did not hear of the start on " << display;
  }
  Copy elsewhere({here.runtime_dir, std::nullopt, ":42"}, false);
  EXPECT_EQ(elsewhere.State(), CopyState::kTheOne);
}

TEST(OneCopy, AKilledHoldersLockNeverBlocksTheNextStart) {
  test_support::TempFolder runtime;
  const Place here{runtime.path().string(), std::nullopt, ":43"};
  Copy killed(here, true);
  ASSERT_EQ(killed.State(), CopyState::kTheOne);
  killed.Kill();
  ASSERT_TRUE(fs::exists(Lock(runtime.path(), "x11-_43"))) << "the file stays; its lock does not";

  Copy next(here, true);
  EXPECT_EQ(next.State(), CopyState::kTheOne);
  Copy after(here, false);
  EXPECT_EQ(after.State(), CopyState::kAnotherRuns);
  EXPECT_EQ(next.Next(), 'c');
}

TEST(OneCopy, WithoutARuntimeFolderTheLockLiesInAFolderOfTheUsersAlone) {
  test_support::TempFolder tmp;
  const Place here{std::nullopt, tmp.path().string(), ":44"};
  Copy first(here, true);
  ASSERT_EQ(first.State(), CopyState::kTheOne);
  const fs::path folder = tmp.path() / ("colouring-book-" + std::to_string(::geteuid()));
  struct stat status {};
  ASSERT_EQ(::lstat(folder.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0700u);
  EXPECT_TRUE(fs::exists(Lock(folder, "x11-_44")));
  Copy second(here, false);
  EXPECT_EQ(second.State(), CopyState::kAnotherRuns);
  EXPECT_EQ(first.Next(), 'c');
  // A runtime folder named but missing is no folder either.
  Copy named_missing({"/nonexistent/runtime", here.tmp_dir, ":44"}, false);
  EXPECT_EQ(named_missing.State(), CopyState::kAnotherRuns);
  EXPECT_EQ(first.Next(), 'c');

  // A folder of that name that others may write in, or a link, is no place for the lock: the
  // program then runs unguarded rather than trusting it.
  test_support::TempFolder shared;
  const fs::path open_folder = shared.path() / ("colouring-book-" + std::to_string(::geteuid()));
  fs::create_directory(open_folder);
  fs::permissions(open_folder, fs::perms::all);
  Copy in_open({std::nullopt, shared.path().string(), ":44"}, false);
  EXPECT_EQ(in_open.State(), CopyState::kUnguarded);
  EXPECT_FALSE(fs::exists(Lock(open_folder, "x11-_44")));
}

}  // namespace
