// The program started as a careless or hostile starter leaves it: standard descriptors
// closed, a file-size limit, a browser that stays long after the program has ended.
#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <fstream>
#include <set>
#include <thread>

#include "program_on_desktop.h"

namespace e2e {
namespace {

// What a process has open: descriptor number to what it names.
std::map<int, std::string> Descriptors(pid_t pid) {
  std::map<int, std::string> open;
  const fs::path folder = "/proc/" + std::to_string(pid) + "/fd";
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    open[std::stoi(entry.path().filename().string())] = fs::read_symlink(entry.path(), ec).string();
  }
  return open;
}

// The processes that run this program file.
std::vector<pid_t> Running(const fs::path& program) {
  std::vector<pid_t> found;
  for (const auto& entry : fs::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::error_code ec;
    if (fs::read_symlink(entry.path() / "exe", ec) == program) found.push_back(std::stoi(name));
  }
  return found;
}

class HostileStart : public ProgramOnDesktop {
 protected:
  // Starts the X display and the installed program through a shell line that prepares what
  // it inherits and then runs it ("$0"), and waits for the main screen.
  void LaunchThrough(const std::string& shell_line) {
    const std::string display = x_.Start(1024, 768, 24);
    desktop_ = std::make_unique<Desktop>(display, kBareWindow.x, kBareWindow.y);
    program_ = std::make_unique<Started>(
        std::vector<std::string>{"/bin/sh", "-c", shell_line, install_->Command().string()},
        Environment{{"DISPLAY", display},
                    {"SDL_VIDEODRIVER", std::nullopt},
                    {"PATH", browser_->folder().string() + ":" + std::getenv("PATH")},
                    {"XDG_DATA_HOME", UserData().string()},
                    {"CUPS_SERVER", "/nonexistent/cups.sock"}},
        Log().string());
    const bool ready = WaitFor(
        [&] {
          const std::vector<std::string> windows = desktop_->Windows("Colouring Book", true);
          if (windows.empty()) return false;
          window_ = windows.front();
          const Image shot = desktop_->TryShot();
          return shot.width > 0 &&
                 ShownAt(shot, {832, 241}, {"MOREIMAGES1.JPG"}) == "MOREIMAGES1.JPG" &&
                 desktop_->Property(window_, "_NET_WM_STATE").find("FULLSCREEN") !=
                     std::string::npos;
        },
        40s);
    ASSERT_TRUE(program_->Running()) << "the program ended during start-up: " << ReadAll(Log());
    ASSERT_TRUE(ready) << "no main screen after start-up";
    // The second wait of start-up is over once the main screen has been up for a while.
    std::this_thread::sleep_for(4s);
  }
  fs::path Log() const { return temp_.path() / "program.log"; }
  // Ctrl+X and Yes: the program must then end by itself, as it always does.
  void LeaveWithYes() {
    desktop().Keys("ctrl+x");
    ASSERT_TRUE(WaitForPanel("CTRLX.JPG", true)) << "no exit dialog: the program does not answer";
    desktop().Click(kYes.x, kYes.y);
    EXPECT_EQ(program_->WaitForExit(20s), 0) << "the program did not end by itself";
  }
};

// Which standard descriptors the starter closed.
struct Closed {
  const char* name;
  const char* shell_line;
  bool all_three;  // else standard error alone
};

class ClosedDescriptors : public HostileStart, public testing::WithParamInterface<Closed> {};

// The line of a page that cannot be printed goes to /dev/null, never into the X connection
// or the saved picture that would otherwise have taken the descriptor's number.
TEST_P(ClosedDescriptors, GetDevNullAndALineOnStderrNeitherBlocksNorReachesTheXConnection) {
  ASSERT_NO_FATAL_FAILURE(LaunchThrough(GetParam().shell_line));
  const std::map<int, std::string> open = Descriptors(program_->pid());
  for (int fd = GetParam().all_three ? 0 : 2; fd <= 2; ++fd) {
    EXPECT_EQ(open.count(fd) ? open.at(fd) : "closed", "/dev/null") << "descriptor " << fd;
  }

  const std::optional<Image> coloured = ColourAndPrint();
  ASSERT_TRUE(coloured);
  EXPECT_TRUE(WaitForPanel("PRINTING.JPG", false)) << "the printing notice stayed";
  EXPECT_EQ(Differences(ReadPicture(SavedPicture()), *coloured), 0) << "the saved picture";
  ASSERT_NO_FATAL_FAILURE(LeaveWithYes());
}

INSTANTIATE_TEST_SUITE_P(Starters, ClosedDescriptors,
                         testing::Values(Closed{"StandardError", "exec 2>&- \"$0\"", false},
                                         Closed{"AllThree", "exec 0<&- 1>&- 2>&- \"$0\"", true}),
                         [](const testing::TestParamInfo<Closed>& info) {
                           return std::string(info.param.name);
                         });

// A save past the file-size limit is refused as any refused save: one line naming the file
// and the reason, the old picture whole, no temporary left, and the program goes on.
TEST_F(HostileStart, ASavePastTheFileSizeLimitIsRefusedAndTheProgramGoesOn) {
  const fs::path folder = SavedPicture().parent_path();
  fs::create_directories(folder);
  const std::string old_picture(4096, 'o');
  std::ofstream(SavedPicture(), std::ios::binary) << old_picture;
  // 100 blocks of 512 bytes: far less than the picture's bitmap.
  ASSERT_NO_FATAL_FAILURE(LaunchThrough("ulimit -f 100 && exec \"$0\""));

  desktop().Keys("ctrl+p");
  EXPECT_TRUE(WaitFor([&] { return ReadAll(Log()).find("not saved") != std::string::npos; }, 10s))
      << ReadAll(Log());
  EXPECT_TRUE(program_->Running()) << "ended by the limit";
  const std::string said = ReadAll(Log());
  const std::string line = "colouring-book: the picture was not saved: cannot write " +
                           SavedPicture().string() + ": File too large\n";
  EXPECT_NE(said.find(line), std::string::npos) << said;
  EXPECT_EQ(ReadAll(SavedPicture()), old_picture) << "the old picture was not kept whole";
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(folder)) {
    left.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(left, std::vector<std::string>{"01.GIF"}) << "a temporary was left";
  ASSERT_NO_FATAL_FAILURE(LeaveWithYes());
}

// A browser that stays after the program has ended, as xdg-open stays for as long as the
// browser it waits for: nothing that runs the program's own file stays with it, and the
// opener holds nothing of the program's but the standard descriptors.
TEST_F(HostileStart, NothingRunningTheProgramOutlivesItWhileTheOpenerStillRuns) {
  const fs::path record = browser_->folder() / "opener.pid";
  const fs::path opener = browser_->folder() / "xdg-open";
  fs::remove(opener);
  std::ofstream(opener) << "#!/bin/sh\necho $$ > \"" << record.string() << ".tmp\"\nmv \""
                        << record.string() << ".tmp\" \"" << record.string()
                        << "\"\nexec sleep 120\n";
  fs::permissions(opener, fs::perms::owner_all);
  ASSERT_NO_FATAL_FAILURE(Launch());
  std::error_code ec;
  const fs::path program =
      fs::read_symlink("/proc/" + std::to_string(program_->pid()) + "/exe", ec);
  ASSERT_FALSE(program.empty());

  ASSERT_NO_FATAL_FAILURE(LeaveWithYes());
  ASSERT_TRUE(WaitFor([&] { return fs::exists(record); }, 10s)) << "no opener was started";
  const pid_t opener_pid = std::stoi(ReadAll(record));
  struct Ender {
    pid_t pid;
    ~Ender() { ::kill(pid, SIGKILL); }
  } ender{opener_pid};
  ASSERT_TRUE(WaitFor(
      [&] { return ReadAll("/proc/" + std::to_string(opener_pid) + "/comm") == "sleep\n"; }, 10s))
      << "the opener is not running";

  EXPECT_EQ(Running(program), std::vector<pid_t>{}) << "left running " << program;
  std::set<int> numbers;
  for (const auto& [fd, what] : Descriptors(opener_pid)) numbers.insert(fd);
  EXPECT_EQ(numbers, (std::set<int>{0, 1, 2}));
}

}  // namespace
}  // namespace e2e
