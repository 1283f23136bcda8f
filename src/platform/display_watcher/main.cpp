// Puts the screen's configuration back when the program that changed it ends without doing
// so itself. Started by the program just before it switches the display mode, with a socket
// from it as descriptor 3; X's server keeps a mode its client set after that client is gone.
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <initializer_list>
#include <vector>

#include "platform/display_watch.h"

namespace {

struct Crtc {
  RRCrtc id = 0;
  RRMode mode = 0;
  int x = 0, y = 0;
  Rotation rotation = RR_Rotate_0;
  std::vector<RROutput> outputs;
  bool operator==(const Crtc&) const = default;
};

struct Configuration {
  int width = 0, height = 0;
  std::vector<Crtc> crtcs;
  bool operator==(const Configuration&) const = default;
};

// The size from the server itself: the one the connection was opened with goes stale.
Configuration Read(Display* display, Window root) {
  Configuration c;
  Window unused_root;
  int x, y;
  unsigned width, height, border, depth;
  if (XGetGeometry(display, root, &unused_root, &x, &y, &width, &height, &border, &depth)) {
    c.width = static_cast<int>(width);
    c.height = static_cast<int>(height);
  }
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, root);
  if (resources == nullptr) return c;
  for (int i = 0; i < resources->ncrtc; ++i) {
    XRRCrtcInfo* info = XRRGetCrtcInfo(display, resources, resources->crtcs[i]);
    if (info == nullptr) continue;
    c.crtcs.push_back({resources->crtcs[i], info->mode, info->x, info->y, info->rotation,
                       std::vector<RROutput>(info->outputs, info->outputs + info->noutput)});
    XRRFreeCrtcInfo(info);
  }
  XRRFreeScreenResources(resources);
  return c;
}

// As xrandr does it, under a grab so that no client sees the screen half made: each CRTC that
// is to change goes off, the screen takes its old size, and the CRTCs their old modes.
void Restore(Display* display, Window root, const Configuration& was, int mm_width, int mm_height) {
  XGrabServer(display);
  const Configuration now = Read(display, root);
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, root);
  if (resources != nullptr) {
    for (const Crtc& crtc : now.crtcs) {
      bool same = false;
      for (const Crtc& old : was.crtcs) same = same || old == crtc;
      if (!same && crtc.mode != None) {
        XRRSetCrtcConfig(display, resources, crtc.id, CurrentTime, 0, 0, None, RR_Rotate_0, nullptr,
                         0);
      }
    }
    if (now.width != was.width || now.height != was.height) {
      XRRSetScreenSize(display, root, was.width, was.height, mm_width, mm_height);
    }
    for (const Crtc& old : was.crtcs) {
      bool same = false;
      for (const Crtc& crtc : now.crtcs) same = same || old == crtc;
      if (same) continue;
      std::vector<RROutput> outputs = old.outputs;
      XRRSetCrtcConfig(display, resources, old.id, CurrentTime, old.x, old.y, old.mode,
                       old.rotation, outputs.data(), static_cast<int>(outputs.size()));
    }
    XRRFreeScreenResources(resources);
  }
  XUngrabServer(display);
  XSync(display, False);
}

// A request the server refuses (a CRTC gone meanwhile) leaves the rest to be tried.
int IgnoreError(Display*, XErrorEvent*) { return 0; }
// With the server gone there is no display to put back.
int ServerGone(Display*) { _exit(0); }

// Records the desktop's configuration, tells the program so, and waits for its end.
int Watch(Display* display) {
  using platform::display_watch::kChannel;
  int event_base, error_base;
  if (!XRRQueryExtension(display, &event_base, &error_base)) return 1;
  const Window root = DefaultRootWindow(display);
  const Configuration desktop = Read(display, root);
  const int mm_width = DisplayWidthMM(display, DefaultScreen(display));
  const int mm_height = DisplayHeightMM(display, DefaultScreen(display));
  if (write(kChannel, &platform::display_watch::kReady, 1) != 1) return 1;

  // The program's own mode once it says it is set; till then anything but the desktop's is.
  bool program_mode_known = false;
  Configuration program;
  for (;;) {
    char message;
    const ssize_t n = read(kChannel, &message, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    if (message == platform::display_watch::kDone) return 0;
    if (message == platform::display_watch::kModeSet) {
      program = Read(display, root);
      program_mode_known = true;
    }
  }
  // The CRTCs tell the program's mode; the screen's size follows them.
  const Configuration now = Read(display, root);
  if (now != desktop && (!program_mode_known || now.crtcs == program.crtcs)) {
    Restore(display, root, desktop, mm_width, mm_height);
    if (Read(display, root) != desktop) {
      std::fprintf(stderr,
                   "colouring-book: the display %s could not be given its own mode back "
                   "(xrandr --auto gives it one)\n",
                   DisplayString(display));
    }
  }
  return 0;
}

}  // namespace

int main() {
  // Signals meant for the program's terminal or group are not the watcher's to obey.
  for (int s : {SIGHUP, SIGINT, SIGQUIT, SIGPIPE}) signal(s, SIG_IGN);
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "colouring-book: the display watcher cannot open the display %s\n",
                 XDisplayName(nullptr));
    return 1;
  }
  XSetErrorHandler(IgnoreError);
  XSetIOErrorHandler(ServerGone);
  const int status = Watch(display);
  XCloseDisplay(display);
  return status;
}
