#include "platform/paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
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

std::vector<std::string> Components(std::string_view path) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : path) {
    if (c == '\\' || c == '/') {
      if (!part.empty()) parts.push_back(std::move(part));
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(std::move(part));
  return parts;
}

Layout g_layout;
// The program directory's components as the file system spells them, and folded, so that
// each path compares against them without splitting the directory again.
std::vector<std::string> g_program_parts, g_program_folded;

bool IsDirectory(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The base of the user's data files: $XDG_DATA_HOME when it is an absolute path, else
// ~/.local/share.
std::string UserDataHome() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg != nullptr && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  std::string base = home != nullptr && home[0] == '/' ? home : "";
  if (base.empty()) {
    if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr) {
      base = pw->pw_dir;
    }
  }
  return base.empty() ? "" : base + "/.local/share";
}

}  // namespace

Layout LayoutBeside(const std::string& program_dir) {
  return {program_dir, program_dir, (program_dir == "/" ? "" : program_dir) + "/MY_PICTURE"};
}

Layout LayoutFor(const std::string& program_dir) {
  const std::string data = program_dir + "/../../share/colouring-book";
  if (!IsDirectory(data + "/PICTURE")) return LayoutBeside(program_dir);
  char* real = ::realpath(data.c_str(), nullptr);
  Layout layout{program_dir, real != nullptr ? real : data, ""};
  std::free(real);
  const std::string home = UserDataHome();
  // With no home to keep it in, the picture folder is missing and saving fails.
  layout.pictures = home.empty() ? "/nonexistent/MY_PICTURE" : home + "/colouring-book/MY_PICTURE";
  return layout;
}

std::string ProgramFile(std::string_view name) {
  return (g_layout.program == "/" ? "" : g_layout.program) + "/" + std::string(name);
}

void UseLayout(Layout layout) {
  // Kept with plain separators, as the reported program directory may end in a backslash.
  for (std::string* path : {&layout.program, &layout.data, &layout.pictures}) {
    if (path->empty()) continue;
    std::string plain;
    for (const std::string& part : Components(*path)) plain += "/" + part;
    *path = plain.empty() ? "/" : plain;
  }
  g_layout = std::move(layout);
  g_program_parts = Components(g_layout.program);
  g_program_folded.clear();
  for (const std::string& part : g_program_parts) g_program_folded.push_back(Folded(part));
}

bool MakePictureFolder(const Layout& layout) {
  if (layout.pictures == LayoutBeside(layout.program).pictures) return true;
  std::string path;
  for (const std::string& part : Components(layout.pictures)) {
    path += "/" + part;
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return IsDirectory(layout.pictures);
}

namespace {

// With `match_case` false every component is taken as written: the path MapPath gives
// whenever that one is there, found with no look-ups.
std::string Map(std::string_view windows_path, bool match_case) {
  // A drive ("C:\") names the one root this file system has.
  if (windows_path.size() >= 2 && windows_path[1] == ':' &&
      ((windows_path[0] >= 'A' && windows_path[0] <= 'Z') ||
       (windows_path[0] >= 'a' && windows_path[0] <= 'z'))) {
    windows_path.remove_prefix(2);
    if (windows_path.empty()) return "/";
    if (windows_path.front() != '\\' && windows_path.front() != '/') {
      return Map(windows_path, match_case);
    }
  }
  std::vector<std::string> parts = Components(windows_path);
  const bool absolute =
      !windows_path.empty() && (windows_path.front() == '/' || windows_path.front() == '\\');
  std::string result = absolute ? "" : ".";
  std::size_t first = 0;

  // The program directory, in whatever case it is asked for, is the one the layout names.
  if (absolute && !g_layout.program.empty()) {
    bool inside = parts.size() >= g_program_folded.size();
    for (std::size_t i = 0; inside && i < g_program_folded.size(); ++i) {
      inside = Folded(parts[i]) == g_program_folded[i];
    }
    if (inside) {
      first = g_program_folded.size();
      result.clear();
      for (const std::string& part : g_program_parts) result += "/" + part;
      if (first < parts.size()) {
        const std::string top = Folded(parts[first]);
        if (top == "my_picture") {
          result = g_layout.pictures;
          ++first;
        } else if (top == "picture" || top == "sound" || top == "music" || top == "maker.html" ||
                   top == "product.html") {
          result = g_layout.data == "/" ? "" : g_layout.data;
        }
      }
    }
  }

  for (std::size_t i = first; i < parts.size(); ++i) {
    const std::string& p = parts[i];
    std::string candidate = result + "/" + p;
    if (match_case && p != "." && p != ".." && !Exists(candidate)) {
      candidate = result + "/" + MatchIgnoringCase(result, p);
    }
    result = std::move(candidate);
  }
  if (result.empty()) return "/";
  if (!absolute) return result.substr(2).empty() ? "." : result.substr(2);
  return result;
}

}  // namespace

std::string MapPath(std::string_view windows_path) { return Map(windows_path, true); }

bool NameTooLong(std::string_view windows_path) {
  struct stat status;
  return ::stat(MapPath(windows_path).c_str(), &status) != 0 && errno == ENAMETOOLONG;
}

int OpenMapped(std::string_view windows_path, std::string& real) {
  // A path that opens as written names what MapPath would: every component is there under
  // its exact name. Only a path that does not open pays for the search.
  constexpr int kFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK;
  real = Map(windows_path, false);
  const int fd = ::open(real.c_str(), kFlags);
  if (fd >= 0) return fd;
  real = MapPath(windows_path);
  return ::open(real.c_str(), kFlags);
}

FileRead ReadMappedFile(std::string_view windows_path, std::vector<unsigned char>& bytes,
                        std::uintmax_t largest) {
  bytes.clear();
  std::string real;
  const int fd = OpenMapped(windows_path, real);
  struct stat st;
  if (fd < 0) {
    const bool there = ::stat(real.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
    return there ? FileRead::kUnreadable : FileRead::kNoFile;
  }
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0) {
    ::close(fd);
    return FileRead::kNoFile;
  }
  if (static_cast<std::uintmax_t>(st.st_size) > largest) {
    ::close(fd);
    return FileRead::kTooLarge;
  }
  // As much as the file held when it was opened; what it grows by later is left for the
  // next read.
  bytes.resize(static_cast<std::size_t>(st.st_size));
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  bytes.resize(got);
  return got == 0 ? FileRead::kUnreadable : FileRead::kRead;
}

}  // namespace platform
