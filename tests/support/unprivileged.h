#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string>

namespace test_support {

// File protections mean nothing to the superuser, so checks of them run as an ordinary user:
// the body runs in a child process that has given up its rights (as "nobody" when the test
// runs as root) and its result comes back as the child's exit status.
struct UnprivilegedRun {
  bool ran = false;  // false: no ordinary user could be taken on (`why` says why)
  int status = -1;   // the body's result; -1 when it ended by a signal
  std::string why;
};
UnprivilegedRun RunUnprivileged(const std::function<int()>& body);

// The user the body runs as, to give it files and folders of its own.
uid_t UnprivilegedUid();
gid_t UnprivilegedGid();
// Hands a file or folder (not what is in it) to that user and lets that user pass through the
// folders above it.
void GiveToUnprivileged(const std::filesystem::path& path);

}  // namespace test_support
