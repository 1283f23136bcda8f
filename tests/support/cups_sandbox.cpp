#include "cups_sandbox.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "processes.h"

namespace test_support {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The PDF backend reads its settings from this fixed folder only, one file per printer
// named after the device address, so each sandbox writes a file of its own there.
constexpr const char* kBackendConfigFolder = "/etc/cups";
constexpr const char* kBackend = "/usr/lib/cups/backend/cups-pdf";
constexpr const char* kPrinterModel = "lsb/usr/cups-pdf/CUPS-PDF_opt.ppd";

int FreeLocalPort() {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  int port = -1;
  if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    port = ntohs(address.sin_port);
  }
  ::close(s);
  return port;
}

bool Accepts(int port) {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  const bool connected = ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(s);
  return connected;
}

pid_t Spawn(std::vector<std::string> arguments, const std::string& log) {
  std::vector<char*> argv;
  for (std::string& a : arguments) argv.push_back(a.data());
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(out, STDERR_FILENO);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  return pid;
}

void RunOrThrow(std::vector<std::string> arguments, const std::string& log) {
  const pid_t pid = Spawn(arguments, log);
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0) {
    throw std::runtime_error(arguments[0] + " failed; see " + log);
  }
}

void Write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

}  // namespace

bool CupsSandbox::Installed() {
  return fs::exists("/usr/sbin/cupsd") && fs::exists("/usr/sbin/lpadmin") && fs::exists(kBackend);
}

void CupsSandbox::Start() {
  Stop();
  char folder[] = "/tmp/cups-sandbox-XXXXXX";
  if (::mkdtemp(folder) == nullptr) throw std::runtime_error("no temporary folder");
  root_ = folder;
  // The filters run as another user and need to reach the spool inside.
  fs::permissions(root_, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
  for (const char* sub : {"config", "spool", "spool/tmp", "cache", "state", "log", "out"}) {
    fs::create_directory(root_ + "/" + sub);
  }
  const int port = FreeLocalPort();
  server_ = "127.0.0.1:" + std::to_string(port);

  Write(root_ + "/config/cups-files.conf",
        "ServerRoot " + root_ + "/config\nRequestRoot " + root_ + "/spool\nTempDir " + root_ +
            "/spool/tmp\nCacheDir " + root_ + "/cache\nStateDir " + root_ + "/state\nAccessLog " +
            root_ + "/log/access_log\nErrorLog " + root_ + "/log/error_log\nPageLog " + root_ +
            "/log/page_log\nPrintcap " + root_ + "/printcap\nSystemGroup root\n");
  Write(root_ + "/config/cupsd.conf",
        "Listen " + server_ +
            "\nBrowsing Off\nDefaultAuthType None\nWebInterface No\nLogLevel info\n"
            "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
            "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n");
  const std::string name = fs::path(root_).filename().string();
  backend_config_ = std::string(kBackendConfigFolder) + "/cups-pdf-" + name + ".conf";
  Write(backend_config_, "Out " + OutputFolder() + "\nLabel 1\n");

  const std::string log = root_ + "/log/commands";
  scheduler_ = Spawn({"/usr/sbin/cupsd", "-f", "-c", root_ + "/config/cupsd.conf", "-s",
                      root_ + "/config/cups-files.conf"},
                     log);
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (!Accepts(port)) {
    if (std::chrono::steady_clock::now() > deadline || ::waitpid(scheduler_, nullptr, WNOHANG)) {
      Stop();
      throw std::runtime_error("the print scheduler did not start");
    }
    std::this_thread::sleep_for(20ms);
  }
  RunOrThrow({"/usr/sbin/lpadmin", "-h", server_, "-p", "PDF", "-v", "cups-pdf:/" + name, "-E",
              "-m", kPrinterModel, "-o", "PageSize=Custom.842x595pt"},
             log);
  RunOrThrow({"/usr/sbin/lpadmin", "-h", server_, "-d", "PDF"}, log);

  const char* old = std::getenv("CUPS_SERVER");
  had_server_ = old != nullptr;
  old_server_ = old != nullptr ? old : "";
  ::setenv("CUPS_SERVER", server_.c_str(), 1);
}

void CupsSandbox::Stop() {
  if (scheduler_ > 0) {
    EndProcess(scheduler_, 5s);
    scheduler_ = -1;
    if (had_server_) {
      ::setenv("CUPS_SERVER", old_server_.c_str(), 1);
    } else {
      ::unsetenv("CUPS_SERVER");
    }
  }
  std::error_code ignored;
  if (!backend_config_.empty()) fs::remove(backend_config_, ignored);
  if (!root_.empty()) fs::remove_all(root_, ignored);
  backend_config_.clear();
  root_.clear();
}

std::vector<std::string> CupsSandbox::WaitForOutput(std::size_t count,
                                                    std::chrono::milliseconds timeout) const {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  std::vector<std::string> files;
  for (;;) {
    files.clear();
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(OutputFolder(), error)) {
      if (entry.path().extension() == ".pdf") files.push_back(entry.path().string());
    }
    // The backend writes the file in place: it is whole once it ends with the trailer mark.
    const bool complete = std::all_of(files.begin(), files.end(), [](const std::string& f) {
      std::ifstream in(f, std::ios::binary | std::ios::ate);
      const auto size = static_cast<std::streamoff>(in.tellg());
      if (size < 6) return false;
      std::string tail(std::min<std::streamoff>(size, 64), '\0');
      in.seekg(size - static_cast<std::streamoff>(tail.size()));
      in.read(tail.data(), static_cast<std::streamsize>(tail.size()));
      return tail.find("%%EOF") != std::string::npos;
    });
    if ((files.size() >= count && complete) || std::chrono::steady_clock::now() > deadline) break;
    std::this_thread::sleep_for(20ms);
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace test_support
