#include "platform/paths.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {
namespace {

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

std::string Folded(std::string_view name) {
  std::string out(name);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// A directory's entries by their case-folded names, each to the first in name order so that
// the choice is the same on every run. The data path is upper case, so most of its
// components miss under their exact names on every picture load: the listings are kept, and
// a listing is read again whenever it gives no entry, or one that is gone.
using Listing = std::unordered_map<std::string, std::string>;
std::unordered_map<std::string, Listing> g_listings;

Listing ReadListing(const std::string& dir) {
  Listing listing;
  DIR* d = ::opendir(dir.empty() ? "/" : dir.c_str());
  if (d == nullptr) return listing;
  while (const dirent* e = ::readdir(d)) {
    auto [it, added] = listing.emplace(Folded(e->d_name), e->d_name);
    if (!added && std::string_view(e->d_name) < it->second) it->second = e->d_name;
  }
  ::closedir(d);
  return listing;
}

std::string MatchIgnoringCase(const std::string& dir, const std::string& name) {
  const std::string key = Folded(name);
  auto cached = g_listings.find(dir);
  if (cached != g_listings.end()) {
    auto it = cached->second.find(key);
    if (it != cached->second.end() && Exists(dir + "/" + it->second)) return it->second;
  }
  Listing& listing = g_listings[dir] = ReadListing(dir);
  auto it = listing.find(key);
  return it == listing.end() ? name : it->second;
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
