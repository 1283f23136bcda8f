#include "cups_sandbox.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
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
  StartScheduler({"-m", kPrinterModel, "-o", "PageSize=Custom.842x595pt"});
}

void CupsSandbox::StartWithPaper(const std::string& page_size) {
  // The printer's own description, with that paper as its default and margins on it.
  const std::string ppd =
      fs::temp_directory_path() / ("cups-sandbox-" + std::to_string(::getpid()) + ".ppd");
  std::ifstream in(std::string("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"));
  std::ofstream out(ppd);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("*DefaultPageSize:", 0) == 0 || line.rfind("*DefaultPageRegion:", 0) == 0 ||
        line.rfind("*DefaultImageableArea:", 0) == 0 ||
        line.rfind("*DefaultPaperDimension:", 0) == 0) {
      line = line.substr(0, line.find(':') + 1) + " " + page_size;
    } else if (line.rfind("*ImageableArea " + page_size + "/", 0) == 0) {
      // *ImageableArea A4/A4: "0 0 595 842": the sheet's size is the last two numbers.
      const auto quote = line.find('"');
      double x0, y0, width, length;
      if (std::sscanf(line.c_str() + quote + 1, "%lf %lf %lf %lf", &x0, &y0, &width, &length) ==
          4) {
        line = line.substr(0, quote) + "\"" + std::to_string(kSideMargin) + " " +
               std::to_string(kEndMargin) + " " + std::to_string(width - kSideMargin) + " " +
               std::to_string(length - kEndMargin) + "\"";
      }
    }
    out << line << "\n";
  }
  out.close();
  StartScheduler({"-P", ppd});
  fs::remove(ppd);
}

void CupsSandbox::StartScheduler(const std::vector<std::string>& printer_options) {
  Stop();
  // Under /tmp whatever TMPDIR says: the filters, another user, reach it there.
  folder_.emplace("/tmp");
  root_ = folder_->path().string();
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
  std::vector<std::string> add = {"/usr/sbin/lpadmin", "-h", server_, "-p", "PDF", "-v",
                                  "cups-pdf:/" + name, "-E"};
  add.insert(add.end(), printer_options.begin(), printer_options.end());
  RunOrThrow(add, log);
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
  folder_.reset();
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

namespace test_support {

SilentPrintServer::SilentPrintServer() {
  socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(socket_, 16) != 0 ||
      ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    throw std::runtime_error("no loopback socket for the silent print server");
  }
  // The system completes each connection in the listening queue; nobody ever reads it.
  server_ = "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
  ::setenv("CUPS_SERVER", server_.c_str(), 1);
}

bool SilentPrintServer::WaitForConnection(std::chrono::milliseconds limit) const {
  // A connection that the system completed makes the listening socket readable.
  pollfd listening{socket_, POLLIN, 0};
  return ::poll(&listening, 1, static_cast<int>(limit.count())) == 1;
}

SilentPrintServer::~SilentPrintServer() {
  ::unsetenv("CUPS_SERVER");
  ::close(socket_);
}

}  // namespace test_support
