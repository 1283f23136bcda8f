#include "platform/x11_keyboard_grab.h"

#include <X11/XKBlib.h>

#include <atomic>
#include <thread>

#include "platform/threads.h"

namespace platform {
namespace {

struct OwnConnection {
  Display* display = nullptr;
  Window wake = None;  // an input-only window of ours: a message to it stops the thread
  std::atomic<Window> target{None};
  std::thread forwarder;

  ~OwnConnection() { CloseX11Keyboard(); }
};

OwnConnection g_own;

// Hands each grabbed key on to SDL's window. A sent event is not redirected by the grab, and
// SDL takes it as the server's own: its key tables, repeats and text input all apply.
void ForwardKeys(Display* display, Window wake) {
  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == ClientMessage && event.xclient.window == wake) return;
    if (event.type != KeyPress && event.type != KeyRelease) continue;
    const Window target = g_own.target.load();
    if (target == None) continue;
    event.xkey.window = target;
    event.xkey.subwindow = None;
    XSendEvent(display, target, False, event.type == KeyPress ? KeyPressMask : KeyReleaseMask,
               &event);
    XFlush(display);
  }
}

bool Open(Display* sdl_display) {
  if (g_own.display != nullptr) return true;
  // The thread reads events while the program asks for grabs on the same connection.
  XInitThreads();
  Display* display = XOpenDisplay(DisplayString(sdl_display));
  if (display == nullptr) return false;
  // A held key then repeats as presses alone, which SDL marks as repeats: a release and a
  // press handed on one by one might reach it apart and count as a new press.
  Bool detectable = False;
  XkbSetDetectableAutoRepeat(display, True, &detectable);
  XSetWindowAttributes none{};
  g_own.wake = XCreateWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, InputOnly,
                             CopyFromParent, 0, &none);
  XSync(display, False);
  try {
    g_own.forwarder = MakeThread("to hand the held keys on to the window",
                                 [display, wake = g_own.wake] { ForwardKeys(display, wake); });
  } catch (const RuntimeError&) {
    // Said already; without the thread a grab would swallow every key, so none is taken.
    XCloseDisplay(display);
    g_own.wake = None;
    return false;
  }
  g_own.display = display;
  return true;
}

}  // namespace

bool HoldX11Keyboard(Display* display, Window target, Window grab_window) {
  if (!Open(display)) return false;
  g_own.target = target;
  return XGrabKeyboard(g_own.display, grab_window, False, GrabModeAsync, GrabModeAsync,
                       CurrentTime) == GrabSuccess;
}

void ReleaseX11Keyboard() {
  if (g_own.display == nullptr) return;
  XUngrabKeyboard(g_own.display, CurrentTime);
  XFlush(g_own.display);
}

void CloseX11Keyboard() {
  if (g_own.display == nullptr) return;
  XEvent stop{};
  stop.xclient.type = ClientMessage;
  stop.xclient.window = g_own.wake;
  stop.xclient.format = 32;
  XSendEvent(g_own.display, g_own.wake, False, NoEventMask, &stop);
  XFlush(g_own.display);
  g_own.forwarder.join();
  XCloseDisplay(g_own.display);
  g_own.display = nullptr;
  g_own.wake = None;
  g_own.target = None;
}

}  // namespace platform
