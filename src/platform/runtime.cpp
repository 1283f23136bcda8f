#include "platform/runtime.h"

#include <cxxabi.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <typeinfo>

#include "platform/failure.h"
#include "platform/paths.h"

namespace platform {
namespace {

double g_clock_offset = 0.0;  // set by SetClockOffset
double g_rate_offset = 0.0;   // keeps the reading steady across a change of rate
double g_clock_rate = 1.0;
double g_rate_since = 0.0;  // real seconds since midnight when the rate was last set

double RealSecondsSinceMidnight();
std::optional<std::string> g_app_path;

// A 24-bit linear congruential generator: small, fast and the same on every machine.
std::uint32_t g_rnd_state = 0x50000;

}  // namespace

double SecondsSinceMidnight() {
  const double real = RealSecondsSinceMidnight();
  double elapsed = real - g_rate_since;
  if (elapsed < 0) elapsed += 86400.0;
  double seconds = g_rate_since + elapsed * g_clock_rate + g_rate_offset + g_clock_offset;
  seconds = std::fmod(seconds, 86400.0);
  if (seconds < 0) seconds += 86400.0;
  return seconds;
}

void SetClockRate(double rate) {
  // The clock keeps its reading across the change of pace.
  const double now = SecondsSinceMidnight();
  g_rate_since = RealSecondsSinceMidnight();
  g_rate_offset = now - g_clock_offset - g_rate_since;
  g_clock_rate = rate;
}

namespace {
double RealSecondsSinceMidnight() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t t = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  const double fraction = duration<double>(now.time_since_epoch()).count() - static_cast<double>(t);
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction;
}
}  // namespace

void SetClockOffset(double seconds) { g_clock_offset = seconds; }

void Report(const std::string& text) { std::fprintf(stderr, "colouring-book: %s\n", text.c_str()); }

void ReportDropped(const std::exception* exception) {
  if (exception == nullptr) {
    Report("dropped an exception of unknown type");
    return;
  }
  int status = -1;
  char* name = abi::__cxa_demangle(typeid(*exception).name(), nullptr, nullptr, &status);
  Report(std::string("dropped ") + (status == 0 ? name : typeid(*exception).name()) + ": " +
         exception->what());
  std::free(name);
}

float Rnd() {
  g_rnd_state = (g_rnd_state * 1140671485u + 12820163u) & 0xFFFFFFu;
  return static_cast<float>(g_rnd_state) / 16777216.0f;
}

void Randomize() {
  const double t = SecondsSinceMidnight();
  std::uint32_t bits = static_cast<std::uint32_t>(t * 1000.0);
  g_rnd_state = ((bits & 0xFFFFu) << 8 ^ (g_rnd_state & 0xFFu) ^ (bits >> 16)) & 0xFFFFFFu;
}

std::int32_t FileLen(const std::string& path) {
  struct stat st;
  if (::stat(MapPath(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    throw RuntimeError("file not found: " + path);
  }
  if (st.st_size > INT32_MAX) throw RuntimeError("file too long: " + path);
  return static_cast<std::int32_t>(st.st_size);
}

void ChDir(const std::string& path) {
  if (::chdir(MapPath(path).c_str()) != 0) throw RuntimeError("no directory " + path);
}

std::string AppPath() {
  if (g_app_path) return *g_app_path;
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return ".";
  std::string dir = exe.parent_path().string();
  return dir.empty() ? "/" : dir;
}

void SetAppPath(std::string directory) {
  while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
  g_app_path = std::move(directory);
  UseLayout(LayoutBeside(*g_app_path));
}

std::string UCase(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

}  // namespace platform
