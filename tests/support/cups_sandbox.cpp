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

// What the sandbox runs and the tests read its pages with, each with its Debian package.
struct Need {
  const char* path;
  const char* package;
};
constexpr Need kNeeds[] = {
    {"/usr/sbin/cupsd", "cups-daemon"},
    {"/usr/sbin/lpadmin", "cups-client"},
    {"/usr/lib/cups/filter/pdftopdf", "cups-filters-core-drivers"},
    {"/usr/share/cups/mime/mime.types", "cups-daemon"},
    {"/bin/sh", "dash"},
    {"/usr/bin/pdftoppm", "poppler-utils"},
};
constexpr const char* kSystemServerBin = "/usr/lib/cups";

// The printer's backend: it keeps each job as a file in the folder its address names, and
// puts it there whole, by a rename.
constexpr const char* kBackend = R"(#!/bin/sh
[ $# -eq 0 ] && { echo 'direct keep "Unknown" "Keeps each job as a file"'; exit 0; }
folder=${DEVICE_URI#keep:}
name=$(printf 'job-%05d.pdf' "$1")
if [ $# -ge 6 ]; then cat "$6"; else cat; fi >"$folder/.part-$1" || exit 1
exec mv "$folder/.part-$1" "$folder/$name"
)";

struct Paper {
  const char* name;
  int width, length;  // in points
};
constexpr Paper kPapers[] = {{"A4", 595, 842}, {"Letter", 612, 792}};

// A printer that takes PDF: the filters only fit the document to its paper, turning a
// landscape page as PostScript printers do, and hand the backend a PDF, which is what the
// tests read.
constexpr const char* kDescriptionHead = R"ppd(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "KEEP.PPD"
*Manufacturer: "Test"
*Product: "(Keep)"
*ModelName: "Keep"
*ShortNickName: "Keep"
*NickName: "Keep"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: True
*DefaultColorSpace: RGB
*LandscapeOrientation: Plus90
*cupsVersion: 2.4
*cupsFilter2: "application/vnd.cups-pdf application/pdf 0 -"
*VariablePaperSize: True
*MaxMediaWidth: "100000"
*MaxMediaHeight: "100000"
*HWMargins: 0 0 0 0
*CustomPageSize True: "pop pop pop <</PageSize[5 -2 roll]/ImagingBBox null>>setpagedevice"
*ParamCustomPageSize Width: 1 points 36 100000
*ParamCustomPageSize Height: 2 points 36 100000
*ParamCustomPageSize WidthOffset: 3 points 0 0
*ParamCustomPageSize HeightOffset: 4 points 0 0
*ParamCustomPageSize Orientation: 5 int 0 0
)ppd";

// That printer with `default_paper` as its default; `margins` leaves the sides and ends of
// that paper unprintable.
std::string PrinterDescription(const std::string& default_paper, bool margins) {
  std::string sizes, regions, areas, dimensions;
  for (const Paper& paper : kPapers) {
    const std::string size = std::to_string(paper.width) + " " + std::to_string(paper.length);
    const std::string entry = std::string(paper.name) + "/" + paper.name + ": ";
    const std::string set = "\"<</PageSize[" + size + "]/ImagingBBox null>>setpagedevice\"\n";
    sizes += "*PageSize " + entry + set;
    regions += "*PageRegion " + entry + set;
    const bool narrowed = margins && default_paper == paper.name;
    const int side = narrowed ? CupsSandbox::kSideMargin : 0;
    const int end = narrowed ? CupsSandbox::kEndMargin : 0;
    areas += "*ImageableArea " + entry + "\"" + std::to_string(side) + " " + std::to_string(end) +
             " " + std::to_string(paper.width - side) + " " + std::to_string(paper.length - end) +
             "\"\n";
    dimensions += "*PaperDimension " + entry + "\"" + size + "\"\n";
  }
  return kDescriptionHead +
         ("*OpenUI *PageSize/Page Size: PickOne\n*DefaultPageSize: " + default_paper + "\n" +
          sizes + "*CloseUI: *PageSize\n") +
         ("*OpenUI *PageRegion: PickOne\n*DefaultPageRegion: " + default_paper + "\n" + regions +
          "*CloseUI: *PageRegion\n") +
         ("*DefaultImageableArea: " + default_paper + "\n" + areas) +
         ("*DefaultPaperDimension: " + default_paper + "\n" + dimensions);
}

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

std::string CupsSandbox::Missing() {
  std::string missing;
  for (const Need& need : kNeeds) {
    if (::access(need.path, X_OK) != 0 && ::access(need.path, R_OK) != 0) {
      missing += std::string(missing.empty() ? "" : ", ") + need.path + " (Debian package " +
                 need.package + ")";
    }
  }
  return missing.empty() ? missing : "the test print server needs " + missing;
}

void CupsSandbox::Start() {
  StartScheduler(PrinterDescription("A4", false), {"-o", "PageSize=Custom.842x595pt"});
}

void CupsSandbox::StartWithPaper(const std::string& page_size) {
  StartScheduler(PrinterDescription(page_size, true), {});
}

void CupsSandbox::StartScheduler(const std::string& description,
                                 const std::vector<std::string>& printer_options) {
  Stop();
  // Under /tmp whatever TMPDIR says: the filters, another user when the test runs as root,
  // reach it there.
  folder_.emplace("/tmp");
  root_ = folder_->path().string();
  // The filters run as another user and need to reach the spool inside.
  fs::permissions(root_, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
  for (const char* sub :
       {"config", "spool", "spool/tmp", "cache", "state", "log", "out", "bin", "bin/backend"}) {
    fs::create_directory(root_ + "/" + sub);
  }
  // The system's filters and helpers, with a backend folder of our own beside them.
  for (const char* sub : {"filter", "daemon", "cgi-bin", "driver", "monitor", "notifier"}) {
    fs::create_directory_symlink(fs::path(kSystemServerBin) / sub, root_ + "/bin/" + sub);
  }
  const std::string backend = root_ + "/bin/backend/keep";
  Write(backend, kBackend);
  // Owner only: a scheduler run by root runs such a backend as root, so that it can write
  // the output folder; one run by a user runs it as that user.
  fs::permissions(backend, fs::perms::owner_all);
  const std::string ppd = root_ + "/printer.ppd";
  Write(ppd, description);

  const int port = FreeLocalPort();
  server_ = "127.0.0.1:" + std::to_string(port);
  Write(root_ + "/config/cups-files.conf",
        "ServerRoot " + root_ + "/config\nServerBin " + root_ + "/bin\nRequestRoot " + root_ +
            "/spool\nTempDir " + root_ + "/spool/tmp\nCacheDir " + root_ + "/cache\nStateDir " +
            root_ + "/state\nAccessLog " + root_ + "/log/access_log\nErrorLog " + root_ +
            "/log/error_log\nPageLog " + root_ + "/log/page_log\nPrintcap " + root_ +
            "/printcap\nSystemGroup root\n");
  Write(root_ + "/config/cupsd.conf",
        "Listen " + server_ +
            "\nBrowsing Off\nDefaultAuthType None\nWebInterface No\nLogLevel info\n"
            "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
            "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n");

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
  std::vector<std::string> add = {"/usr/sbin/lpadmin",      "-h", server_, "-p", "PDF", "-v",
                                  "keep:" + OutputFolder(), "-E", "-P",    ppd};
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
  folder_.reset();
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
    if (files.size() >= count || std::chrono::steady_clock::now() > deadline) break;
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
