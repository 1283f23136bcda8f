#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "frame/forma_main.h"
#include "platform/form.h"
#include "platform/one_copy.h"
#include "platform/paths.h"
#include "platform/process_start.h"
#include "platform/runtime.h"

namespace {

constexpr const char* kUsage =
    "Usage: colouring-book [--help | --version]\n"
    "A colouring book for children: it takes over the whole screen.\n"
    "Ctrl+P prints and saves the picture, Ctrl+R shows the about panel,\n"
    "Ctrl+X asks whether to stop (click Yes to quit).\n";

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// A video driver named outright (the tests' headless one) needs no display; otherwise
// without X or Wayland the window would only run unseen.
bool HasDisplay() { return Set("SDL_VIDEODRIVER") || Set("DISPLAY") || Set("WAYLAND_DISPLAY"); }

}  // namespace

int main(int argc, char** argv) {
  platform::PrepareProcess();
  if (argc > 1) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
      std::printf("colouring-book %s\n", COLOURING_VERSION);
      return 0;
    }
    std::fprintf(stderr, "colouring-book: unknown argument '%s'\n%s", argv[1], kUsage);
    return 2;
  }
  if (!HasDisplay()) {
    std::fputs("colouring-book: no display to show the window on (DISPLAY is not set)\n", stderr);
    return 1;
  }
  // One copy per user and display: a second start only brings the running one to the front.
  if (platform::TakeOneCopy() == platform::CopyState::kAnotherRuns) {
    std::fputs("colouring-book: already running on this display: brought it to the front\n",
               stderr);
    return 0;
  }
  // Saved pictures go to the user's own folder when the program is installed; a folder that
  // cannot be made stays missing, and printing then saves and prints nothing.
  const platform::Layout layout = platform::LayoutFor(platform::AppPath());
  platform::UseLayout(layout);
  if (!platform::MakePictureFolder(layout)) {
    std::fprintf(stderr, "colouring-book: cannot make the picture folder %s\n",
                 layout.pictures.c_str());
  }
  try {
    FormaMain forma;
    platform::ListenForSecondStarts();
    return platform::Run(forma);
  } catch (const std::exception& failure) {
    // Only the window itself can fail here, before anything is shown (no display, no video).
    std::fprintf(stderr, "colouring-book: %s\n", failure.what());
    return 1;
  }
}
