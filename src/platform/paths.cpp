#include "platform/paths.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

namespace platform {
namespace {

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

// The first entry of `dir` equal to `name` but for case, in name order so that the choice
// is the same on every run.
std::string MatchIgnoringCase(const std::string& dir, const std::string& name) {
  DIR* d = ::opendir(dir.empty() ? "/" : dir.c_str());
  if (d == nullptr) return name;
  std::vector<std::string> matches;
  while (const dirent* e = ::readdir(d)) {
    if (::strcasecmp(e->d_name, name.c_str()) == 0) matches.emplace_back(e->d_name);
  }
  ::closedir(d);
  if (matches.empty()) return name;
  return *std::min_element(matches.begin(), matches.end());
}

}  // namespace

std::string MapPath(std::string_view windows_path) {
  // A drive ("C:\") names the one root this file system has.
  if (windows_path.size() >= 2 && windows_path[1] == ':' &&
      ((windows_path[0] >= 'A' && windows_path[0] <= 'Z') ||
       (windows_path[0] >= 'a' && windows_path[0] <= 'z'))) {
    windows_path.remove_prefix(2);
    if (windows_path.empty()) return "/";
    if (windows_path.front() != '\\' && windows_path.front() != '/') return MapPath(windows_path);
  }
  std::vector<std::string> parts;
  std::string part;
  for (char c : windows_path) {
    if (c == '\\' || c == '/') {
      if (!part.empty()) parts.push_back(std::move(part));
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(std::move(part));

  const bool absolute =
      !windows_path.empty() && (windows_path.front() == '/' || windows_path.front() == '\\');
  std::string result = absolute ? "" : ".";
  for (const std::string& p : parts) {
    std::string candidate = result + "/" + p;
    if (p != "." && p != ".." && !Exists(candidate)) {
      candidate = result + "/" + MatchIgnoringCase(result, p);
    }
    result = std::move(candidate);
  }
  if (result.empty()) return "/";
  if (!absolute) return result.substr(2).empty() ? "." : result.substr(2);
  return result;
}

}  // namespace platform
