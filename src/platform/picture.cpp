#include "platform/picture.h"

#include <SDL.h>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string_view>
#include <vector>

#include "platform/failure.h"
#include "platform/kept_by_bytes.h"
#include "platform/paths.h"
#include "platform/picture_decoders.h"

namespace platform {
namespace {

struct SurfaceDeleter {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

std::function<void(const std::string&)> g_load_observer;

// Room for every button, thumbnail and screen of the program, and a drawing or two.
KeptByBytes<Picture>& DecodedPictures() {
  static KeptByBytes<Picture> kept(
      16u << 20, [](const Picture& picture) { return picture->pixels.size() * 4; });
  return kept;
}

}  // namespace

void SetPictureLoadObserver(std::function<void(const std::string& path)> observer) {
  g_load_observer = std::move(observer);
}

Picture LoadPicture(const std::string& path) {
  if (g_load_observer) g_load_observer(path);
  // A decoder may half-read what it is given, so a directory or an empty file is turned away
  // before any decoder sees it.
  std::vector<unsigned char> bytes;
  switch (ReadMappedFile(path, bytes, kLargestPictureFile)) {
    case FileRead::kRead:
      break;
    case FileRead::kNoFile:
      throw RuntimeError("no picture file " + path);
    case FileRead::kUnreadable:
      throw RuntimeError("cannot read picture " + path);
    case FileRead::kTooLarge:
      throw RuntimeError("picture " + path + " refused: the file is too long to be one of ours");
  }
  return DecodedPictures().Get(path, std::move(bytes),
                               [&path](const auto& read) { return DecodePicture(read, path); });
}

Picture LoadPictureFromMemory(std::span<const unsigned char> bytes, std::string name) {
  if (bytes.empty()) throw RuntimeError("no picture data for " + name);
  return DecodePicture(bytes, std::move(name));
}

namespace {

// A save's temporary file is this old at most when it is renamed: one older is what a save
// cut off before its rename left behind, never one that a second copy of the program is
// still writing.
constexpr std::time_t kSecondsASaveTakes = 10;
// A save's temporary is hidden and named for what it is, so that no name a person gives a
// copy of the picture ("01.GIF.backup") is ever taken for one: a dot, the picture's own
// name, this word, and the six letters mkostemp fills in.
constexpr std::string_view kTemporaryWord = ".saving-";
constexpr std::string_view kTemporaryLetters = "XXXXXX";

bool IsTemporaryLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

struct Placed {
  std::string folder;  // "." when the path names none
  std::string name;
};

Placed PlaceOf(const std::string& real) {
  const std::size_t slash = real.rfind('/');
  if (slash == std::string::npos) return {".", real};
  return {real.substr(0, std::max<std::size_t>(slash, 1)), real.substr(slash + 1)};
}

// The start of every temporary name of `name`'s saves.
std::string TemporaryPrefix(const std::string& name) {
  return "." + name + std::string(kTemporaryWord);
}

// Removes what interrupted saves of `real` left beside it: names the save below makes, and of
// those only the user's own regular files that no save is writing any more.
void ClearInterruptedSaves(const std::string& real) {
  const Placed placed = PlaceOf(real);
  const std::string prefix = TemporaryPrefix(placed.name);
  DIR* dir = ::opendir(placed.folder.c_str());
  if (dir == nullptr) return;
  const std::time_t now = std::time(nullptr);
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.size() != prefix.size() + kTemporaryLetters.size() ||
        name.compare(0, prefix.size(), prefix) != 0 ||
        !std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                     IsTemporaryLetter)) {
      continue;
    }
    struct stat status;
    if (::fstatat(::dirfd(dir), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(status.st_mode) && status.st_uid == ::geteuid() &&
        now - status.st_mtime >= kSecondsASaveTakes) {
      ::unlinkat(::dirfd(dir), name.c_str(), 0);
    }
  }
  ::closedir(dir);
}

// Makes the folder's list of names durable; errno says why not.
bool SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  const int error = errno;
  ::close(fd);
  errno = error;
  return synced;
}

// What a save refused, with the system's reason; `error` is taken before any clean-up could
// change errno.
[[noreturn]] void CannotSave(const char* what, const std::string& real, int error) {
  std::string message = std::string(what) + " " + real;
  if (error != 0) message += std::string(": ") + std::strerror(error);
  throw RuntimeError(message);
}

}  // namespace

void SavePicture(const Picture& picture, const std::string& path) {
  if (!picture) throw RuntimeError("no picture to save");
  const std::string real = MapPath(path);
  SurfacePtr rgb(SDL_CreateRGBSurfaceWithFormat(0, picture->width, picture->height, 24,
                                                SDL_PIXELFORMAT_BGR24));
  if (!rgb) throw RuntimeError("cannot make bitmap for " + path);
  SDL_LockSurface(rgb.get());
  for (int y = 0; y < picture->height; ++y) {
    auto* row = static_cast<std::uint8_t*>(rgb->pixels) + y * rgb->pitch;
    for (int x = 0; x < picture->width; ++x) {
      const std::uint32_t p = picture->pixels[static_cast<std::size_t>(y) * picture->width + x];
      row[3 * x + 0] = static_cast<std::uint8_t>(p);        // blue
      row[3 * x + 1] = static_cast<std::uint8_t>(p >> 8);   // green
      row[3 * x + 2] = static_cast<std::uint8_t>(p >> 16);  // red
    }
  }
  SDL_UnlockSurface(rgb.get());

  // A file that is there and may not be written keeps its content: replacing it by a
  // rename would get round its protection.
  struct stat existing;
  const bool exists = ::stat(real.c_str(), &existing) == 0;
  if (exists && ::faccessat(AT_FDCWD, real.c_str(), W_OK, AT_EACCESS) != 0) {
    CannotSave("cannot write", real, errno);
  }
  ClearInterruptedSaves(real);
  // The new picture goes to a file of its own first, under a name nobody can guess and made
  // anew (never through a link someone left in the folder), then takes the old one's place.
  const Placed placed = PlaceOf(real);
  std::string temporary = (placed.folder == "/" ? "" : placed.folder) + "/" +
                          TemporaryPrefix(placed.name) + std::string(kTemporaryLetters);
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) CannotSave("cannot write", real, errno);
  ::fchmod(fd, exists ? (existing.st_mode & 0777) : 0644);
  FILE* file = ::fdopen(fd, "wb");
  SDL_RWops* out = file != nullptr ? SDL_RWFromFP(file, SDL_TRUE) : nullptr;
  if (out == nullptr) {
    const int error = errno;
    if (file != nullptr)
      std::fclose(file);
    else
      ::close(fd);
    ::unlink(temporary.c_str());
    CannotSave("cannot write", real, error);
  }
  // The bytes reach the disk before the new name does, and the name right after, so that a
  // power cut leaves the old picture or the new one, never a name for an empty file.
  errno = 0;
  bool written =
      SDL_SaveBMP_RW(rgb.get(), out, 0) == 0 && std::fflush(file) == 0 && ::fsync(fd) == 0;
  int error = errno;
  if (SDL_RWclose(out) != 0 && written) {
    written = false;
    error = errno;
  }
  if (!written) {
    ::unlink(temporary.c_str());
    CannotSave("cannot write", real, error);
  }
  if (std::rename(temporary.c_str(), real.c_str()) != 0) {
    error = errno;
    ::unlink(temporary.c_str());
    CannotSave("cannot replace", real, error);
  }
  if (!SyncFolder(placed.folder)) CannotSave("cannot write", real, errno);
}

}  // namespace platform
