// The event loop: waits that process events inside handlers, the clock they poll, failures
// that handlers let escape, and the unload that ends it.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <stdexcept>

#include "form_events.h"
#include "platform/controls.h"
#include "platform/failure.h"
#include "platform/form.h"
#include "platform/runtime.h"

namespace {

using namespace platform;
using platform_test::ButtonEvent;
using platform_test::Queue;
using Entries = std::vector<std::string>;

// The program's own wait: poll the clock, process events between readings, add a day when
// midnight has passed. Gives every reading.
std::vector<double> Wait(double seconds) {
  std::vector<double> readings;
  const double start = SecondsSinceMidnight();
  for (;;) {
    double now = SecondsSinceMidnight();
    readings.push_back(now);
    if (now < start) now += 86400.0;
    if (now >= start + seconds) return readings;
    DoEvents();
  }
}

void QueueClick(const Control& c) {
  const int x = static_cast<int>(c.Left()) + 1, y = static_cast<int>(c.Top()) + 1;
  Queue(ButtonEvent(true, x, y));
  Queue(ButtonEvent(false, x, y));
}

void QueueType(int type, std::uint8_t window_event = 0) {
  SDL_Event e{};
  e.type = static_cast<std::uint32_t>(type);
  e.window.event = window_event;
  Queue(e);
}

class EventLoop : public ::testing::Test {
 protected:
  EventLoop() {
    SetClockRate(40);  // a three-second wait takes 75 ms
    form.Add(a);
    form.Add(b);
    form.Add(ticker);
    ticker.Tick = [this] { ++ticks; };
    form.OnUnload = [this](std::int16_t&) { ++unloads; };
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }
  ~EventLoop() override {
    SetClockRate(1);
    SetClockOffset(0);
  }

  PictureBox a{"a", 0, 0, 10, 10, 0};
  PictureBox b{"b", 20, 0, 10, 10, 1};
  Form form{"event loop", 40, 20};
  Timer ticker{"ticker", 5};
  Entries log;
  int ticks = 0, unloads = 0;
};

TEST_F(EventLoop, HandlerThatWaitsRunsTheEventsThatArriveMeanwhileToTheirEnd) {
  a.Click = [this] {
    log.push_back("a begins");
    QueueClick(b);
    Wait(3);
    log.push_back("a ends");
  };
  b.Click = [this] {
    log.push_back("b begins");
    Wait(3);
    log.push_back("b ends");
  };
  ticker.SetEnabled(true);
  form.Show();
  platform_test::Click(1, 1);
  EXPECT_EQ(log, (Entries{"a begins", "b begins", "b ends", "a ends"}));
  EXPECT_GT(ticks, 0) << "the timer must tick during a wait";
}

TEST_F(EventLoop, WaitThatStartsBeforeMidnightEndsAfterIt) {
  SetClockOffset(0);
  SetClockOffset(86400.0 - 1.5 - SecondsSinceMidnight());
  const auto begun = std::chrono::steady_clock::now();
  const std::vector<double> readings = Wait(3);
  const double real =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
  ASSERT_GE(readings.size(), 2u);
  EXPECT_GE(readings.front(), 86398.5);
  EXPECT_GE(readings.back(), 1.5);
  EXPECT_LT(readings.back(), 2.0);
  for (double r : readings) EXPECT_TRUE(r >= 0 && r < 86400.0) << r;
  EXPECT_LT(real, 1.0) << "the wait took " << real << " s";
}

TEST_F(EventLoop, FailureThatAHandlerLetsEscapeIsDroppedAndTheLoopGoesOn) {
  a.Click = [] { throw RuntimeError("file missing"); };
  a.KeyDown = [this](std::int16_t, std::int16_t) {
    log.push_back("key");
    throw std::out_of_range("bad index");
  };
  b.Click = [this] {
    log.push_back("b");
    throw std::logic_error("broken");
  };
  form.OnLoad = [this] {
    QueueClick(a);
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_k;
    Queue(key);
    QueueClick(b);
    SDL_Event move{};
    move.type = SDL_MOUSEMOTION;
    move.motion.x = 21;
    Queue(move);
    QueueType(SDL_QUIT);
    throw RuntimeError("load failed halfway");
  };
  b.MouseMove = [this](std::int16_t, std::int16_t, float, float) {
    log.push_back("move");
    throw 7;
  };
  testing::internal::CaptureStderr();
  EXPECT_EQ(platform::Run(form), 0);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(log, (Entries{"key", "b", "move"}));
  EXPECT_EQ(unloads, 1);
  // The run-time failures are the program's own business; every other exception is a fault
  // that a parent can read about, one line each.
  EXPECT_EQ(said,
            "colouring-book: dropped std::out_of_range: bad index\n"
            "colouring-book: dropped std::logic_error: broken\n"
            "colouring-book: dropped an exception of unknown type\n");
}

TEST_F(EventLoop, EndUnwindsEveryWaitAndEndsTheLoopWithItsStatus) {
  a.Click = [this] {
    QueueClick(b);
    Wait(3);
    log.push_back("a went on");
  };
  b.Click = [] { End(3); };
  form.OnLoad = [this] { QueueClick(a); };
  EXPECT_EQ(platform::Run(form), 3);
  EXPECT_TRUE(log.empty());
}

TEST_F(EventLoop, LoopThatSleepsWakesForEveryTimerTick) {
  ticker.Tick = [this] {
    if (++ticks == 3) QueueType(SDL_QUIT);
  };
  form.OnLoad = [this] { ticker.SetEnabled(true); };
  EXPECT_EQ(platform::Run(form), 0);
  EXPECT_EQ(ticks, 3);
}

TEST_F(EventLoop, QueuedMovesWithNoButtonHeldAreHandledAsTheLastOfThem) {
  a.MouseMove = [this](std::int16_t, std::int16_t, float x, float) {
    log.push_back("move " + std::to_string(static_cast<int>(x)));
  };
  a.KeyDown = [this](std::int16_t, std::int16_t) { log.push_back("key"); };
  form.Show();
  SDL_Event move{};
  move.type = SDL_MOUSEMOTION;
  move.motion.y = 1;
  SDL_Event key{};
  key.type = SDL_KEYDOWN;
  key.key.keysym.sym = SDLK_k;
  for (int x : {1, 2}) {
    move.motion.x = x;
    Queue(move);
  }
  Queue(key);
  for (int x : {3, 4}) {
    move.motion.x = x;
    Queue(move);
  }
  DoEvents();
  EXPECT_EQ(log, (Entries{"move 2", "key", "move 4"}));
}

// Only what changed is copied to the window; what it shows must still be the whole frame.
TEST_F(EventLoop, WindowShowsTheComposedFrameAfterEveryChange) {
  const auto shows_frame = [this]() -> ::testing::AssertionResult {
    const std::vector<std::uint32_t> frame = form.Frame();
    SDL_Surface* screen = SDL_GetWindowSurface(form.hWnd());
    if (screen == nullptr) return ::testing::AssertionFailure() << "no window surface";
    int wrong = 0;
    for (int y = 0; y < 20; ++y) {
      for (int x = 0; x < 40; ++x) {
        const auto* row = static_cast<const std::uint8_t*>(screen->pixels) + y * screen->pitch;
        std::uint32_t pixel = 0;
        std::memcpy(&pixel, row + x * screen->format->BytesPerPixel, screen->format->BytesPerPixel);
        std::uint8_t r = 0, g = 0, b = 0;
        SDL_GetRGB(pixel, screen->format, &r, &g, &b);
        const std::uint32_t want = frame[static_cast<std::size_t>(y) * 40 + x];
        wrong += ((static_cast<std::uint32_t>(r) << 16 | g << 8 | b) != (want & 0xFFFFFF));
      }
    }
    if (wrong == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << wrong << " pixels differ from the frame";
  };
  form.SetPicture(platform_test::Solid(40, 20, 0xFF202020));
  form.Show();
  EXPECT_TRUE(shows_frame());
  a.SetPicture(platform_test::Solid(10, 10, 0xFFFF0000));
  DoEvents();
  EXPECT_TRUE(shows_frame());
  b.SetPicture(platform_test::Solid(10, 10, 0xFF00FF00));
  a.SetVisible(false);
  DoEvents();
  EXPECT_TRUE(shows_frame());
  a.SetVisible(true);
  b.SetLeft(28);
  b.SetTop(8);
  DoEvents();
  EXPECT_TRUE(shows_frame());
}

TEST(Unload, QuitOrWindowCloseRunsTheUnloadHandlerOnce) {
  const std::vector<std::vector<std::pair<int, std::uint8_t>>> arrivals = {
      {{SDL_QUIT, 0}},
      {{SDL_WINDOWEVENT, SDL_WINDOWEVENT_CLOSE}},
      {{SDL_QUIT, 0}, {SDL_WINDOWEVENT, SDL_WINDOWEVENT_CLOSE}},
      {{SDL_WINDOWEVENT, SDL_WINDOWEVENT_CLOSE}, {SDL_QUIT, 0}},
  };
  for (const auto& events : arrivals) {
    PictureBox box{"box", 0, 0, 10, 10, 0};
    Form form{"unload", 20, 20};
    form.Add(box);
    form.Show();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    int unloads = 0, clicks = 0;
    // The handler processes events itself, so the second request arrives during it.
    form.OnUnload = [&](std::int16_t&) {
      ++unloads;
      DoEvents();
    };
    box.Click = [&] { ++clicks; };
    for (const auto& [type, window_event] : events) QueueType(type, window_event);
    DoEvents();
    EXPECT_EQ(unloads, 1) << events.size() << " requests, first " << events.front().first;
    EXPECT_TRUE(form.Unloaded());
    EXPECT_EQ(form.hWnd(), nullptr);
    platform_test::Click(1, 1);
    EXPECT_EQ(clicks, 0) << "an unloaded window takes no input";
  }
}

}  // namespace
