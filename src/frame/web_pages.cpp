#include "frame/web_pages.h"

#include <cstdio>

#include "platform/paths.h"
#include "platform/runtime.h"
#include "platform/shell.h"

namespace {

// A file address carries its path percent-encoded, so that a program directory with spaces
// or other special characters still names the page.
std::string file_address(const std::string& page) {
  std::string directory = platform::AppPath();
  if (!directory.empty() && directory.back() == '/') directory.pop_back();
  // Installed, the pages lie with the data rather than beside the program.
  const std::string path = platform::MapPath(directory + "/" + page);
  std::string address = "file://";
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                       (byte >= '0' && byte <= '9') || c == '/' || c == '-' || c == '.' ||
                       c == '_' || c == '~';
    if (plain) {
      address += c;
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
      address += escaped;
    }
  }
  return address;
}

}  // namespace

std::string maker_page_address() { return file_address("MAKER.HTML"); }
std::string product_page_address() { return file_address("PRODUCT.HTML"); }

void minimise_and_open(platform::HWND window, const std::string& address) {
  platform::ShowWindow(window, platform::SW_SHOWMINIMIZED);
  // The browser starts in the system drive's root, which the platform maps to "/".
  platform::ShellExecuteA(window, nullptr, address.c_str(), nullptr, "C:\\",
                          platform::SW_SHOWNORMAL);
}
