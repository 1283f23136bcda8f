#pragma once

#include <cstddef>
#include <iterator>
#include <list>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace platform {

// What a file's bytes were made into (a decoded picture, a sound converted for the device),
// kept beside those bytes. Files are still read at every use, so a file changed, damaged or
// removed acts at once; only the making from bytes already seen is saved. At most one thing
// is kept per path, and the least lately used make way once the budget is spent, so memory
// stays flat however long the program runs: what is kept, bytes and all, never passes the
// budget.
// `Made` is a shared pointer, empty when the bytes could not be made into anything.
template <class Made>
class KeptByBytes {
 public:
  using SizeOf = std::size_t (*)(const Made&);

  KeptByBytes(std::size_t budget, SizeOf size_of) : budget_(budget), size_of_(size_of) {}

  // What `make` gave for exactly these bytes of this path last time, or else what it makes of
  // them now. Bytes that make nothing (`make` gives an empty pointer or raises) leave nothing
  // kept for the path, so they are made again, and fail again, the next time.
  template <class Make>
  Made Get(const std::string& path, std::vector<unsigned char> bytes, Make&& make) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (auto known = by_path_.find(path); known != by_path_.end()) {
      if (known->second->bytes == bytes) {
        recent_.splice(recent_.begin(), recent_, known->second);
        return known->second->made;
      }
      Forget(known->second);
    }
    Made made = make(bytes);
    if (!made) return made;
    // A thing beyond the whole budget is given but never kept, and keeps nothing else out.
    const std::size_t size = bytes.size() + size_of_(made);
    if (size > budget_) return made;
    while (kept_ > budget_ - size) Forget(std::prev(recent_.end()));
    recent_.push_front(Entry{path, std::move(bytes), made, size});
    by_path_[path] = recent_.begin();
    kept_ += size;
    return made;
  }

 private:
  struct Entry {
    std::string path;
    std::vector<unsigned char> bytes;
    Made made;
    std::size_t size;
  };

  void Forget(typename std::list<Entry>::iterator it) {
    kept_ -= it->size;
    by_path_.erase(it->path);
    recent_.erase(it);
  }

  const std::size_t budget_;
  const SizeOf size_of_;
  std::mutex mutex_;
  std::list<Entry> recent_;  // the most recently used first
  std::unordered_map<std::string, typename std::list<Entry>::iterator> by_path_;
  std::size_t kept_ = 0;
};

}  // namespace platform
