#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "temp_folder.h"

namespace test_support {

// A private print scheduler for a test, run by whoever runs the test: its configuration,
// spool, logs and printer backend all in a fresh temporary folder, listening on a free local
// port, with one printer that takes PDF as its default destination. The printer's sheet is
// A4 landscape, so a landscape page arrives as it was sent. Finished jobs land whole as PDF
// files in OutputFolder().
class CupsSandbox {
 public:
  CupsSandbox() = default;
  CupsSandbox(const CupsSandbox&) = delete;
  CupsSandbox& operator=(const CupsSandbox&) = delete;
  ~CupsSandbox() { Stop(); }

  // What the scheduler, and the tests that read its pages, need of the system and do not
  // find, in one line for a test to skip with; empty when all is there.
  static std::string Missing();

  // Starts the scheduler and sets CUPS_SERVER in this process (and so in the processes it
  // starts later) to point at it. Throws std::runtime_error when it cannot be set up.
  void Start();
  // The same, with the printer's default paper `page_size` ("A4", "Letter") upright, and a
  // printable area that leaves kSideMargin points at its left and right edges and
  // kEndMargin at its top and bottom, as many real printers do.
  void StartWithPaper(const std::string& page_size);
  static constexpr int kSideMargin = 18, kEndMargin = 36;
  // Stops the scheduler by its pid, removes its folder, and puts CUPS_SERVER back as it
  // was. Does nothing when not started.
  void Stop();

  const std::string& server() const { return server_; }
  std::string OutputFolder() const { return root_ + "/out"; }
  // Waits until `count` PDF files are complete in the output folder; gives their paths in
  // name order, fewer when the time runs out.
  std::vector<std::string> WaitForOutput(std::size_t count,
                                         std::chrono::milliseconds timeout) const;

 private:
  void StartScheduler(const std::string& description,
                      const std::vector<std::string>& printer_options);

  pid_t scheduler_ = -1;
  std::optional<TempFolder> folder_;
  std::string root_;  // the folder's path
  std::string server_;
  bool had_server_ = false;
  std::string old_server_;
};

// A print server that takes the connection and never answers: a listening loopback socket
// that nobody reads. Sets CUPS_SERVER to it while it lives.
class SilentPrintServer {
 public:
  SilentPrintServer();
  ~SilentPrintServer();
  SilentPrintServer(const SilentPrintServer&) = delete;
  SilentPrintServer& operator=(const SilentPrintServer&) = delete;
  const std::string& server() const { return server_; }
  // Whether a client has connected (and so waits for an answer) within the limit.
  bool WaitForConnection(std::chrono::milliseconds limit) const;

 private:
  int socket_ = -1;
  std::string server_;
};

}  // namespace test_support
