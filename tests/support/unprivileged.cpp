#include "unprivileged.h"

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace test_support {
namespace fs = std::filesystem;

namespace {

constexpr int kCouldNotDrop = 125;

}  // namespace

uid_t UnprivilegedUid() {
  if (::geteuid() != 0) return ::geteuid();
  const passwd* pw = ::getpwnam("nobody");
  return pw != nullptr ? pw->pw_uid : 65534;
}

gid_t UnprivilegedGid() {
  if (::geteuid() != 0) return ::getegid();
  const passwd* pw = ::getpwnam("nobody");
  return pw != nullptr ? pw->pw_gid : 65534;
}

void GiveToUnprivileged(const fs::path& path) {
  if (::geteuid() == 0 && ::lchown(path.c_str(), UnprivilegedUid(), UnprivilegedGid()) != 0) {
    throw std::runtime_error("cannot hand " + path.string() + " over");
  }
  for (fs::path up = path.parent_path(); !up.empty() && up != up.root_path();
       up = up.parent_path()) {
    std::error_code ec;
    fs::permissions(up, fs::perms::others_exec, fs::perm_options::add, ec);
  }
}

UnprivilegedRun RunUnprivileged(const std::function<int()>& body) {
  const uid_t uid = UnprivilegedUid();
  const gid_t gid = UnprivilegedGid();
  const pid_t child = ::fork();
  if (child < 0) return {false, -1, "cannot fork"};
  if (child == 0) {
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)) {
      ::_exit(kCouldNotDrop);
    }
    if (::geteuid() == 0 || ::setuid(0) == 0) ::_exit(kCouldNotDrop);
    int result = 1;
    try {
      result = body();
    } catch (...) {
      result = 1;
    }
    ::_exit(result);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return {false, -1, "lost the child process"};
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == kCouldNotDrop) {
    return {false, -1, "this system lets no process give up the superuser's rights"};
  }
  return {true, WIFEXITED(status) ? WEXITSTATUS(status) : -1, ""};
}

}  // namespace test_support
