#include "platform/decoded_pictures.h"

#include <list>
#include <mutex>
#include <unordered_map>
#include <utility>

namespace platform {
namespace {

// Room for every button, thumbnail and screen of the program, and a drawing or two; the
// drawings chosen least lately make way, so memory stays flat however long it runs.
constexpr std::size_t kKeptBytes = 16u << 20;

struct Decoded {
  std::string path;
  std::vector<unsigned char> bytes;
  Picture picture;
  std::size_t Size() const { return bytes.size() + picture->pixels.size() * 4; }
};

std::mutex g_mutex;
std::list<Decoded> g_recent;  // the most recently used first
std::unordered_map<std::string, std::list<Decoded>::iterator> g_by_path;
std::size_t g_kept = 0;

void Forget(std::list<Decoded>::iterator it) {
  g_kept -= it->Size();
  g_by_path.erase(it->path);
  g_recent.erase(it);
}

}  // namespace

Picture DecodeUnlessSeen(const std::string& path, std::vector<unsigned char> bytes,
                         const PictureDecoder& decode) {
  const std::lock_guard<std::mutex> lock(g_mutex);
  auto known = g_by_path.find(path);
  if (known != g_by_path.end()) {
    if (known->second->bytes == bytes) {
      g_recent.splice(g_recent.begin(), g_recent, known->second);
      return known->second->picture;
    }
    Forget(known->second);
  }
  Picture picture = decode(bytes, path);
  g_recent.push_front(Decoded{path, std::move(bytes), picture});
  g_by_path[path] = g_recent.begin();
  g_kept += g_recent.front().Size();
  while (g_kept > kKeptBytes && g_recent.size() > 1) Forget(std::prev(g_recent.end()));
  return picture;
}

}  // namespace platform
